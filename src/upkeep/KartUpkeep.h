#pragma once

#include "upkeep/KartReminders.h"
#include "upkeep/KartStateEdit.h"
#include "upkeep/KartStateFile.h"
#include "upkeep/ServiceBook.h"

#include <QList>
#include <QStringList>

// The karts' upkeep as the station runs it: the four records of "stav.ini", the reminders gathered
// from them, and the service book that every zeroing adds to. The records live here alone: the race
// adds its driving here, and the kart state window edits a copy that "Potvrdit" commits.
class KartUpkeep {
public:
    explicit KartUpkeep(const QString& dataFolder);

    KartStates& states() { return m_states; }
    const KartStates& states() const { return m_states; }
    KartReminders& reminders() { return m_reminders; }

    // LoadKartStates: the records from the file. Returns what the operator is to be told once (a file
    // that cannot be read, a driven time that is no time or out of range).
    QStringList load();
    // OKClick's store of every key, with the zeroings committed since the last store entered in the
    // service book once they are stored; and the close's store of the driven times. Both throw
    // UserError when a file cannot be written. Before the first load both leave the file alone: a
    // program ended during its start notices has no records of its own to write over the file's.
    void store();
    void storeDriven();

    // At every STOP: the race's driving of kart 1..4 in seconds.
    void addDriven(int kart, qint64 seconds) { m_states[size_t(kart - 1)].addDriven(seconds); }

    // A working copy of the records for the window.
    KartStateEdit edit() const { return KartStateEdit(m_states); }
    // "Potvrdit": the copy, with the driving added since it was taken, becomes the records and is
    // stored. The copy starts anew from the records first, so that a store that fails and is
    // confirmed again enters no zeroing twice.
    void commit(KartStateEdit& edit);

    void CheckFuel() { m_reminders.CheckFuel(m_states); }
    void CheckServiceTasks() { m_reminders.CheckServiceTasks(m_states); }

private:
    bool m_loaded = false;
    KartStateFile m_file;
    ServiceBook m_book;
    KartStates m_states;
    KartReminders m_reminders;
    QList<KartZeroing> m_zeroings;
};
