// The serial port object on a real pseudo-terminal pair: the test plays the sensor device on one end.
#include "FakeClock.h"
#include "PtySerialFixture.h"
#include "SocatPtyPair.h"
#include "VirtualScheduler.h"
#include "VirtualTimer.h"

#include "base/UserError.h"
#include "config/TSettings.h"
#include "hardware/SerialLearnPanel.h"
#include "hardware/SerialPortRecovery.h"
#include "hardware/SerialReceiver.h"
#include "hardware/SerialSensorInput.h"
#include "hardware/TComPort.h"

#include <QFile>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int WaitMs = 30000; // generous: a busy machine is slow, never wrong

class SerialPty : public PtySerialFixture {
protected:
    void SetUp() override {
        PtySerialFixture::SetUp();
        if (!ready())
            return;
        for (int k = 0; k < 4; ++k)
            input.setHitTarget(
                k + 1, {[this, k] { return deadTime[k]; }, [this, k](qint64) { pendingHit[k] = true; }});
        input.setLearnPanel(&panel);
        QObject::connect(&input, &SerialSensorInput::received,
                         [this](const QByteArray& t) { texts.append(t); });
    }

    bool waitForTexts(int count) {
        return QTest::qWaitFor([&] { return texts.size() >= count; }, WaitMs);
    }
    // Sends a burst while the station's port is closed and reads it on end A itself: once it has
    // arrived there, its absence of effect on the station means something.
    bool sendPastTheClosedPort(const QByteArray& bytes) {
        const int fd = ::open(QFile::encodeName(pty.portA()).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        if (fd < 0)
            return false;
        termios line{};
        ::tcgetattr(fd, &line);
        ::cfmakeraw(&line);
        ::tcsetattr(fd, TCSANOW, &line);
        QByteArray arrived;
        const bool sent = pty.send(bytes);
        const bool seen = sent && QTest::qWaitFor(
                                      [&] {
                                          char buffer[64];
                                          const ssize_t n = ::read(fd, buffer, sizeof buffer);
                                          if (n > 0)
                                              arrived.append(buffer, n);
                                          return arrived.contains(bytes);
                                      },
                                      WaitMs);
        ::close(fd);
        return seen;
    }

    TSettings settings;
    // Settles a held start of a sequence on virtual time, for the tests that give it to the input.
    FakeClock clock;
    VirtualScheduler scheduler{clock};
    VirtualTimer quiet{scheduler};
    SerialSensorInput input{comPort, settings};
    SerialLearnPanel panel{settings, comPort};
    std::array<bool, 4> deadTime{};
    std::array<bool, 4> pendingHit{};
    QList<QByteArray> texts;
};

using Hits = std::array<bool, 4>;

} // namespace

TEST_F(SerialPty, ABurstArrivesAsFoldedTextAndHitsTheKartThatLearnedIt) {
    settings.Com.Sekvence[TSettings::sequenceSlot(2, 1)] = "*Ab";
    comPort.open();
    ASSERT_TRUE(pty.send(QByteArray::fromHex("0A41C1")));
    ASSERT_TRUE(waitForTexts(1));
    EXPECT_EQ(input.LastRxText(), QByteArray("*Ab"));
    EXPECT_EQ(pendingHit, (Hits{false, true, false, false}));
}

TEST_F(SerialPty, DeadTimeAndSharedSequencesDecideWhoGetsTheHit) {
    settings.Com.Sekvence[TSettings::sequenceSlot(1, 0)] = "XY";
    settings.Com.Sekvence[TSettings::sequenceSlot(3, 1)] = "XY";
    settings.Com.Sekvence[TSettings::sequenceSlot(4, 0)] = "XY";
    deadTime[3] = true;
    comPort.open();
    ASSERT_TRUE(pty.send("XY"));
    ASSERT_TRUE(waitForTexts(1));
    EXPECT_EQ(pendingHit, (Hits{true, false, true, false}));
    deadTime[3] = false;
    ASSERT_TRUE(pty.send("XY"));
    ASSERT_TRUE(waitForTexts(2));
    EXPECT_TRUE(pendingHit[3]);
}

TEST_F(SerialPty, ABurstSplitOverTwoReceiveEventsIsOneHit) {
    settings.Com.Sekvence[0] = "ABCD";
    comPort.open();
    ASSERT_TRUE(pty.send("AB"));
    ASSERT_TRUE(waitForTexts(1));
    EXPECT_FALSE(pendingHit[0]) << "half a burst is no hit yet";
    ASSERT_TRUE(pty.send("CD"));
    ASSERT_TRUE(waitForTexts(2));
    EXPECT_EQ(texts, (QList<QByteArray>{"AB", "CD"}));
    EXPECT_EQ(input.LastRxText(), QByteArray("CD")) << "LastRxText stays the latest event's bytes";
    EXPECT_EQ(pendingHit, (Hits{true, false, false, false}));
}

