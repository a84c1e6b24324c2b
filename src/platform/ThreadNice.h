#pragma once

// The scheduling weight of one thread (its nice value, -20 highest .. 19 lowest). Linux keeps a nice
// value per thread; raising a thread above 0 needs root or CAP_SYS_NICE, and without it the thread
// simply keeps the weight it has.
class ThreadNice {
public:
    static int currentThreadId();
    // True when the thread now runs at that nice value.
    static bool apply(int threadId, int niceValue);
};
