#include "VirtualRace.h"

VirtualRace::VirtualRace(const QString& dataFolder) {
    auto fake = std::make_unique<FakePortBackend>(clock, 888);
    backend = fake.get();
    StationDeps deps{settings, dataFolder, std::move(fake), clock, timers, sound, view};
    deps.lightWait = [this](int ms) { scheduler.block(ms); };
    deps.raceSerial = &serial;
    deps.wallClock = [this] { return wallClock; };
    station = std::make_unique<Station>(std::move(deps));

    port = &station->port();
    port->setOpened(true);
    port->setPortBase(888);
    for (int k = 0; k < 4; ++k) {
        samplers[k] = timers.timer(QStringLiteral("Timer%1").arg(k + 1));
        deadTimers[k] = timers.timer(QStringLiteral("ProdlevaTimer%1").arg(k + 1));
        lists[k] = &station->lapList(k + 1);
    }
    display = timers.timer(QStringLiteral("ZobrazTimer"));
    hwLog0 = timers.timer(QStringLiteral("HwLOG0Timer"));
    hwLog1 = timers.timer(QStringLiteral("HWLOG1Timer"));
    extStart = timers.timer(QStringLiteral("ExtStart"));
    lights = &station->lights();
    pulse = &station->controlPulse();
    race = &station->race();
    watch = &station->externalStart();
    race->setEndRedMask(quint8(settings.Semafor.Cervena));
}

VirtualRace::~VirtualRace() = default;

void VirtualRace::startUp() {
    station->applyStartupSettings();
    station->startAfterStartup();
}

void VirtualRace::passSensor(int kart, qint64 atMs, qint64 holdMs) {
    backend->addPulse(atMs, atMs + holdMs, race->channel(kart).InputMask);
}
