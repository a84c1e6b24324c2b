#include "base/UserError.h"
#include "config/TSettings.h"
#include "hardware/PortBackend.h"
#include "hardware/SensorSourceChoice.h"
#include "hardware/SerialLearnPanel.h"
#include "hardware/SerialSensorInput.h"
#include "hardware/SerialSensorPort.h"
#include "hardware/TComPort.h"
#include "hardware/TSmallPort.h"

#include <gtest/gtest.h>

namespace {

class FakeSerialPort : public SerialSensorPort {
public:
    bool isOpen() const override { return m_open; }
    void open() override {
        ++opens;
        if (failOpen)
            throw UserError(QStringLiteral("Unable to open com port (win error code: 2)"));
        m_open = true;
    }
    void close() override {
        ++closes;
        m_open = false;
    }
    bool failOpen = false;
    int opens = 0;
    int closes = 0;

private:
    bool m_open = false;
};

// One kart's channel as far as the serial input cares: a dead time that ends at a given instant.
struct FakeChannel {
    const qint64* now = nullptr;
    qint64 deadUntil = -1;
    bool pendingHit = false;
    SerialHitTarget target() {
        return {[this] { return *now < deadUntil; }, [this](qint64) { pendingHit = true; }};
    }
};

class SerialMatching : public ::testing::Test {
protected:
    void SetUp() override {
        for (int k = 0; k < 4; ++k) {
            channels[k].now = &now;
            input.setHitTarget(k + 1, channels[k].target());
        }
    }
    std::array<bool, 4> hits() const {
        return {channels[0].pendingHit, channels[1].pendingHit, channels[2].pendingHit,
                channels[3].pendingHit};
    }
    void clearHits() {
        for (FakeChannel& c : channels)
            c.pendingHit = false;
    }

    TSettings settings;
    TComPort port;
    SerialSensorInput input{port, settings};
    std::array<FakeChannel, 4> channels;
    qint64 now = 1000;
};

using Hits = std::array<bool, 4>;

} // namespace

TEST_F(SerialMatching, EitherSequenceOfAKartIsAHitOfThatKartOnly) {
    settings.Com.Sekvence[TSettings::sequenceSlot(3, 0)] = "K3a";
    settings.Com.Sekvence[TSettings::sequenceSlot(3, 1)] = "K3b";
    settings.Com.Sekvence[TSettings::sequenceSlot(1, 0)] = "K1";
    input.matchText("K3b", now);
    EXPECT_EQ(hits(), (Hits{false, false, true, false}));
    clearHits();
    input.matchText("K3a", now);
    EXPECT_EQ(hits(), (Hits{false, false, true, false}));
}

TEST_F(SerialMatching, OnlyTheWholeTextWithTheSameCaseMatches) {
    settings.Com.Sekvence[0] = "ABC";
    input.matchText("AB", now);
    input.matchText("ABCD", now);
    input.matchText("abc", now);
    EXPECT_EQ(hits(), (Hits{false, false, false, false}));
}

TEST_F(SerialMatching, AnEmptySlotNeverMatches) {
    input.matchText(" ", now);
    input.matchText(QByteArray(), now);
    EXPECT_EQ(hits(), (Hits{false, false, false, false}));
}

TEST_F(SerialMatching, TwoKartsThatLearnedTheSameBurstBothGetAHit) {
    settings.Com.Sekvence[TSettings::sequenceSlot(1, 1)] = "same";
    settings.Com.Sekvence[TSettings::sequenceSlot(4, 0)] = "same";
    input.matchText("same", now);
    EXPECT_EQ(hits(), (Hits{true, false, false, true}));
}

TEST_F(SerialMatching, ABurstDuringTheDeadTimeIsIgnoredAndTakenRightAfterIt) {
    settings.Com.Sekvence[TSettings::sequenceSlot(2, 1)] = "two";
    channels[1].deadUntil = now + 2000;
    now += 1999;
    input.matchText("two", now);
    EXPECT_FALSE(channels[1].pendingHit);
    now += 2; // 1 ms after the end
    input.matchText("two", now);
    EXPECT_TRUE(channels[1].pendingHit);
}

TEST_F(SerialMatching, AKartWithoutAChannelIsSkipped) {
    input.setHitTarget(2, SerialHitTarget{});
    settings.Com.Sekvence[TSettings::sequenceSlot(2, 0)] = "x";
    settings.Com.Sekvence[TSettings::sequenceSlot(3, 0)] = "x";
    input.matchText("x", now);
    EXPECT_EQ(hits(), (Hits{false, false, true, false}));
}

namespace {

class SerialLearning : public ::testing::Test {
protected:
    TSettings settings;
    FakeSerialPort port;
    SerialLearnPanel panel{settings, port};
};

} // namespace

TEST_F(SerialLearning, NamesFollowTheSlotOrder) {
    EXPECT_EQ(SerialLearnPanel::learnButtonName(0), QStringLiteral("btnNaucit1"));
    EXPECT_EQ(SerialLearnPanel::learnButtonName(1), QStringLiteral("btnNaucit11"));
    EXPECT_EQ(SerialLearnPanel::learnButtonName(6), QStringLiteral("btnNaucit4"));
    EXPECT_EQ(SerialLearnPanel::sequenceFieldName(7), QStringLiteral("EdSekvence41"));
    EXPECT_EQ(SerialLearnPanel::sequenceFieldName(2), QStringLiteral("EdSekvence2"));
}

