#include "timing/Station.h"

#include "base/MessageText.h"
#include "base/TimerFactory.h"
#include "base/UserError.h"
#include "config/TSettings.h"
#include "hardware/ControlPulse.h"
#include "hardware/ExternalStartWatch.h"
#include "hardware/PortBackend.h"
#include "hardware/PortBase.h"
#include "hardware/SerialPortRecovery.h"
#include "hardware/SerialSensorInput.h"
#include "hardware/TComPort.h"
#include "hardware/TSmallPort.h"
#include "timing/LapList.h"
#include "timing/RaceJournalWriter.h"
#include "timing/RaceView.h"
#include "timing/SerialRaceBinding.h"
#include "timing/TRace.h"

#include <optional>

Station::Station(StationDeps deps)
    : m_settings(deps.settings), m_view(deps.view),
      m_port(std::make_unique<TSmallPort>(std::move(deps.portBackend))),
      m_comPort(std::make_unique<TComPort>(&deps.clock)),
      m_raceSerial(deps.raceSerial ? deps.raceSerial : m_comPort.get()) {
    m_port->setObjectName(QStringLiteral("SmallPort1"));
    m_comPort->setObjectName(QStringLiteral("ComPort1"));

    TimerFactory& factory = deps.timers;
    RaceTimers timers;
    for (int k = 0; k < KartCount; ++k) {
        m_samplers[k] = factory.createTimer(QStringLiteral("Timer%1").arg(k + 1), TimerKind::Sensor);
        m_deadTimers[k] =
            factory.createTimer(QStringLiteral("ProdlevaTimer%1").arg(k + 1), TimerKind::Threaded);
        timers.samplers[k] = m_samplers[k].get();
        timers.deadTimers[k] = m_deadTimers[k].get();
        m_lapLists[k] = std::make_unique<LapList>();
    }
    m_displayTimer = factory.createTimer(QStringLiteral("ZobrazTimer"), TimerKind::Threaded);
    m_hwLog0Timer = factory.createTimer(QStringLiteral("HwLOG0Timer"), TimerKind::Threaded);
    m_hwLog1Timer = factory.createTimer(QStringLiteral("HWLOG1Timer"), TimerKind::Threaded);
    m_extStartTimer = factory.createTimer(QStringLiteral("ExtStart"), TimerKind::Sensor);
    m_serialQuietTimer = factory.createTimer(QStringLiteral("SerialQuietTimer"), TimerKind::Message);
    m_serialPollTimer = factory.createTimer(QStringLiteral("SerialPollTimer"), TimerKind::Message);
    timers.display = m_displayTimer.get();
    timers.hwLog0 = m_hwLog0Timer.get();
    timers.hwLog1 = m_hwLog1Timer.get();
    timers.extStart = m_extStartTimer.get();

    m_lights = std::make_unique<StartLights>(*m_port, deps.view, std::move(deps.lightWait));
    m_controlPulse = std::make_unique<ControlPulse>(*m_port, *m_hwLog0Timer, *m_hwLog1Timer);
    m_race = std::make_unique<TRace>(
        RaceDeps{m_settings,
                 *m_port,
                 deps.clock,
                 timers,
                 {m_lapLists[0].get(), m_lapLists[1].get(), m_lapLists[2].get(), m_lapLists[3].get()},
                 deps.sound,
                 *m_lights,
                 deps.view,
                 m_raceSerial,
                 deps.dataFolder,
                 std::move(deps.wallClock),
                 m_driverNames.get()});
    if (!deps.dataFolder.isEmpty()) {
        m_journal = std::make_unique<RaceJournalWriter>(deps.dataFolder);
        m_race->setJournal(m_journal.get());
    }
    m_serialInput = std::make_unique<SerialSensorInput>(*m_comPort, m_settings);
    m_serialInput->setQuietTimer(m_serialQuietTimer.get());
    bindSerialInputToRace(*m_serialInput, *m_race);
    // Only a race that opened ComPort1 itself wants it back; learning and testing do not.
    m_serialRecovery = std::make_unique<SerialPortRecovery>(*m_comPort, *m_serialPollTimer, [this] {
        return m_race->running() && m_settings.PoSpusteni.COM && m_raceSerial == m_comPort.get();
    });
    m_externalStart =
        std::make_unique<ExternalStartWatch>(*m_extStartTimer, *m_port, m_settings, deps.clock,
                                             [this](qint64 pressUs) { m_race->StartButton1Click(pressUs); });
    m_race->setDeadTimeInterval(quint32(m_settings.HW.Prodleva));
    m_controlPulse->applyIntervals(m_settings);
}

Station::~Station() = default;

void Station::applyStartupSettings() {
    m_externalStart->applySetting();
    m_controlPulse->applyIntervals(m_settings);
    m_race->setDeadTimeInterval(quint32(m_settings.HW.Prodleva));
    if (!m_port->Opened())
        return;
    // A stored third base that is no hexadecimal number must not stop the start: the operator could
    // then never reach the settings window to correct it. The port rests on LPT1 and the operator is
    // told once; the stored choice stays as it is, so the settings window shows what to correct.
    std::optional<QString> badBase;
    quint16 base = PortBase::Lpt1;
    try {
        base = PortBase::fromChoice(m_settings.PoSpusteni.Port, m_settings.PoSpusteni.Base1);
    } catch (const ConversionError&) {
        badBase = m_settings.PoSpusteni.Base1;
    }
    m_port->setPortBase(base);
    m_lights->writeStartupValue(m_settings.PoSpusteni.Base);
    if (badBase)
        m_view.showError(QStringLiteral("Adresa třetího LPT portu \u201e%1\u201c není šestnáctkové číslo.\n"
                                        "Stanice místo něj používá LPT1 (378). Adresu opravte v Nastavení na "
                                        "stránce \u201ePo spuštění\u201c.")
                             .arg(shortenedForMessage(*badBase)));
}

void Station::startAfterStartup() {
    m_controlPulse->startAfterStartup(m_settings);
    m_race->setEndRedMask(quint8(m_settings.Semafor.Cervena));
}

void Station::shutDown() {
    m_race->closeProgram();
    m_port->setOpened(false);
    if (m_raceSerial->isOpen())
        m_raceSerial->close();
    if (m_comPort->isOpen())
        m_comPort->close();
}
