#include "timing/TimerThread.h"

#include "timing/ThdTimer.h"

#include <QMetaObject>

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
    quint32 interval = 1000;
    TThreadedTimer* owner = nullptr; // touched on the main thread only; null once stopping
};

TTimerThread::TTimerThread(TThreadedTimer& owner, QThread::Priority priority)
    : m_context(&owner), m_shared(std::make_shared<Shared>()) {
    m_shared->owner = &owner;
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

void TTimerThread::runTick(const std::shared_ptr<Shared>& shared) {
    // Reports the tick done however the handler ends: by returning, by throwing to the application's
    // error handler, or by destroying its own timer.
    struct DoneOnExit {
        Shared& shared;
        ~DoneOnExit() {
            {
                std::lock_guard<std::mutex> lock(shared.mutex);
                shared.tickDone = true;
            }
            shared.changed.notify_all();
        }
    } done{*shared};
    if (TThreadedTimer* timer = shared->owner)
        timer->runTick();
}

void TTimerThread::run() {
    const std::shared_ptr<Shared> shared = m_shared;
    std::unique_lock<std::mutex> lock(shared->mutex);
    while (!shared->stop) {
        if (shared->parked) {
            shared->changed.wait(lock, [&] { return !shared->parked || shared->stop; });
            continue;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(shared->interval);
        const bool signalled = shared->changed.wait_until(
            lock, deadline, [&] { return shared->wake || shared->parked || shared->stop; });
        if (signalled) {
            shared->wake = false;
            continue;
        }

        // A time-out: hand the tick to the main thread and block until it has run (or was dropped).
        shared->tickDone = false;
        lock.unlock();
        QMetaObject::invokeMethod(
            m_context, [shared] { runTick(shared); }, Qt::QueuedConnection);
        lock.lock();
        shared->changed.wait(lock, [&] { return shared->tickDone || shared->stop; });
    }
}