TEST_F(SerialPty, TwoKartsBurstsReadTogetherAreAHitOfEach) {
    settings.Com.Sekvence[TSettings::sequenceSlot(1, 0)] = "K1";
    settings.Com.Sekvence[TSettings::sequenceSlot(3, 1)] = "K3";
    comPort.open();
    ASSERT_TRUE(pty.send("K3K1"));
    ASSERT_TRUE(waitForTexts(1));
    ASSERT_EQ(input.LastRxText(), QByteArray("K3K1")) << "the two bursts came in one read";
    EXPECT_EQ(pendingHit, (Hits{true, false, true, false}));
}

TEST_F(SerialPty, AHeldSequenceThatBeginsALongerOneIsTakenWhenTheLineGoesQuiet) {
    input.setQuietTimer(&quiet);
    settings.Com.Sekvence[TSettings::sequenceSlot(1, 0)] = "AB";
    settings.Com.Sekvence[TSettings::sequenceSlot(2, 0)] = "ABC";
    comPort.open();
    ASSERT_TRUE(pty.send("AB"));
    ASSERT_TRUE(waitForTexts(1));
    EXPECT_EQ(pendingHit, (Hits{false, false, false, false})) << "kart 2's burst may follow";
    scheduler.advance(SerialSensorInput::QuietMs);
    EXPECT_EQ(pendingHit, (Hits{true, false, false, false}));
    EXPECT_TRUE(input.heldText().isEmpty());
    // A late byte starts afresh: it is no end of kart 2's burst.
    ASSERT_TRUE(pty.send("C"));
    ASSERT_TRUE(waitForTexts(2));
    EXPECT_FALSE(pendingHit[1]);
}

TEST_F(SerialPty, LearningOpensThePortWhichStaysOpenForLaterHits) {
    ASSERT_FALSE(comPort.isOpen());
    panel.btnNaucit2Click();
    ASSERT_TRUE(comPort.isOpen());
    ASSERT_TRUE(pty.send(QByteArray::fromHex("0213")));
    ASSERT_TRUE(waitForTexts(1));
    EXPECT_EQ(settings.Com.Sekvence[2], QByteArray("\"3"));
    EXPECT_FALSE(panel.CaptureActive());
    EXPECT_EQ(panel.learnCaption(2), QStringLiteral("Naučit"));
    EXPECT_FALSE(pendingHit[1]) << "a learned burst is captured, not matched";
    EXPECT_TRUE(comPort.isOpen());

    // Outside any race, the next pass of kart 2 is handed to its channel.
    ASSERT_TRUE(pty.send(QByteArray::fromHex("0213")));
    ASSERT_TRUE(waitForTexts(2));
    EXPECT_EQ(pendingHit, (Hits{false, true, false, false}));
}

TEST_F(SerialPty, TestingShowsEveryBurstAndItsEndClosesThePort) {
    settings.Com.Sekvence[0] = "K1";
    panel.btnCtiDataClick();
    ASSERT_TRUE(comPort.isOpen());
    ASSERT_TRUE(pty.send("K1"));
    ASSERT_TRUE(waitForTexts(1));
    EXPECT_EQ(panel.TestSekvence(), QByteArray("K1"));
    EXPECT_FALSE(pendingHit[0]);
    panel.btnCtiDataClick();
    EXPECT_FALSE(comPort.isOpen());
    ASSERT_TRUE(sendPastTheClosedPort("K1"));
    EXPECT_EQ(texts.size(), 1);
    EXPECT_FALSE(pendingHit[0]);
}

TEST_F(SerialPty, HandshakeLinesOnADeviceWithoutThemAreNoError) {
    settings.Com.RTS = true;
    settings.Com.DTR = true;
    QSignalSpy opened(&comPort, &TComPort::afterOpen);
    QSignalSpy closing(&comPort, &TComPort::beforeClose);
    EXPECT_NO_THROW(comPort.open());
    EXPECT_TRUE(comPort.isOpen());
    EXPECT_NO_THROW(comPort.close());
    EXPECT_FALSE(comPort.isOpen());
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(closing.count(), 1);
}

