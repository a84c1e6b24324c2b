// Process priority, the sound player's open checks, and the shutdown signals.
#include "ChildProcess.h"

#include "base/UserError.h"
#include "platform/MultimediaSoundPlayer.h"
#include "platform/ProcessPriority.h"
#include "platform/ShutdownSignals.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <condition_variable>
#include <csignal>
#include <mutex>
#include <optional>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace {

int currentNice() {
    errno = 0;
    return getpriority(PRIO_PROCESS, 0);
}

int niceOf(pid_t thread) {
    return getpriority(PRIO_PROCESS, id_t(thread));
}

// A second thread that waits until it is told to end; its nice value shows whether a class reached it.
class WaitingThread {
public:
    // niceValue: the thread's own setting before it reports its id (none when null).
    explicit WaitingThread(std::optional<int> niceValue = std::nullopt) {
        m_thread = std::thread([this, niceValue] {
            if (niceValue)
                setpriority(PRIO_PROCESS, 0, *niceValue);
            std::unique_lock lock(m_mutex);
            m_id = pid_t(syscall(SYS_gettid));
            m_changed.notify_all();
            m_changed.wait(lock, [&] { return m_finish; });
        });
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_id != 0; });
    }
    ~WaitingThread() {
        {
            std::lock_guard lock(m_mutex);
            m_finish = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }
    pid_t id() const { return m_id; }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    pid_t m_id = 0;
    bool m_finish = false;
    std::thread m_thread;
};

} // namespace

// These change the whole process's priority, which an ordinary user cannot raise again: each runs in a
// child process of its own, so that the test program keeps its nice value for the tests that follow.

TEST(ProcessPriority, UnknownCodesChangeNothing) {
    RUN_IN_CHILD_PROCESS();
    const int before = currentNice();
    EXPECT_FALSE(ProcessPriority::apply(4));
    EXPECT_FALSE(ProcessPriority::apply(-1));
    EXPECT_EQ(currentNice(), before);
}

TEST(ProcessPriority, IdleLowersEveryThread) {
    RUN_IN_CHILD_PROCESS();
    WaitingThread other;
    EXPECT_TRUE(ProcessPriority::apply(1));
    EXPECT_EQ(currentNice(), 19);
    EXPECT_EQ(niceOf(other.id()), 19);
    // Back up to normal needs the privilege to raise priority; without it the call fails quietly.
    if (geteuid() == 0) {
        EXPECT_TRUE(ProcessPriority::apply(0));
        EXPECT_EQ(currentNice(), 0);
        EXPECT_EQ(niceOf(other.id()), 0);
        EXPECT_TRUE(ProcessPriority::apply(2));
        EXPECT_LT(currentNice(), 0);
    } else if (!ProcessPriority::apply(0)) {
        EXPECT_EQ(currentNice(), 19);
    }
}

TEST(ProcessPriority, ThreadsKeepTheirDistanceFromTheClass) {
    if (geteuid() != 0)
        GTEST_SKIP() << "raising a thread needs the privilege";
    RUN_IN_CHILD_PROCESS();
    // A worker running above the others, as the timers' samplers do.
    WaitingThread worker(-10);

    EXPECT_TRUE(ProcessPriority::apply(0));
    EXPECT_EQ(niceOf(worker.id()), -10);
    EXPECT_TRUE(ProcessPriority::apply(1));
    EXPECT_EQ(currentNice(), 19);
    EXPECT_EQ(niceOf(worker.id()), 9);
    EXPECT_TRUE(ProcessPriority::apply(0));
    EXPECT_EQ(currentNice(), 0);
    EXPECT_EQ(niceOf(worker.id()), -10);
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 1; }, 20000));
    ::raise(SIGINT);
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 2; }, 20000));
    EXPECT_EQ(received, QList<int>({SIGTERM, SIGINT}));
}

TEST(ShutdownSignals, OnlyOneOwnerAtATime) {
    ShutdownSignals first;
    ShutdownSignals second;
    EXPECT_TRUE(first.isActive());
    EXPECT_FALSE(second.isActive());
}
