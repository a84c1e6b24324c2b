#include "platform/ThreadNice.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

int ThreadNice::currentThreadId() {
    return int(::syscall(SYS_gettid));
}

bool ThreadNice::apply(int threadId, int niceValue) {
    return ::setpriority(PRIO_PROCESS, id_t(threadId), niceValue) == 0;
}