TEST_F(SerialPty, AMissingDeviceGivesTheSystemErrorNumber) {
    auto openMessage = [this](const QString& name) {
        SerialParameters p = comPort.parameters();
        p.Port = name;
        comPort.setParameters(p);
        try {
            comPort.open();
        } catch (const UserError& error) {
            return error.message();
        }
        return QStringLiteral("<opened>");
    };
    const QString expected = QStringLiteral("Unable to open com port (win error code: 2)");
    EXPECT_EQ(openMessage(pty.dir() + QStringLiteral("/ttyMissing")), expected);
    EXPECT_EQ(openMessage(QStringLiteral("ttyTarvolinMissing")), expected);
    EXPECT_FALSE(comPort.isOpen());
    EXPECT_EQ(openMessage(pty.portA()), QStringLiteral("<opened>"));
}

TEST_F(SerialPty, ParametersAppliedWhileOpenTakeEffectAtOnce) {
    // A second handle on the same terminal, taken before the port locks it, sees the line settings.
    const int fd = ::open(QFile::encodeName(pty.portA()).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    comPort.open();
    SerialParameters p = comPort.parameters();
    p.BaudRate = QStringLiteral("19200");
    p.StopBits = QStringLiteral("2");
    ASSERT_NO_THROW(comPort.setParameters(p));
    termios line{};
    ASSERT_EQ(::tcgetattr(fd, &line), 0);
    EXPECT_EQ(::cfgetispeed(&line), static_cast<speed_t>(B19200));
    EXPECT_TRUE(line.c_cflag & CSTOPB);

    p.BaudRate = QStringLiteral("Custom");
    p.CustomBaudRate = 4800;
    p.StopBits = QStringLiteral("1");
    ASSERT_NO_THROW(comPort.setParameters(p));
    ASSERT_EQ(::tcgetattr(fd, &line), 0);
    EXPECT_EQ(::cfgetispeed(&line), static_cast<speed_t>(B4800));
    EXPECT_FALSE(line.c_cflag & CSTOPB);
    ::close(fd);
}

TEST_F(SerialPty, AValueTheOpenDeviceRefusesIsReportedAndThePortStaysOpen) {
    // A pseudo-terminal always runs eight bits without parity.
    comPort.open();
    SerialParameters p = comPort.parameters();
    p.Parity = QStringLiteral("even");
    try {
        comPort.setParameters(p);
        FAIL() << "no error";
    } catch (const UserError& error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Unable to set com state (win error code: ")))
            << error.message().toStdString();
    }
    EXPECT_TRUE(comPort.isOpen());
    EXPECT_EQ(comPort.parameters().Parity, QStringLiteral("Even"));
}

TEST_F(SerialPty, ANewPortNameWhileOpenClosesAndReopens) {
    comPort.open();
    QSignalSpy opened(&comPort, &TComPort::afterOpen);
    QSignalSpy closing(&comPort, &TComPort::beforeClose);
    SerialParameters p = comPort.parameters();
    p.Port = QFile::symLinkTarget(pty.portA()); // the same device under its own name
    ASSERT_FALSE(p.Port.isEmpty());
    comPort.setParameters(p);
    EXPECT_TRUE(comPort.isOpen());
    EXPECT_EQ(closing.count(), 1);
    EXPECT_EQ(opened.count(), 1);
    settings.Com.Sekvence[0] = "Z";
    ASSERT_TRUE(pty.send("Z"));
    ASSERT_TRUE(waitForTexts(1));
    EXPECT_TRUE(pendingHit[0]);
}

TEST_F(SerialPty, ADeviceThatGoesAwayLeavesThePortClosedForTheNextOpen) {
    QSignalSpy lost(&comPort, &TComPort::deviceLost);
    comPort.open();
    pty.stop();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !comPort.isOpen(); }, WaitMs));
    EXPECT_EQ(lost.count(), 1);
    EXPECT_TRUE(comPort.lost());
    comPort.close();
    EXPECT_FALSE(comPort.lost()) << "a close asked for ends the loss";
}

namespace {

class SerialRecovery : public SerialPty {
protected:
    VirtualTimer poll{scheduler};
    bool needed = true;
    SerialPortRecovery recovery{comPort, poll, [this] { return needed; }};
    QSignalSpy lost{&recovery, &SerialPortRecovery::lost};
    QSignalSpy restored{&recovery, &SerialPortRecovery::restored};

    bool loseTheDevice() {
        const qsizetype before = lost.count();
        pty.stop();
        return QTest::qWaitFor([&] { return lost.count() == before + 1; }, WaitMs);
    }
};

} // namespace

