#include "upkeep/KartUpkeep.h"

#include "config/DataFolder.h"

KartUpkeep::KartUpkeep(const QString& dataFolder)
    : m_file(DataFolder::resolve(dataFolder, QStringLiteral("stav.ini"))),
      m_book(DataFolder::resolve(dataFolder, QStringLiteral("servis.txt"))) {}

QStringList KartUpkeep::load() {
    m_zeroings.clear();
    m_states = m_file.load();
    m_loaded = true;
    return m_file.problems();
}

void KartUpkeep::store() {
    if (!m_loaded)
        return;
    m_file.save(m_states);
    // Entered one by one, so that a book that fails half-way does not enter a zeroing twice.
    while (!m_zeroings.isEmpty()) {
        const KartZeroing& z = m_zeroings.first();
        m_book.append(z.when, z.kart, z.zeroedMinutes, z.totalMinutes);
        m_zeroings.removeFirst();
    }
}

void KartUpkeep::storeDriven() {
    if (m_loaded)
        m_file.saveDriven(m_states);
}

void KartUpkeep::commit(KartStateEdit& edit) {
    edit.follow(m_states);
    m_states = edit.states();
    m_zeroings += edit.zeroings();
    edit = KartStateEdit(m_states);
    store();
}
