#include "timing/LapList.h"

#include "timing/LapTime.h"

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
    // A lap below the threshold ended at a pass that was no kart (a ghost pulse), so its time belongs
    // to the lap after it: the two are one lap. What is still short after that carries on; a short
    // last lap has no lap to go to and is dropped.
    QStringList kept;
    qint64 carried = 0;
    bool merged = false;
    for (const QString& entry : std::as_const(m_entries)) {
        qint64 lap = 0;
        // A line that is no lap time (loaded from a file) is no pass either: it stays where it is.
        if (!TryParseLapTime(entry, &lap)) {
            kept << entry;
            continue;
        }
        const qint64 whole = carried + lap;
        if (whole < ms) {
            carried = whole;
            merged = true;
            continue;
        }
        kept << (carried == 0 ? entry : FormatLapTime(whole));
        carried = 0;
    }
    if (!merged)
        return;
    setEntries(kept);
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
