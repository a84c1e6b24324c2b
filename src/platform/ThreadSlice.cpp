#include "platform/ThreadSlice.h"

#include <cerrno>
#include <cstdint>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// The kernel's struct sched_attr, first version (glibc does not declare it).
struct SchedAttr {
    std::uint32_t size;
    std::uint32_t policy;
    std::uint64_t flags;
    std::int32_t nice;
    std::uint32_t priority;
    std::uint64_t runtime; // the fair scheduler reads its slice request from here
    std::uint64_t deadline;
    std::uint64_t period;
};
static_assert(sizeof(SchedAttr) == 48, "first version of the kernel's sched_attr");

} // namespace

bool ThreadSlice::requestForCurrentThread(int microseconds) {
#ifdef SYS_sched_setattr
    if (microseconds <= 0 || sched_getscheduler(0) != SCHED_OTHER)
        return false;
    const auto thread = id_t(::syscall(SYS_gettid));
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, thread);
    if (nice == -1 && errno != 0)
        return false;
    SchedAttr attr{};
    attr.size = sizeof(attr);
    attr.policy = SCHED_OTHER;
    attr.nice = nice;
    attr.runtime = std::uint64_t(microseconds) * 1000;
    return ::syscall(SYS_sched_setattr, 0, &attr, 0) == 0;
#else
    (void)microseconds;
    return false;
#endif
}
