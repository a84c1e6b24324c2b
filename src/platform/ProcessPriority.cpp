#include "platform/ProcessPriority.h"

#include <QDir>
#include <QStringList>

#include <cerrno>
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

// The nice value the current class gives the process's threads; a thread's own level (the timers'
// "highest") is kept as its distance from it, as a priority class and a thread's relative priority
// combine.
int g_classNice = 0;

int niceOfClass(ProcessPriority::Level level) {
    switch (level) {
    case ProcessPriority::Level::Idle:
        return kIdleNice;
    case ProcessPriority::Level::High:
        return kHighNice;
    default:
        return 0;
    }
}

bool setForThread(pid_t thread, ProcessPriority::Level level, int newClassNice) {
    sched_param param{};
    if (level == ProcessPriority::Level::RealTime) {
        param.sched_priority = sched_get_priority_min(SCHED_RR);
        return sched_setscheduler(thread, SCHED_RR, &param) == 0;
    }
    // Leaving real-time first: nice values only matter under the ordinary policy.
    if (sched_getscheduler(thread) != SCHED_OTHER && sched_setscheduler(thread, SCHED_OTHER, &param) != 0)
        return false;
    errno = 0;
    const int current = getpriority(PRIO_PROCESS, static_cast<id_t>(thread));
    if (current == -1 && errno != 0)
        return false;
    const int target = qBound(-20, current - g_classNice + newClassNice, 19);
    return target == current || setpriority(PRIO_PROCESS, static_cast<id_t>(thread), target) == 0;
}

} // namespace

namespace ProcessPriority {

bool apply(int code) {
    if (code < static_cast<int>(Level::Normal) || code > static_cast<int>(Level::RealTime))
        return false;
    const auto level = static_cast<Level>(code);
    const int newClassNice = level == Level::RealTime ? g_classNice : niceOfClass(level);
    bool allDone = true;
    for (pid_t thread : processThreads())
        allDone = setForThread(thread, level, newClassNice) && allDone;
    g_classNice = newClassNice;
    return allDone;
}

} // namespace ProcessPriority
