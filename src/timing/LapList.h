#pragma once

#include <QObject>
#include <QStringList>

// A kart's lap list (`Kola_mezicas1` .. `Kola_mezicas4`): one text per lap, oldest first, at most one
// entry selected. The main window's list widget mirrors it through the signals, change by change.
class LapList : public QObject {
    Q_OBJECT

public:
    explicit LapList(QObject* parent = nullptr);

    int count() const { return int(m_entries.size()); }
    QString entry(int index) const { return m_entries.at(index); }
    const QStringList& entries() const { return m_entries; }

    // -1 when nothing is selected.
    int selectedIndex() const { return m_selected; }
    // From the widget when the operator selects; out of range selects nothing.
    void setSelectedIndex(int index);

    // The race's append: the new entry becomes the selected one (the widget scrolls to it and
    // repaints at once).
    void appendAndSelect(const QString& text);
    // "Smazat záznam": nothing happens when nothing is selected.
    void deleteSelected();
    void clear();
    // Replaces every entry (loading a lap file).
    void setEntries(const QStringList& entries);
    // An empty list stays empty.
    void removeFirst();
    // Removes every lap below ms and adds its time to the lap after it (the pass between them was
    // no real one); a lap that becomes long enough so stays, with the sum as its time. A short last
    // lap is dropped. Entries that are no lap times are passed over and stay.
    void removeBelow(qint64 ms);

signals:
    void entryAppended(int index);
    void entryRemoved(int index);
    // Every entry changed at once (cleared or loaded).
    void entriesReset();
    // After every change of the entries, whatever it was: for views that take the list as a whole.
    void changed();
    void selectionChanged(int index);

private:
    void removeAt(int index);

    QStringList m_entries;
    int m_selected = -1;
};
