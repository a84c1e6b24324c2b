#include "upkeep/TKartState.h"

#include "timing/LapTime.h"

#include <algorithm>

void TKartState::clamp() {
    initialHours = std::clamp(initialHours, 0, MaxHours);
    initialMinutes = std::clamp(initialMinutes, 0, 60);
    consumption = std::clamp(consumption, 1, 100);
    tank = std::clamp(tank, 1, 999);
    margin = std::clamp(margin, 1, 999);
    drivenSeconds = std::clamp(drivenSeconds, 0, 59);
    for (KartTask& task : tasks) {
        task.intervalHours = std::clamp(task.intervalHours, 0, MaxHours);
        task.text.truncate(MaxTaskText);
    }
}

void TKartState::carryInitialMinutes() {
    if (initialMinutes > 59) {
        initialMinutes = 0;
        initialHours = std::min(initialHours + 1, MaxHours);
    }
}

qint64 TKartState::minutesOf(const QString& text) {
    if (text.isEmpty())
        return 0;
    // Split as the engine time text is: hours before the first colon, minutes after it. Without a
    // colon the hour field is empty and the conversion rejects it.
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    const qint64 hours = StrToInt(colon < 0 ? QString() : text.left(colon));
    const qint64 minutes = StrToInt(colon < 0 ? text : text.mid(colon + 1));
    return hours * 60 + minutes;
}

qint64 TKartState::drivenMinutes() const {
    return minutesOf(driven);
}

void TKartState::addDriven(qint64 seconds) {
    constexpr qint64 most = MaxDrivenMinutes * 60 + 59;
    const qint64 now = std::clamp<qint64>(drivenMinutes() * 60 + drivenSeconds, 0, most);
    const qint64 sum = now + std::clamp<qint64>(seconds, -most, most);
    const qint64 bounded = std::clamp<qint64>(sum, 0, most);
    driven = FormatEngineTime(qint32(bounded / 60));
    drivenSeconds = int(bounded % 60);
}

qint64 TKartState::totalMinutes() const {
    return qint64(initialHours) * 60 + initialMinutes + drivenMinutes();
}

QString TKartState::totalText() const {
    return FormatEngineTime(qint32(totalMinutes()));
}

qint64 TKartState::fuelSinceZeroingTenths() const {
    return drivenMinutes() * consumption / 6;
}

qint64 TKartState::fuelTotalTenths() const {
    return totalMinutes() * consumption / 6;
}

QString TKartState::fuelText(qint64 tenths) {
    return QStringLiteral("%1,%2").arg(tenths / 10).arg(tenths % 10);
}

qint64 TKartState::zero() {
    const qint64 minutes = drivenMinutes();
    const qint64 all = qint64(initialMinutes) + minutes % 60;
    initialHours = int(std::min<qint64>(qint64(initialHours) + minutes / 60 + all / 60, MaxHours));
    initialMinutes = int(all % 60);
    driven = QStringLiteral("0:0");
    return minutes;
}

bool TKartState::needsFuel() const {
    if (!refuelWarning)
        return false;
    const qint64 q = fuelSinceZeroingTenths();
    return q > 0 && qint64(tank) * 100 - qint64(margin) * 10 <= q;
}

QString TKartState::dueTasksText() const {
    const qint64 driven = drivenMinutes();
    QString text;
    for (int k = 0; k < 4; ++k) {
        const KartTask& task = tasks[size_t(k)];
        if (!task.enabled || task.intervalHours <= 0 || driven % (qint64(task.intervalHours) * 60) > 30)
            continue;
        text += task.text;
        if (k < 3)
            text += QLatin1Char('\r');
    }
    return text;
}
