#include "timing/LapList.h"

#include "timing/LapTime.h"

#include <vector>

LapList::LapList(QObject* parent) : QObject(parent) {}

void LapList::setSelectedIndex(int index) {
    if (index < 0 || index >= count())
        index = -1;
    if (index == m_selected)
        return;
    m_selected = index;
    emit selectionChanged(m_selected);
}

void LapList::appendAndSelect(const QString& text) {
    m_entries.append(text);
    emit entryAppended(count() - 1);
    m_selected = count() - 1;
    emit selectionChanged(m_selected);
    emit changed();
}

void LapList::deleteSelected() {
    if (m_selected < 0)
        return;
    removeAt(m_selected);
}

void LapList::clear() {
    m_entries.clear();
    m_selected = -1;
    emit entriesReset();
    emit changed();
}

void LapList::setEntries(const QStringList& entries) {
    m_entries = entries;
    m_selected = -1;
    emit entriesReset();
    emit changed();
}

void LapList::removeFirst() {
    if (!m_entries.isEmpty())
        removeAt(0);
}

void LapList::removeBelow(qint64 ms) {
    std::vector<int> doomed;
    for (int i = 0; i < count(); ++i) {
        qint64 lap = 0;
        // A line that is no lap time (loaded from a file) is not a short lap: it stays.
        if (TryParseLapTime(m_entries.at(i), &lap) && lap < ms)
            doomed.push_back(i);
    }
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it)
        removeAt(*it);
}

void LapList::removeAt(int index) {
    m_entries.removeAt(index);
    if (m_selected == index)
        m_selected = -1;
    else if (m_selected > index)
        --m_selected;
    emit entryRemoved(index);
    emit changed();
}
