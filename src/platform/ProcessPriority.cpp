#include "platform/ProcessPriority.h"

#include <QDir>
#include <QStringList>

#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr int kIdleNice = 19;
constexpr int kHighNice = -10;

// Linux keeps nice values and scheduling policies per thread; a process-wide class therefore has to
// be given to every thread that runs now. Threads started later inherit it from their creator.
QList<pid_t> processThreads() {
    QList<pid_t> ids;
    const QStringList entries =
        QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool ok = false;
        const pid_t id = entry.toInt(&ok);
        if (ok)
            ids.append(id);
    }
    if (ids.isEmpty())
        ids.append(static_cast<pid_t>(syscall(SYS_gettid)));
    return ids;
}

bool setForThread(pid_t thread, ProcessPriority::Level level) {
    sched_param param{};
    if (level == ProcessPriority::Level::RealTime) {
        param.sched_priority = sched_get_priority_min(SCHED_RR);
        return sched_setscheduler(thread, SCHED_RR, &param) == 0;
    }
    // Leaving real-time first: nice values only matter under the ordinary policy.
    if (sched_getscheduler(thread) != SCHED_OTHER && sched_setscheduler(thread, SCHED_OTHER, &param) != 0)
        return false;
    int nice = 0;
    if (level == ProcessPriority::Level::Idle)
        nice = kIdleNice;
    else if (level == ProcessPriority::Level::High)
        nice = kHighNice;
    return setpriority(PRIO_PROCESS, static_cast<id_t>(thread), nice) == 0;
}

} // namespace

namespace ProcessPriority {

bool apply(int code) {
    if (code < static_cast<int>(Level::Normal) || code > static_cast<int>(Level::RealTime))
        return false;
    const auto level = static_cast<Level>(code);
    bool allDone = true;
    for (pid_t thread : processThreads())
        allDone = setForThread(thread, level) && allDone;
    return allDone;
}

} // namespace ProcessPriority
