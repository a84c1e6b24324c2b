#include "base/MessageTimer.h"

#include <climits>

MessageTimer::MessageTimer(QObject* parent) : QObject(parent) {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { fire(); });
}

void MessageTimer::restart() {
    m_timer.stop();
    if (runs())
        m_timer.start(int(qMin<quint32>(interval(), quint32(INT_MAX))));
}
