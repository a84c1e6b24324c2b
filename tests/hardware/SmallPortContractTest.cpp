// The contract every backend gives TSmallPort: reads of a closed port give 0 with error 6, opening
// and closing twice are harmless, a backend that cannot open leaves the port closed.
#include "TrackClock.h"

#include "config/TSettings.h"
#include "hardware/DirectIoPortBackend.h"
#include "hardware/FallbackPortBackend.h"
#include "hardware/PpdevPortBackend.h"
#include "hardware/TSmallPort.h"
#include "hardware/VirtualTrack.h"
#include "hardware/VirtualTrackPortBackend.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

namespace {

struct BackendCase {
    const char* name;
    bool opensHere;
};

class SmallPortContract : public ::testing::TestWithParam<BackendCase> {
protected:
    std::unique_ptr<PortBackend> makeBackend() {
        const std::string name = GetParam().name;
        if (name == "virtual")
            return std::make_unique<VirtualTrackPortBackend>(m_track);
        if (name == "ppdev-none")
            return std::make_unique<PpdevPortBackend>(m_dir.filePath(QStringLiteral("proc")),
                                                      m_dir.filePath(QStringLiteral("dev")));
        return std::make_unique<PpdevPortBackend>(QStringLiteral("/nonexistent/parport"),
                                                  QStringLiteral("/nonexistent"));
    }

    TSettings m_settings;
    TrackClock m_clock;
    VirtualTrack m_track{m_settings, m_clock};
    QTemporaryDir m_dir;
};

} // namespace

TEST_P(SmallPortContract, AClosedPortReadsZeroWithErrorSix) {
    TSmallPort port(makeBackend());
    EXPECT_FALSE(port.Opened());
    for (const quint16 address : {quint16(0), quint16(888), quint16(889), quint16(0xDC01)}) {
        EXPECT_EQ(port.ReadPort(address), 0);
        EXPECT_FALSE(port.lastOk());
        EXPECT_EQ(port.lastError(), TSmallPort::ErrorInvalidHandle);
    }
    port.WritePort(888, 0xFF);
    EXPECT_EQ(port.lastError(), 6);
    EXPECT_EQ(port.portBase(), 0);
}

TEST_P(SmallPortContract, OpeningAndClosingTwiceIsHarmless) {
    TSmallPort port(makeBackend());
    QSignalSpy changes(&port, &TSmallPort::openedChanged);
    port.setOpened(false);
    EXPECT_FALSE(port.Opened());
    EXPECT_EQ(changes.count(), 0);

    port.setOpened(true);
    port.setOpened(true);
    EXPECT_EQ(port.Opened(), GetParam().opensHere);
    EXPECT_EQ(changes.count(), GetParam().opensHere ? 1 : 0);
    if (!GetParam().opensHere) {
        EXPECT_NE(port.lastError(), 0);
        EXPECT_EQ(port.ReadPort(889), 0);
        EXPECT_EQ(port.lastError(), 6);
    }

    port.setOpened(false);
    port.setOpened(false);
    EXPECT_FALSE(port.Opened());
    EXPECT_EQ(port.ReadPort(889), 0);
    EXPECT_EQ(port.lastError(), 6);
}

TEST_P(SmallPortContract, AnOpenPortReachesItsRegisters) {
    if (!GetParam().opensHere)
        GTEST_SKIP() << "no such port on this machine";
    TSmallPort port(makeBackend());
    port.setOpened(true);
    port.setPortBase(888);
    port.WritePort(888, 0xA5);
    EXPECT_TRUE(port.lastOk());
    EXPECT_EQ(port.ReadPort(888), 0xA5);
    EXPECT_TRUE(port.lastOk());
    port.ReadPort(889);
    EXPECT_TRUE(port.lastOk());
}

