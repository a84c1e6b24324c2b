#include "hardware/PortTester.h"

#include "base/ErrorBoundary.h"
#include "base/TimerFactory.h"
#include "hardware/PortBase.h"
#include "hardware/TSmallPort.h"

PortTester::PortTester(TSmallPort& port, TimerFactory& timers, QObject* parent)
    : QObject(parent), m_port(port),
      m_repeatTimer(timers.createTimer(QStringLiteral("OpakujCteniTimer"), TimerKind::Sampler)) {
    m_repeatTimer->setInterval(InitialRepeatMs);
    m_repeatTimer->setOnTimer([this] { OpakujCteniTimerTimer(); });
}

void PortTester::OpakujCteniTimerTimer() {
    const std::exception_ptr failure = ErrorBoundary::capture([this] { readState(); });
    if (!failure)
        return;
    // Stopped before the operator is told why: a bad base text would otherwise report itself ten
    // times a second.
    setRepeat(false);
    emit repeatStopped();
    ErrorBoundary::report(failure);
}

PortTester::~PortTester() = default;

void PortTester::choosePort(int choice, const QString& hexText) {
    m_port.setPortBase(PortBase::fromChoice(choice, hexText));
}

QString PortTester::portButtonCaption(bool opened) {
    return opened ? QStringLiteral("Zavřít port") : QStringLiteral("Otevřít port");
}

QString PortTester::portButtonCaption() const {
    return portButtonCaption(m_port.Opened());
}

QString PortTester::togglePort() {
    if (m_port.Opened()) {
        m_port.setOpened(false);
    } else {
        m_port.setOpened(true);
        if (m_port.Opened())
            applyBase();
    }
    return portButtonCaption();
}

std::optional<PortTester::Reading> PortTester::readState() {
    if (!m_port.Opened())
        return std::nullopt;
    applyBase();
    Reading reading;
    reading.data = m_port.ReadPort(m_port.portBase());
    reading.status = m_port.ReadPort(quint16(m_port.portBase() + 1));
    emit stateRead(reading);
    return reading;
}

void PortTester::writeValue(int value) {
    if (!m_port.Opened())
        return;
    applyBase();
    m_port.WritePort(m_port.portBase(), quint8(value));
}

void PortTester::setRepeat(bool on) {
    m_repeatTimer->setEnabled(on);
}

bool PortTester::repeating() const {
    return m_repeatTimer->enabled();
}

void PortTester::setRepeatInterval(int ms) {
    m_repeatTimer->setInterval(quint32(qMax(0, ms)));
}

void PortTester::applyBase() {
    if (m_baseSource)
        m_port.setPortBase(m_baseSource());
}
