#include "upkeep/KartStateFile.h"

#include "base/UserError.h"
#include "config/FileMessages.h"
#include "config/IniFile.h"
#include "timing/LapTime.h"

#include <QDir>

namespace {

QString section(int kart) {
    return QStringLiteral("Motokara%1").arg(kart);
}

QString key(const char* name, int k) {
    return QString::fromLatin1(name) + QString::number(k);
}

// What is wrong with a driven time as the file holds it; an empty text when it can be taken.
QString drivenProblem(int kart, const QString& text) {
    bool isTime = !text.isEmpty();
    qint64 minutes = 0;
    try {
        minutes = TKartState::minutesOf(text);
    } catch (const UserError&) {
        isTime = false;
    }
    if (!isTime)
        return QStringLiteral("Motokára %1: najeté motohodiny \u201e%2\u201c nejsou čas (hodiny:minuty); "
                              "počítají se jako 0:0.")
            .arg(kart)
            .arg(shortenedForMessage(text));
    // A counter that wrapped or was typed wrong is no engine time to build on.
    if (minutes < 0 || minutes > TKartState::MaxDrivenMinutes)
        return QStringLiteral("Motokára %1: najeté motohodiny \u201e%2\u201c jsou mimo rozsah 0:0 až %3 "
                              "hodin a nelze je přijmout; počítají se jako 0:0.")
            .arg(kart)
            .arg(shortenedForMessage(text), FormatEngineTime(qint32(TKartState::MaxDrivenMinutes)));
    return QString();
}

} // namespace

KartStates KartStateFile::load() {
    m_problems.clear();
    KartStates states;
    IniFile ini;
    QString refusal;
    if (!ini.load(m_path, &refusal)) {
        m_blocked = true;
        m_problems << (refusal.isEmpty() ? QString() : refusal + QLatin1Char('\n')) +
                          QStringLiteral("Soubor stavu motokár \"%1\" nelze přečíst. Stanice ho nepřepíše; "
                                         "motohodiny najeté od teď si pamatuje a zapíše je, až bude soubor "
                                         "opět čitelný.")
                              .arg(QDir::toNativeSeparators(m_path));
        return states;
    }
    m_blocked = false;
    for (int kart = 1; kart <= 4; ++kart) {
        TKartState& s = states[size_t(kart - 1)];
        const QString name = section(kart);
        s.initialHours = ini.readInt(name, QStringLiteral("PocatecniStavHod"), 0);
        s.initialMinutes = ini.readInt(name, QStringLiteral("PocatecniStavMin"), 0);
        s.driven = ini.readString(name, QStringLiteral("Najeto"), QStringLiteral("0:0"));
        s.drivenSeconds = ini.readInt(name, QStringLiteral("Sekundy"), 0);
        for (int k = 1; k <= 4; ++k) {
            KartTask& task = s.tasks[size_t(k - 1)];
            task.enabled = ini.readBool(name, key("Ukol", k), false);
            task.intervalHours = ini.readInt(name, key("UkolHodin", k), 0);
            task.text = ini.readString(name, key("Text", k), QString());
        }
        s.refuelWarning = ini.readBool(name, QStringLiteral("Doplneni"), false);
        s.consumption = ini.readInt(name, QStringLiteral("PrumernaSpotreba"), 1);
        s.tank = ini.readInt(name, QStringLiteral("ObsahNadrze"), 1);
        s.margin = ini.readInt(name, QStringLiteral("DoplneniPredem"), 1);
        s.clamp();
        const QString problem = drivenProblem(kart, s.driven);
        if (!problem.isEmpty()) {
            m_problems << problem;
            s.driven = QStringLiteral("0:0");
            s.drivenSeconds = 0;
        }
    }
    return states;
}

void KartStateFile::save(KartStates& states) {
    if (!m_blocked || resumeBlocked(states))
        write(states, false);
}

void KartStateFile::saveDriven(KartStates& states) {
    if (!m_blocked || resumeBlocked(states))
        write(states, true);
}

bool KartStateFile::resumeBlocked(KartStates& states) {
    IniFile probe;
    if (!probe.load(m_path))
        return false;
    // Since the failed load, the driven times in memory are what this run drove.
    KartStates driven = states;
    states = load();
    for (size_t k = 0; k < states.size(); ++k)
        states[k].addDriven(driven[k].drivenMinutes() * 60 + driven[k].drivenSeconds);
    write(states, true);
    return false;
}

void KartStateFile::write(const KartStates& states, bool drivenOnly) {
    IniFile ini;
    QString refusal;
    if (!ini.load(m_path, &refusal))
        throw UserError(refusal.isEmpty()
                            ? cannotOpenFileMessage(m_path, QStringLiteral("Soubor nelze přečíst."))
                            : refusal);
    for (int kart = 1; kart <= 4; ++kart) {
        const TKartState& s = states[size_t(kart - 1)];
        const QString name = section(kart);
        if (drivenOnly) {
            ini.writeString(name, QStringLiteral("Najeto"), s.driven);
            ini.writeInt(name, QStringLiteral("Sekundy"), s.drivenSeconds);
            continue;
        }
        ini.writeInt(name, QStringLiteral("PocatecniStavHod"), s.initialHours);
        ini.writeInt(name, QStringLiteral("PocatecniStavMin"), s.initialMinutes);
        for (int k = 1; k <= 4; ++k)
            ini.writeBool(name, key("Ukol", k), s.tasks[size_t(k - 1)].enabled);
        ini.writeBool(name, QStringLiteral("Doplneni"), s.refuelWarning);
        for (int k = 1; k <= 4; ++k)
            ini.writeInt(name, key("UkolHodin", k), s.tasks[size_t(k - 1)].intervalHours);
        ini.writeInt(name, QStringLiteral("PrumernaSpotreba"), s.consumption);
        ini.writeInt(name, QStringLiteral("ObsahNadrze"), s.tank);
        ini.writeInt(name, QStringLiteral("DoplneniPredem"), s.margin);
        ini.writeString(name, QStringLiteral("Najeto"), s.driven);
        for (int k = 1; k <= 4; ++k)
            ini.writeString(name, key("Text", k), s.tasks[size_t(k - 1)].text);
        ini.writeInt(name, QStringLiteral("Sekundy"), s.drivenSeconds);
    }
    QString reason;
    if (!ini.save(m_path, &reason))
        throw UserError(QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(m_path)) +
                        (reason.isEmpty() ? QString() : QStringLiteral("\n") + reason));
}
