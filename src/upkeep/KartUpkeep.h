#pragma once

#include "upkeep/KartReminders.h"
#include "upkeep/KartStateFile.h"
#include "upkeep/ServiceBook.h"

#include <QDateTime>
#include <QList>
#include <QStringList>

// The karts' upkeep as the station runs it: the four records of "stav.ini", the reminders gathered
// from them, and the service book that every zeroing adds to. The kart state window shows and edits
// the records; everything else goes through here.
class KartUpkeep {
public:
    explicit KartUpkeep(const QString& dataFolder);

    KartStates& states() { return m_states; }
    const KartStates& states() const { return m_states; }
    KartReminders& reminders() { return m_reminders; }

    // LoadKartStates: the records from the file. Returns what the operator is to be told once (a file
    // that cannot be read, a driven time that is no time).
    QStringList load();
    // OKClick's store of every key, with the zeroings since the last load or store entered in the
    // service book once they are stored; and the close's store of the driven times. Both throw
    // UserError when a file cannot be written. Before the first load both leave the file alone: a
    // program ended during its start notices has no records of its own to write over the file's.
    void store();
    void storeDriven();

    // The zeroing of kart 1..4's counter, in the records; a load forgets it, a store keeps it.
    void zero(int kart, const QDateTime& when);

    void CheckFuel() { m_reminders.CheckFuel(m_states); }
    void CheckServiceTasks() { m_reminders.CheckServiceTasks(m_states); }

private:
    bool m_loaded = false;
    struct Zeroing {
        QDateTime when;
        int kart;
        qint64 zeroedMinutes;
        qint64 totalMinutes;
    };

    KartStateFile m_file;
    ServiceBook m_book;
    KartStates m_states;
    KartReminders m_reminders;
    QList<Zeroing> m_zeroings;
};
