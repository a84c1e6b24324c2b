#include "timing/MessageTimer.h"

#include <climits>

MessageTimer::MessageTimer(QObject* parent) : QObject(parent) {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { fire(); });
}

void MessageTimer::setEnabled(bool on) {
    if (on == m_enabled)
        return;
    m_enabled = on;
    restart();
}

void MessageTimer::setInterval(quint32 ms) {
    if (ms == m_interval)
        return;
    m_interval = ms;
    restart();
}

void MessageTimer::setAllowZero(bool allow) {
    if (allow == m_allowZero)
        return;
    m_allowZero = allow;
    restart();
}

void MessageTimer::restart() {
    m_timer.stop();
    if (m_enabled && (m_interval > 0 || m_allowZero))
        m_timer.start(int(qMin<quint32>(m_interval, quint32(INT_MAX))));
}
