#include "upkeep/KartReminders.h"

bool KartReminders::any() const {
    for (const QString& text : m_texts) {
        if (!text.isEmpty())
            return true;
    }
    return false;
}

void KartReminders::CheckFuel(const KartStates& states) {
    for (size_t k = 0; k < states.size(); ++k) {
        if (states[k].needsFuel())
            m_texts[k] = fuelMessage();
    }
}

void KartReminders::CheckServiceTasks(const KartStates& states) {
    for (size_t k = 0; k < states.size(); ++k)
        m_texts[k] += states[k].dueTasksText();
}

void KartReminders::acknowledge() {
    for (QString& text : m_texts)
        text.clear();
}
