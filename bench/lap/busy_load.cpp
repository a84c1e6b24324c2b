#include "lap/busy_load.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace LapBench {

std::vector<pid_t> startLoad(int processes, int seconds) {
    std::vector<pid_t> children;
    for (int i = 0; i < processes; ++i) {
        const pid_t pid = fork();
        if (pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            alarm(unsigned(seconds + 120));
            volatile unsigned long spin = 0;
            for (;;)
                spin = spin + 1;
        }
        if (pid > 0)
            children.push_back(pid);
    }
    return children;
}

void stopLoad(const std::vector<pid_t>& children) {
    for (pid_t pid : children)
        kill(pid, SIGKILL);
    for (pid_t pid : children)
        waitpid(pid, nullptr, 0);
}

} // namespace LapBench
