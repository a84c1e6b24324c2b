#pragma once

namespace LapBench {

// Processor time (user and system) in seconds: the whole process's, or the calling thread's.
double processCpuSeconds();
double threadCpuSeconds();

// What a thread that does nothing but sleep to a 2 ms beat costs this machine. Any sampler waking
// every 2 ms pays at least this; on a virtual machine the price of a wake-up changes from minute to
// minute with the host, so a figure of the station's own is read against one taken beside it.
struct BareBeat {
    double cpuSeconds = 0; // the sleeping thread's own processor time
    long long beats = 0;
};

// Runs the thread for `seconds` and returns once it has ended.
BareBeat measureBareBeat(int seconds);

} // namespace LapBench