INSTANTIATE_TEST_SUITE_P(Backends, SmallPortContract,
                         ::testing::Values(BackendCase{"virtual", true}, BackendCase{"ppdev-none", false},
                                           BackendCase{"ppdev-missing", false}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST(PpdevPortBackend, ListsTheKernelsPortsWithTheirBases) {
    QTemporaryDir dir;
    const QDir root(dir.path());
    for (const auto& [name, content] :
         {std::pair{"parport0", "888\t1912\n"}, std::pair{"parport1", "56320\t-1\n"},
          std::pair{"parport2", "garbage\n"}}) {
        root.mkpath(QStringLiteral("proc/%1").arg(QLatin1String(name)));
        QFile file(root.filePath(QStringLiteral("proc/%1/base-addr").arg(QLatin1String(name))));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    const QList<PpdevDevice::Port> ports =
        PpdevDevice::listPorts(root.filePath(QStringLiteral("proc")), QStringLiteral("/dev"));
    ASSERT_EQ(ports.size(), 2);
    EXPECT_EQ(ports.at(0).devicePath, QStringLiteral("/dev/parport0"));
    EXPECT_EQ(ports.at(0).base, 888u);
    EXPECT_EQ(ports.at(1).devicePath, QStringLiteral("/dev/parport1"));
    EXPECT_EQ(ports.at(1).base, 0xDC00u);
}

TEST(PpdevPortBackend, FailsCleanlyWithoutAPortThatCanBeClaimed) {
    QTemporaryDir dir;
    const QDir root(dir.path());
    EXPECT_EQ(
        PpdevPortBackend(root.filePath(QStringLiteral("proc")), root.filePath(QStringLiteral("dev"))).open(),
        ENODEV);

    // The kernel lists a port, but its device is no ppdev device (or is missing).
    root.mkpath(QStringLiteral("proc/parport0"));
    root.mkpath(QStringLiteral("dev"));
    QFile base(root.filePath(QStringLiteral("proc/parport0/base-addr")));
    ASSERT_TRUE(base.open(QIODevice::WriteOnly));
    base.write("888\t1912\n");
    base.close();
    PpdevPortBackend missing(root.filePath(QStringLiteral("proc")), root.filePath(QStringLiteral("dev")));
    EXPECT_EQ(missing.open(), ENOENT);

    QFile device(root.filePath(QStringLiteral("dev/parport0")));
    ASSERT_TRUE(device.open(QIODevice::WriteOnly));
    device.close();
    PpdevPortBackend notPpdev(root.filePath(QStringLiteral("proc")), root.filePath(QStringLiteral("dev")));
    EXPECT_EQ(notPpdev.open(), ENOTTY);
    quint8 value = 1;
    EXPECT_EQ(notPpdev.read(889, value), ENXIO);
}

TEST(DirectIoPortBackend, OpensOnlyWhereTheKernelAllowsPortAccess) {
    DirectIoPortBackend backend;
    const int error = backend.open();
    if (error == 0)
        GTEST_SKIP() << "this process may use I/O ports; not touching real hardware";
    EXPECT_TRUE(error == EPERM || error == ENOSYS || error == EACCES || error == EINVAL) << error;
    TSmallPort port(std::make_unique<DirectIoPortBackend>());
    port.setOpened(true);
    EXPECT_FALSE(port.Opened());
    EXPECT_EQ(port.ReadPort(889), 0);
}

namespace {
// A backend that opens or fails as told and records what was asked of it.
class ScriptedBackend : public PortBackend {
public:
    ScriptedBackend(int openError, QString name, QStringList& log)
        : m_openError(openError), m_name(std::move(name)), m_log(log) {}
    int open() override {
        m_log << m_name + QStringLiteral(" open");
        return m_openError;
    }
    void close() override { m_log << m_name + QStringLiteral(" close"); }
    int read(quint16, quint8& value) override {
        value = 42;
        m_log << m_name + QStringLiteral(" read");
        return 0;
    }
    int write(quint16, quint8) override {
        m_log << m_name + QStringLiteral(" write");
        return 0;
    }
    QString name() const override { return m_name; }

private:
    int m_openError;
    QString m_name;
    QStringList& m_log;
};
} // namespace

TEST(FallbackPortBackend, UsesTheSecondBackendOnlyWhenTheFirstCannotOpen) {
    QStringList log;
    FallbackPortBackend firstWorks(std::make_unique<ScriptedBackend>(0, QStringLiteral("ppdev"), log),
                                   std::make_unique<ScriptedBackend>(0, QStringLiteral("io"), log));
    EXPECT_EQ(firstWorks.open(), 0);
    quint8 value = 0;
    firstWorks.read(889, value);
    EXPECT_EQ(log, (QStringList{QStringLiteral("ppdev open"), QStringLiteral("ppdev read")}));

    log.clear();
    FallbackPortBackend secondWorks(std::make_unique<ScriptedBackend>(ENODEV, QStringLiteral("ppdev"), log),
                                    std::make_unique<ScriptedBackend>(0, QStringLiteral("io"), log));
    EXPECT_EQ(secondWorks.open(), 0);
    EXPECT_EQ(secondWorks.name(), QStringLiteral("io"));
    secondWorks.write(888, 1);
    secondWorks.close();
    EXPECT_EQ(log, (QStringList{QStringLiteral("ppdev open"), QStringLiteral("io open"),
                                QStringLiteral("io write"), QStringLiteral("io close")}));

    log.clear();
    FallbackPortBackend noneWorks(std::make_unique<ScriptedBackend>(ENODEV, QStringLiteral("ppdev"), log),
                                  std::make_unique<ScriptedBackend>(EPERM, QStringLiteral("io"), log));
    EXPECT_EQ(noneWorks.open(), ENODEV);
    EXPECT_EQ(noneWorks.read(889, value), EBADF);
}
