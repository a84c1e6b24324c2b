#include "hardware/SensorSourceChoice.h"

#include "config/TSettings.h"
#include "hardware/TSmallPort.h"

SensorSourceChoice::SensorSourceChoice(TSettings& settings, TSmallPort& parallelPort, QObject* parent)
    : QObject(parent), m_settings(settings), m_parallelPort(parallelPort) {}

void SensorSourceChoice::cbLPTClick(bool checked) {
    apply(checked);
}

void SensorSourceChoice::cbCOMClick(bool checked) {
    apply(!checked);
}

void SensorSourceChoice::apply(bool lpt) {
    m_settings.PoSpusteni.LPT = lpt;
    m_settings.PoSpusteni.COM = !lpt;
    emit changed(m_settings.PoSpusteni.LPT, m_settings.PoSpusteni.COM);
    m_parallelPort.setOpened(m_settings.PoSpusteni.LPT);
}
