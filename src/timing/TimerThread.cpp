#include "timing/TimerThread.h"

#include "base/ErrorBoundary.h"
#include "platform/ThreadNice.h"
#include "platform/ThreadSlice.h"
#include "timing/ThdTimer.h"
#include "timing/TickEvent.h"

#include <QCoreApplication>

#include <chrono>
#include <condition_variable>
#include <mutex>

// State shared by the worker, the owner and every tick in flight. A tick posted to the main thread
// holds it too, so a tick that outlives its timer still finds valid memory and only reports itself
// done.
struct TTimerThread::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    bool wake = false; // the auto-resetting wake-up event
    bool parked = true;
    bool stop = false;
    bool tickDone = true;
    bool awaitingDone = false; // the worker waits for the main thread to run the last tick
    std::chrono::steady_clock::time_point doneAt;
    quint32 interval = 1000;
    int niceValue = 0;
    int threadId = 0;                // 0 until the worker runs
    std::function<bool()> probe;     // run by the worker, outside the lock
    TThreadedTimer* owner = nullptr; // touched on the main thread only; null once stopping
};

TTimerThread::TTimerThread(TThreadedTimer& owner, QThread::Priority priority)
    : m_shared(std::make_shared<Shared>()) {
    m_shared->owner = &owner;
    setObjectName(QStringLiteral("TTimerThread"));
    start(priority);
}

TTimerThread::~TTimerThread() {
    stopAndWait();
}

quint32 TTimerThread::interval() const {
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    return m_shared->interval;
}

void TTimerThread::setInterval(quint32 ms) {
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    m_shared->interval = ms;
}

void TTimerThread::setNiceValue(int niceValue) {
    // Under the lock, so that the worker's own setting at its start cannot overtake this one.
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    m_shared->niceValue = niceValue;
    if (m_shared->threadId != 0)
        ThreadNice::apply(m_shared->threadId, niceValue);
}

void TTimerThread::setProbe(std::function<bool()> probe) {
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    m_shared->probe = std::move(probe);
}

void TTimerThread::signalAndRelease() {
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        m_shared->wake = true;
        m_shared->parked = false;
    }
    m_shared->changed.notify_all();
}

void TTimerThread::park() {
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        m_shared->parked = true;
    }
    m_shared->changed.notify_all();
}

void TTimerThread::stopAndWait() {
    m_shared->owner = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        m_shared->stop = true;
        m_shared->wake = true;
        m_shared->parked = false;
    }
    m_shared->changed.notify_all();
    wait();
}

bool TTimerThread::event(QEvent* event) {
    if (event->type() != TickEvent::type())
        return QThread::event(event);
    runTick(static_cast<TickEvent*>(event)->shared<Shared>());
    return true;
}

void TTimerThread::runTick(const std::shared_ptr<Shared>& shared) {
    std::exception_ptr failure;
    {
        // Reports the tick done however the handler ends: by returning, by raising, or by destroying
        // its own timer.
        struct DoneOnExit {
            Shared& shared;
            ~DoneOnExit() {
                bool wakeWorker = false;
                {
                    std::lock_guard<std::mutex> lock(shared.mutex);
                    shared.tickDone = true;
                    shared.doneAt = std::chrono::steady_clock::now();
                    wakeWorker = shared.awaitingDone;
                }
                if (wakeWorker)
                    shared.changed.notify_all();
            }
        } done{*shared};
        if (TThreadedTimer* timer = shared->owner)
            failure = timer->runTick();
    }
    // Only now that the worker is free: the timer keeps ticking while the operator reads the message.
    ErrorBoundary::report(failure);
}

void TTimerThread::run() {
    using Clock = std::chrono::steady_clock;
    // A tick due this close to its deadline goes out at once rather than after one more short sleep.
    constexpr auto slack = std::chrono::microseconds(200);

    const std::shared_ptr<Shared> shared = m_shared;
    Shared& s = *shared;
    std::unique_lock<std::mutex> lock(s.mutex);
    s.threadId = ThreadNice::currentThreadId();
    if (s.niceValue != 0)
        ThreadNice::apply(s.threadId, s.niceValue);
    // The worker runs for microseconds at a time; on a busy machine it should not wait out a
    // neighbour's whole slice before it can hand its tick over.
    ThreadSlice::requestForCurrentThread(ThreadSlice::ShortMicroseconds);
    Clock::time_point base = Clock::now(); // the next wait runs one interval from here
    Clock::time_point postedAt;
    bool tickPending = false; // handed over, and its end not yet taken as the next wait's base

    while (!s.stop) {
        if (s.parked) {
            s.changed.wait(lock, [&] { return !s.parked || s.stop; });
            continue;
        }
        const auto interval = std::chrono::milliseconds(s.interval);
        if (!s.tickDone) {
            // The last tick has not run yet. It cannot be due again before one interval has passed
            // since it was handed over, so sleep that long without the main thread waking us; only a
            // tick still not run by then makes the main thread wake us when it is done.
            if (Clock::now() < postedAt + interval) {
                s.changed.wait_until(lock, postedAt + interval, [&] { return s.parked || s.stop; });
            } else {
                s.awaitingDone = true;
                s.changed.wait(lock, [&] { return s.tickDone || s.parked || s.stop; });
                s.awaitingDone = false;
            }
            continue;
        }
        if (tickPending) {
            tickPending = false;
            base = s.doneAt;
        }
        if (s.wake) {
            // The signalled event ends the wait without a tick; the next wait runs the full interval.
            s.wake = false;
            base = Clock::now();
        }
        const Clock::time_point deadline = base + interval;
        if (deadline - Clock::now() > slack) {
            if (s.changed.wait_until(lock, deadline, [&] { return s.wake || s.parked || s.stop; }))
                continue;
        }

        if (s.probe) {
            // Copied, so that the main thread may replace it while this one runs unlocked.
            const std::function<bool()> probe = s.probe;
            lock.unlock();
            bool found = false;
            try {
                found = probe();
            } catch (...) {
                // Nobody here could be told; the probe has found nothing.
            }
            lock.lock();
            if (!found || s.parked || s.stop || s.wake) {
                // Keeps the beat, unless the worker was held up so long that it would only catch up.
                const Clock::time_point now = Clock::now();
                base = now - deadline < interval ? deadline : now;
                continue;
            }
        }
        // A time-out: hand the tick to the main thread. The next one waits until this one has run.
        s.tickDone = false;
        tickPending = true;
        postedAt = Clock::now();
        lock.unlock();
        // This object lives on the main thread, so the event runs there.
        QCoreApplication::postEvent(this, new TickEvent(shared));
        lock.lock();
    }
}
