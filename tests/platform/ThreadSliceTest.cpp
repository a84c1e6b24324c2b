#include "platform/ThreadSlice.h"

#include <QFile>

#include <gtest/gtest.h>

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
    // On a thread of its own, so that the test program's main thread keeps its settings.
    std::thread([] {
        const auto self = id_t(::syscall(SYS_gettid));
        ASSERT_EQ(::setpriority(PRIO_PROCESS, self, 5), 0); // lowering needs no privilege
        const bool taken = ThreadSlice::requestForCurrentThread(ThreadSlice::ShortMicroseconds);
        EXPECT_EQ(::getpriority(PRIO_PROCESS, self), 5);
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
