#pragma once

// The time slice a thread asks the kernel's fair scheduler for (Linux 6.12 and later honour the
// request; older kernels accept and ignore it). A thread that wakes often for a little work, such as
// the sensor worker or the main thread taking its hits, gets the processor at once with a short slice
// instead of waiting until a busy neighbour's slice runs out. Its share of the processor stays what
// its nice value gives it.
class ThreadSlice {
public:
    static constexpr int ShortMicroseconds = 100; // the shortest slice the kernel grants

    // For the calling thread, keeping its policy and nice value; true when the kernel took it. A
    // thread under a real-time policy is left alone.
    static bool requestForCurrentThread(int microseconds);
};
