#include "hardware/SerialLearnPanel.h"

#include "config/TSettings.h"
#include "hardware/SerialSensorPort.h"

namespace {

QString slotSuffix(int slot) {
    const QString kart = QString::number(slot / 2 + 1);
    return slot % 2 == 0 ? kart : kart + QLatin1Char('1');
}

} // namespace

SerialLearnPanel::SerialLearnPanel(TSettings& settings, SerialSensorPort& port, QObject* parent)
    : QObject(parent), m_settings(settings), m_port(port) {}

QString SerialLearnPanel::learnButtonName(int slot) {
    return QStringLiteral("btnNaucit") + slotSuffix(slot);
}

QString SerialLearnPanel::sequenceFieldName(int slot) {
    return QStringLiteral("EdSekvence") + slotSuffix(slot);
}

QString SerialLearnPanel::learnIdleCaption() {
    return QStringLiteral("Naučit");
}

QString SerialLearnPanel::learnActiveCaption() {
    return QStringLiteral("&Ukonči");
}

QString SerialLearnPanel::testIdleCaption() {
    return QStringLiteral("Načti data");
}

QString SerialLearnPanel::testActiveCaption() {
    return QStringLiteral("Ukonči čtení");
}

QString SerialLearnPanel::learnCaption(int slot) const {
    return m_learning.at(slot) ? learnActiveCaption() : learnIdleCaption();
}

QString SerialLearnPanel::testCaption() const {
    return m_testing ? testActiveCaption() : testIdleCaption();
}

QByteArray SerialLearnPanel::sequence(int slot) const {
    return m_settings.Com.Sekvence.at(slot);
}

void SerialLearnPanel::learnClick(int slot) {
    Q_ASSERT(slot >= 0 && slot < SlotCount);
    const bool start = !m_learning.at(slot);
    setCaptureActive(start);
    m_learnWaiting[slot] = start;
    setLearning(slot, start);
    for (int other = 0; other < SlotCount; ++other) {
        if (other != slot)
            setLearnEnabled(other, !m_captureActive);
    }
    setOkCancelEnabled(!m_captureActive);
    // Last, because it may fail: the mode stays on and a second click ends it.
    if (start && !m_port.isOpen())
        m_port.open();
}

void SerialLearnPanel::btnCtiDataClick() {
    const bool start = !m_testing;
    setCaptureActive(start);
    m_testing = start;
    emit testButtonChanged();
    setOkCancelEnabled(!m_captureActive);
    if (start) {
        if (!m_port.isOpen())
            m_port.open();
    } else {
        m_port.close();
    }
}

void SerialLearnPanel::showCaptured(const QByteArray& text) {
    m_testSekvence = text;
    emit testSekvenceChanged(m_testSekvence);
}

void SerialLearnPanel::takeLearnedBurst(const QByteArray& text) {
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (!m_learnWaiting.at(slot))
            continue;
        m_settings.Com.Sekvence[slot] = text;
        emit sequenceChanged(slot, text);
        learnClick(slot); // ends the learn as a second click does
        return;
    }
}

void SerialLearnPanel::setCaptureActive(bool active) {
    if (m_captureActive == active)
        return;
    m_captureActive = active;
    emit captureActiveChanged(active);
}

void SerialLearnPanel::setLearnEnabled(int slot, bool enabled) {
    if (m_learnEnabled.at(slot) == enabled)
        return;
    m_learnEnabled[slot] = enabled;
    emit learnButtonChanged(slot);
}

void SerialLearnPanel::setOkCancelEnabled(bool enabled) {
    if (m_okCancelEnabled == enabled)
        return;
    m_okCancelEnabled = enabled;
    emit okCancelEnabledChanged(enabled);
}

void SerialLearnPanel::setLearning(int slot, bool learning) {
    if (m_learning.at(slot) == learning)
        return;
    m_learning[slot] = learning;
    emit learnButtonChanged(slot);
}
