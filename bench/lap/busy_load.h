#pragma once

#include <sys/types.h>

#include <vector>

namespace LapBench {

// Child processes that spin on the machine's cores, each bounded: it dies with the benchmark, and on
// its own seconds + 2 minutes after it began. Made before any thread exists, since they are forks.
std::vector<pid_t> startLoad(int processes, int seconds);
void stopLoad(const std::vector<pid_t>& children);

} // namespace LapBench
