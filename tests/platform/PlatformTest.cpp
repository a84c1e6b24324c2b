// Process priority, the sound player's open checks, and the shutdown signals.
#include "base/UserError.h"
#include "platform/MultimediaSoundPlayer.h"
#include "platform/ProcessPriority.h"
#include "platform/ShutdownSignals.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <condition_variable>
#include <csignal>
#include <mutex>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace {

int currentNice() {
    errno = 0;
    return getpriority(PRIO_PROCESS, 0);
}

// Restores the ordinary priority whatever a test left behind.
struct PriorityGuard {
    ~PriorityGuard() { ProcessPriority::apply(0); }
};

bool waitFor(const std::function<bool()>& condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

} // namespace

TEST(ProcessPriority, UnknownCodesChangeNothing) {
    PriorityGuard guard;
    const int before = currentNice();
    EXPECT_FALSE(ProcessPriority::apply(4));
    EXPECT_FALSE(ProcessPriority::apply(-1));
    EXPECT_EQ(currentNice(), before);
}

TEST(ProcessPriority, IdleLowersEveryThread) {
    PriorityGuard guard;
    EXPECT_TRUE(ProcessPriority::apply(1));
    EXPECT_EQ(currentNice(), 19);
    // Back up to normal needs the privilege to raise priority; without it the call fails quietly.
    if (geteuid() == 0) {
        EXPECT_TRUE(ProcessPriority::apply(0));
        EXPECT_EQ(currentNice(), 0);
        EXPECT_TRUE(ProcessPriority::apply(2));
        EXPECT_LT(currentNice(), 0);
    } else {
        ProcessPriority::apply(0);
        SUCCEED();
    }
}

TEST(ProcessPriority, ThreadsKeepTheirDistanceFromTheClass) {
    if (geteuid() != 0)
        GTEST_SKIP() << "raising a thread needs the privilege";
    PriorityGuard guard;
    // A worker running above the others, as the timers' samplers do.
    std::mutex mutex;
    std::condition_variable changed;
    pid_t worker = 0;
    bool finish = false;
    std::thread thread([&] {
        setpriority(PRIO_PROCESS, 0, -10);
        std::unique_lock lock(mutex);
        worker = pid_t(syscall(SYS_gettid));
        changed.notify_all();
        changed.wait(lock, [&] { return finish; });
    });
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return worker != 0; });
    }
    const auto niceOf = [](pid_t id) { return getpriority(PRIO_PROCESS, id_t(id)); };

    EXPECT_TRUE(ProcessPriority::apply(0));
    EXPECT_EQ(niceOf(worker), -10);
    EXPECT_TRUE(ProcessPriority::apply(1));
    EXPECT_EQ(currentNice(), 19);
    EXPECT_EQ(niceOf(worker), 9);
    EXPECT_TRUE(ProcessPriority::apply(0));
    EXPECT_EQ(currentNice(), 0);
    EXPECT_EQ(niceOf(worker), -10);
    {
        std::lock_guard lock(mutex);
        finish = true;
    }
    changed.notify_all();
    thread.join();
}

TEST(SoundPlayer, MissingFileFailsAtOnceWithACzechMessage) {
    MultimediaSoundPlayer player;
    player.setFileName(QStringLiteral("/nonexistent/zvuky/konec.wav"));
    try {
        player.open();
        FAIL() << "a missing file must not open";
    } catch (const UserError& error) {
        EXPECT_EQ(error.message(),
                  QStringLiteral("Zvukový soubor \"/nonexistent/zvuky/konec.wav\" nelze otevřít."));
    }
    EXPECT_FALSE(player.isOpen());
    player.play(); // nothing open: nothing happens
}

TEST(SoundPlayer, EmptyNameAndFoldersDoNotOpen) {
    QTemporaryDir dir;
    MultimediaSoundPlayer player;
    EXPECT_THROW(player.open(), UserError);
    player.setFileName(dir.path());
    EXPECT_THROW(player.open(), UserError);
}

TEST(SoundPlayer, UnreadableFileDoesNotOpen) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("zamceny.wav"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    file.setPermissions(QFileDevice::WriteOwner);
    MultimediaSoundPlayer player;
    player.setFileName(path);
    EXPECT_THROW(player.open(), UserError);
}

TEST(SoundPlayer, DefaultSoundOpensAndCloses) {
    MultimediaSoundPlayer player;
    player.setFileName(QStringLiteral(TARVOLIN_SOURCE_DIR "/data/zvuky/success.wav"));
    ASSERT_NO_THROW(player.open());
    EXPECT_TRUE(player.isOpen());
    EXPECT_EQ(player.fileName(), QStringLiteral(TARVOLIN_SOURCE_DIR "/data/zvuky/success.wav"));
    player.close();
    EXPECT_FALSE(player.isOpen());
}

TEST(ShutdownSignals, TermAndIntArriveOnTheEventLoop) {
    ShutdownSignals watcher;
    ASSERT_TRUE(watcher.isActive());
    QList<int> received;
    QObject::connect(&watcher, &ShutdownSignals::shutdownRequested, [&](int number) { received << number; });
    ::raise(SIGTERM);
    // Nothing runs inside the C handler: the signal waits for the event loop.
    EXPECT_TRUE(received.isEmpty());
    ASSERT_TRUE(waitFor([&] { return received.size() == 1; }));
    ::raise(SIGINT);
    ASSERT_TRUE(waitFor([&] { return received.size() == 2; }));
    EXPECT_EQ(received, QList<int>({SIGTERM, SIGINT}));
}

TEST(ShutdownSignals, OnlyOneOwnerAtATime) {
    ShutdownSignals first;
    ShutdownSignals second;
    EXPECT_TRUE(first.isActive());
    EXPECT_FALSE(second.isActive());
}