TEST_F(SerialRecovery, TheLostPortIsOpenedAgainOnceTheDeviceIsBack) {
    comPort.open();
    ASSERT_TRUE(loseTheDevice());
    EXPECT_EQ(lost.at(0).at(0).toString(), pty.portA());
    EXPECT_TRUE(lost.at(0).at(1).toBool()) << "said to be reopened";
    scheduler.advance(3 * SerialPortRecovery::PollMs);
    EXPECT_FALSE(comPort.isOpen());
    EXPECT_TRUE(recovery.polling());

    QString why;
    ASSERT_TRUE(pty.start(&why)) << why.toStdString();
    scheduler.advance(SerialPortRecovery::PollMs);
    EXPECT_TRUE(comPort.isOpen());
    EXPECT_FALSE(recovery.polling());
    ASSERT_EQ(restored.count(), 1);
    EXPECT_EQ(restored.at(0).at(0).toString(), pty.portA());
    settings.Com.Sekvence[0] = "K1";
    ASSERT_TRUE(pty.send("K1"));
    ASSERT_TRUE(waitForTexts(1));
    EXPECT_TRUE(pendingHit[0]);
}

TEST_F(SerialRecovery, APortNobodyNeedsIsNotOpenedAgain) {
    needed = false;
    comPort.open();
    ASSERT_TRUE(loseTheDevice());
    EXPECT_FALSE(lost.at(0).at(1).toBool());
    EXPECT_FALSE(recovery.polling());
}

TEST_F(SerialRecovery, AskingForACloseOrNoLongerNeedingThePortEndsThePoll) {
    comPort.open();
    ASSERT_TRUE(loseTheDevice());
    comPort.close(); // the settings window's OK
    QString why;
    ASSERT_TRUE(pty.start(&why)) << why.toStdString();
    scheduler.advance(SerialPortRecovery::PollMs);
    EXPECT_FALSE(comPort.isOpen());
    EXPECT_FALSE(recovery.polling());
    ASSERT_EQ(lost.count(), 2);
    EXPECT_FALSE(lost.at(1).at(1).toBool()) << "no longer said to be reopened";

    comPort.open();
    ASSERT_TRUE(loseTheDevice());
    needed = false; // the race stopped
    ASSERT_TRUE(pty.start(&why)) << why.toStdString();
    scheduler.advance(SerialPortRecovery::PollMs);
    EXPECT_FALSE(comPort.isOpen());
    EXPECT_FALSE(recovery.polling());
}

// The receiver on the test's own thread, so that it reads only when the test lets events run: the
// sampler's beats that find bursts waiting unread bound their stamps, however late the read comes and
// however many bursts it takes at once.
TEST(SerialReceiverOnPty, BurstsSeenWaitingAtBeatsAreStampedNoLaterThanThoseBeats) {
    if (!SocatPtyPair::socatAvailable())
        GTEST_SKIP() << "socat is not installed";
    SocatPtyPair pty;
    QString why;
    ASSERT_TRUE(pty.start(&why)) << why.toStdString();
    FakeClock clock(1000);
    SerialReceiver receiver(clock);
    QSerialPort& port = receiver.port();
    port.setPortName(pty.portA());
    ASSERT_TRUE(port.open(QIODevice::ReadWrite));
    receiver.watch(int(port.handle()));
    QList<QPair<QByteArray, qint64>> received;
    QObject::connect(&receiver, &SerialReceiver::received, [&](const QByteArray& bytes, qint64 arrivalUs) {
        received.append({bytes, arrivalUs});
    });
    auto sendAndSee = [&](const QByteArray& burst, int waitingAfter) {
        int waiting = 0;
        return pty.send(burst) && SocatPtyPair::waitFor([&] {
                   return ::ioctl(int(port.handle()), FIONREAD, &waiting) == 0 && waiting >= waitingAfter;
               });
    };

    receiver.noticeWaiting(900'000); // nothing waits yet: no bound
    ASSERT_TRUE(sendAndSee("K1", 2));
    clock.setNowMs(2000);
    receiver.noticeWaiting(clock.nowUs());
    ASSERT_TRUE(sendAndSee("K2", 4));
    clock.advance(2);
    receiver.noticeWaiting(clock.nowUs());
    clock.advance(30); // the reading thread wakes late, and reads both at once
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 2; }, WaitMs));
    EXPECT_EQ(received.at(0), qMakePair(QByteArray("K1"), qint64(2'000'000)));
    EXPECT_EQ(received.at(1), qMakePair(QByteArray("K2"), qint64(2'002'000)));

    // Unseen by any beat, the next burst is stamped when it is read.
    ASSERT_TRUE(pty.send("K3"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 3; }, WaitMs));
    EXPECT_EQ(received.at(2), qMakePair(QByteArray("K3"), qint64(2'032'000)));
    receiver.watch(-1);
    port.close();
}
