#include "voice/CalloutQueue.h"

#include "base/ITimer.h"
#include "base/MonotonicClock.h"
#include "base/TimerFactory.h"
#include "platform/PcmOutput.h"
#include "voice/SpeechVoice.h"

CalloutQueue::CalloutQueue(SpeechVoice& voice, PcmOutput& output, MonotonicClock& clock, TimerFactory& timers)
    : m_voice(voice), m_output(output), m_clock(clock),
      m_waitTimer(timers.createTimer(QStringLiteral("CalloutWaitTimer"), TimerKind::Message)),
      m_self(std::make_shared<CalloutQueue*>(this)) {
    m_waitTimer->setEnabled(false);
    m_waitTimer->setInterval(WaitPollMs);
    m_waitTimer->setOnTimer([this] { pump(); });
}

CalloutQueue::~CalloutQueue() {
    *m_self = nullptr;
    m_waitTimer->setEnabled(false);
    m_output.stop();
}

void CalloutQueue::push(Callout callout) {
    m_waiting.push_back(std::move(callout));
    pump();
}

void CalloutQueue::clear() {
    ++m_generation;
    m_waiting.clear();
    m_waitTimer->setEnabled(false);
    if (m_state == State::Playing)
        m_output.stop();
    m_state = State::Idle;
}

bool CalloutQueue::tooLate(qint64 stampUs) const {
    return m_clock.nowUs() - stampUs > MaxDelayUs - OutputStartUs;
}

void CalloutQueue::pump() {
    if (m_state != State::Idle)
        return;
    while (!m_waiting.empty() && tooLate(m_waiting.front().stampUs)) {
        m_waiting.pop_front();
        ++m_dropped;
    }
    if (m_waiting.empty()) {
        m_waitTimer->setEnabled(false);
        return;
    }
    if (m_priorityBusy && m_priorityBusy()) {
        m_waitTimer->setEnabled(true);
        return;
    }
    m_waitTimer->setEnabled(false);
    const Callout next = std::move(m_waiting.front());
    m_waiting.pop_front();
    const bool behind = m_clock.nowUs() - next.stampUs > BehindUs && !next.shortText.isEmpty();
    const QString words = behind ? next.shortText : next.text;
    m_state = State::Synthesising;
    const quint64 generation = m_generation;
    const std::weak_ptr<CalloutQueue*> self = m_self;
    m_voice.synthesize(words, m_wordsPerMinute,
                       [self, generation, stamp = next.stampUs, words](SpeechPcm pcm) {
                           if (const auto queue = self.lock(); queue && *queue)
                               (*queue)->synthesised(generation, stamp, words, pcm);
                       });
}

void CalloutQueue::synthesised(quint64 generation, qint64 stampUs, const QString& words,
                               const SpeechPcm& pcm) {
    if (generation != m_generation)
        return;
    // The words may have taken long to make: then they are dropped.
    if (pcm.samples.isEmpty() || tooLate(stampUs)) {
        ++m_dropped;
        m_state = State::Idle;
        pump();
        return;
    }
    // The race's sound began meanwhile: the words wait for it at the front, under the same rule.
    if (m_priorityBusy && m_priorityBusy()) {
        m_waiting.push_front(Callout{words, QString(), stampUs});
        m_state = State::Idle;
        pump();
        return;
    }
    m_state = State::Playing;
    if (started)
        started(words);
    const std::weak_ptr<CalloutQueue*> self = m_self;
    m_output.play(pcm.samples, pcm.sampleRate, m_volume, [self, generation] {
        if (const auto queue = self.lock(); queue && *queue)
            (*queue)->finished(generation);
    });
}

void CalloutQueue::finished(quint64 generation) {
    if (generation != m_generation)
        return;
    m_state = State::Idle;
    pump();
}
