#include "ChildProcess.h"

#include "platform/ThreadSlice.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace {

// The slice the scheduler shows for the calling thread, in ns; -1 where the kernel does not show it.
long long shownSliceNs() {
    QFile file(QStringLiteral("/proc/thread-self/sched"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.trimmed().startsWith("se.slice")) {
            const QByteArray value = line.mid(line.indexOf(':') + 1).trimmed();
            return qRound64(value.toDouble() * (value.contains('.') ? 1e6 : 1.0));
        }
    }
    return -1;
}

} // namespace

TEST(ThreadSlice, AShortSliceKeepsTheThreadsNiceValue) {
    // In a child process, and there on a thread of its own, so that no thread of the test program
    // keeps the changed settings.
    RUN_IN_CHILD_PROCESS();
    std::thread([] {
        const auto self = id_t(::syscall(SYS_gettid));
        errno = 0;
        const int inherited = ::getpriority(PRIO_PROCESS, self);
        ASSERT_EQ(errno, 0);
        // Lowering needs no privilege; a value away from 0 shows a request that would reset it.
        const int lowered = std::min(inherited + 5, 19);
        ASSERT_EQ(::setpriority(PRIO_PROCESS, self, lowered), 0);
        const bool taken = ThreadSlice::requestForCurrentThread(ThreadSlice::ShortMicroseconds);
        EXPECT_EQ(::getpriority(PRIO_PROCESS, self), lowered);
        if (!taken)
            return; // a kernel without sched_setattr
        const long long slice = shownSliceNs();
        if (slice >= 0) {
            EXPECT_EQ(slice, ThreadSlice::ShortMicroseconds * 1000LL);
        }
    }).join();
}

TEST(ThreadSlice, NonsenseRequestsAreRefused) {
    EXPECT_FALSE(ThreadSlice::requestForCurrentThread(0));
    EXPECT_FALSE(ThreadSlice::requestForCurrentThread(-5));
}