TEST_F(SerialLearning, StartingALearnOpensThePortAndLocksEverythingElse) {
    int okSignals = 0;
    QObject::connect(&panel, &SerialLearnPanel::okCancelEnabledChanged, [&](bool) { ++okSignals; });
    panel.btnNaucit21Click();
    EXPECT_TRUE(panel.CaptureActive());
    EXPECT_TRUE(panel.LearnWaiting(3));
    EXPECT_EQ(panel.learnCaption(3), QStringLiteral("&Ukonči"));
    EXPECT_EQ(panel.learnCaption(2), QStringLiteral("Naučit"));
    EXPECT_TRUE(port.isOpen());
    EXPECT_FALSE(panel.okCancelEnabled());
    EXPECT_EQ(okSignals, 1);
    for (int slot = 0; slot < 8; ++slot)
        EXPECT_EQ(panel.learnEnabled(slot), slot == 3) << slot;
}

TEST_F(SerialLearning, TheNextBurstIsStoredAndEndsTheLearnLeavingThePortOpen) {
    settings.Com.Sekvence[5] = "old";
    int storedSlot = -1;
    QObject::connect(&panel, &SerialLearnPanel::sequenceChanged,
                     [&](int slot, const QByteArray&) { storedSlot = slot; });
    panel.btnNaucit31Click();
    panel.takeLearnedBurst("new burst");
    EXPECT_EQ(settings.Com.Sekvence[5], QByteArray("new burst"));
    EXPECT_EQ(storedSlot, 5);
    EXPECT_FALSE(panel.CaptureActive());
    EXPECT_FALSE(panel.LearnWaiting(5));
    EXPECT_EQ(panel.learnCaption(5), QStringLiteral("Naučit"));
    EXPECT_TRUE(panel.okCancelEnabled());
    for (int slot = 0; slot < 8; ++slot)
        EXPECT_TRUE(panel.learnEnabled(slot));
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.closes, 0);
    // Only the first burst after the click is taken.
    panel.takeLearnedBurst("later");
    EXPECT_EQ(settings.Com.Sekvence[5], QByteArray("new burst"));
}

TEST_F(SerialLearning, EndingALearnByHandKeepsTheSlotAndThePort) {
    settings.Com.Sekvence[0] = "kept";
    panel.btnNaucit1Click();
    panel.btnNaucit1Click();
    EXPECT_EQ(settings.Com.Sekvence[0], QByteArray("kept"));
    EXPECT_FALSE(panel.CaptureActive());
    EXPECT_TRUE(panel.okCancelEnabled());
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.opens, 1);
}

TEST_F(SerialLearning, APortThatCannotOpenLeavesTheModeOnUntilTheSecondClick) {
    port.failOpen = true;
    EXPECT_THROW(panel.btnNaucit4Click(), UserError);
    EXPECT_TRUE(panel.CaptureActive());
    EXPECT_EQ(panel.learnCaption(6), QStringLiteral("&Ukonči"));
    panel.btnNaucit4Click();
    EXPECT_FALSE(panel.CaptureActive());
    EXPECT_EQ(panel.learnCaption(6), QStringLiteral("Naučit"));
    EXPECT_TRUE(panel.learnEnabled(0));
}

TEST_F(SerialLearning, TestingShowsBurstsAndItsEndClosesThePort) {
    panel.btnCtiDataClick();
    EXPECT_EQ(panel.testCaption(), QStringLiteral("Ukonči čtení"));
    EXPECT_TRUE(panel.CaptureActive());
    EXPECT_FALSE(panel.okCancelEnabled());
    EXPECT_TRUE(port.isOpen());
    panel.showCaptured("first");
    panel.showCaptured("second");
    EXPECT_EQ(panel.TestSekvence(), QByteArray("second"));
    panel.btnCtiDataClick();
    EXPECT_EQ(panel.testCaption(), QStringLiteral("Načti data"));
    EXPECT_FALSE(panel.CaptureActive());
    EXPECT_TRUE(panel.okCancelEnabled());
    EXPECT_FALSE(port.isOpen());
}

namespace {

class FakeParallelBackend : public PortBackend {
public:
    int open() override {
        ++opens;
        return 0;
    }
    void close() override { ++closes; }
    int read(quint16, quint8& value) override {
        value = 0;
        return 0;
    }
    int write(quint16, quint8) override { return 0; }
    QString name() const override { return QStringLiteral("fake"); }
    int opens = 0;
    int closes = 0;
};

} // namespace

TEST(SensorSourceChoice, ExactlyOneSourceIsChosenAndTheParallelPortFollows) {
    TSettings settings;
    auto backend = std::make_unique<FakeParallelBackend>();
    FakeParallelBackend* fake = backend.get();
    TSmallPort parallel(std::move(backend));
    parallel.setOpened(true);
    SensorSourceChoice choice(settings, parallel);
    bool shownLpt = true;
    bool shownCom = false;
    QObject::connect(&choice, &SensorSourceChoice::changed, [&](bool lpt, bool com) {
        shownLpt = lpt;
        shownCom = com;
    });

    choice.cbCOMClick(true);
    EXPECT_FALSE(settings.PoSpusteni.LPT);
    EXPECT_TRUE(settings.PoSpusteni.COM);
    EXPECT_FALSE(shownLpt);
    EXPECT_TRUE(shownCom);
    EXPECT_FALSE(parallel.Opened());
    EXPECT_EQ(fake->closes, 1);

    choice.cbLPTClick(true);
    EXPECT_TRUE(settings.PoSpusteni.LPT);
    EXPECT_FALSE(settings.PoSpusteni.COM);
    EXPECT_TRUE(parallel.Opened());
    EXPECT_EQ(fake->opens, 2);

    // Unticking one box ticks the other.
    choice.cbLPTClick(false);
    EXPECT_TRUE(settings.PoSpusteni.COM);
    EXPECT_FALSE(parallel.Opened());
    choice.cbCOMClick(false);
    EXPECT_TRUE(settings.PoSpusteni.LPT);
    EXPECT_TRUE(parallel.Opened());
}
