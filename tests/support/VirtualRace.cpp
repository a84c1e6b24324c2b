#include "VirtualRace.h"

VirtualRace::VirtualRace(const QString& dataFolder) {
    auto fake = std::make_unique<FakePortBackend>(clock, 888);
    backend = fake.get();
    port = std::make_unique<TSmallPort>(std::move(fake));
    port->setOpened(true);
    port->setPortBase(888);

    RaceTimers timers;
    for (int k = 0; k < 4; ++k) {
        samplers[k] = std::make_unique<VirtualTimer>(scheduler, QStringLiteral("Timer%1").arg(k + 1));
        deadTimers[k] =
            std::make_unique<VirtualTimer>(scheduler, QStringLiteral("ProdlevaTimer%1").arg(k + 1));
        timers.samplers[k] = samplers[k].get();
        timers.deadTimers[k] = deadTimers[k].get();
        lists[k] = std::make_unique<LapList>();
    }
    display = std::make_unique<VirtualTimer>(scheduler, QStringLiteral("ZobrazTimer"));
    hwLog0 = std::make_unique<VirtualTimer>(scheduler, QStringLiteral("HwLOG0Timer"));
    hwLog1 = std::make_unique<VirtualTimer>(scheduler, QStringLiteral("HWLOG1Timer"));
    extStart = std::make_unique<VirtualTimer>(scheduler, QStringLiteral("ExtStart"));
    timers.display = display.get();
    timers.hwLog0 = hwLog0.get();
    timers.hwLog1 = hwLog1.get();
    timers.extStart = extStart.get();

    lights = std::make_unique<StartLights>(*port, view, [this](int ms) { scheduler.block(ms); });
    pulse = std::make_unique<ControlPulse>(*port, *hwLog0, *hwLog1);

    RaceDeps deps{settings,
                  *port,
                  clock,
                  timers,
                  {lists[0].get(), lists[1].get(), lists[2].get(), lists[3].get()},
                  sound,
                  *lights,
                  view,
                  &serial,
                  dataFolder,
                  [this] { return wallClock; }};
    race = std::make_unique<TRace>(std::move(deps));
    race->setDeadTimeInterval(quint32(settings.HW.Prodleva));
    race->setEndRedMask(quint8(settings.Semafor.Cervena));
    pulse->applyIntervals(settings);
    watch = std::make_unique<ExternalStartWatch>(*extStart, *port, settings,
                                                 [this] { race->StartButton1Click(); });
}

VirtualRace::~VirtualRace() = default;

void VirtualRace::startUp() {
    watch->applySetting();
    pulse->applyIntervals(settings);
    race->setDeadTimeInterval(quint32(settings.HW.Prodleva));
    race->setEndRedMask(quint8(settings.Semafor.Cervena));
    lights->writeStartupValue(settings.PoSpusteni.Base);
    pulse->startAfterStartup(settings);
}

void VirtualRace::passSensor(int kart, qint64 atMs, qint64 holdMs) {
    backend->addPulse(atMs, atMs + holdMs, race->channel(kart).InputMask);
}
