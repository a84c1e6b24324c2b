#include "upkeep/KartStateEdit.h"

namespace {

qint64 drivenSeconds(const TKartState& state) {
    return state.drivenMinutes() * 60 + state.drivenSeconds;
}

} // namespace

void KartStateEdit::zero(int kart, const QDateTime& when) {
    TKartState& state = m_states[size_t(kart - 1)];
    const qint64 zeroed = state.zero();
    m_zeroings.append({when, kart, zeroed, state.totalMinutes()});
}

void KartStateEdit::follow(const KartStates& records) {
    for (size_t k = 0; k < records.size(); ++k) {
        const qint64 driven = drivenSeconds(records[k]) - drivenSeconds(m_base[k]);
        if (driven != 0)
            m_states[k].addDriven(driven);
    }
    m_base = records;
}
