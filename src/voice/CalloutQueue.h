#pragma once

#include <QString>
#include <QtGlobal>

#include <deque>
#include <functional>
#include <memory>

class ITimer;
class MonotonicClock;
class PcmOutput;
class SpeechVoice;
class TimerFactory;

// One call-out: its full words, the shorter ones said when the queue is behind, and the clock instant
// of what it announces (the pass).
struct Callout {
    QString text;
    QString shortText;
    qint64 stampUs = 0;
};

// The call-outs in pass order, one at a time, never late: a call-out that cannot start within
// MaxDelayUs of its instant is dropped, one that starts more than BehindUs after it says its short
// words. The race's own sounds (the end of the race, the applause) come first: while they play, the
// front call-out waits, under the same rule.
class CalloutQueue {
public:
    static constexpr qint64 MaxDelayUs = 3'000'000;
    // What a sound server takes from the samples handed to the output to their first being played
    // (a stream is opened for each call-out): a call-out is handed over this much before its limit.
    static constexpr qint64 OutputStartUs = 100'000;
    static constexpr qint64 BehindUs = 1'000'000;
    static constexpr quint32 WaitPollMs = 50;

    CalloutQueue(SpeechVoice& voice, PcmOutput& output, MonotonicClock& clock, TimerFactory& timers);
    ~CalloutQueue();
    CalloutQueue(const CalloutQueue&) = delete;
    CalloutQueue& operator=(const CalloutQueue&) = delete;

    // Whether a sound that comes first plays now.
    void setPriorityBusy(std::function<bool()> busy) { m_priorityBusy = std::move(busy); }
    // Read when a call-out is synthesised and when it starts.
    void setWordsPerMinute(int words) { m_wordsPerMinute = words; }
    void setVolume(int percent) { m_volume = percent; }

    void push(Callout callout);
    // Drops what waits and stops what is said.
    void clear();

    int waiting() const { return int(m_waiting.size()); }
    bool idle() const { return m_state == State::Idle; }
    int dropped() const { return m_dropped; }
    // The words of each call-out as its samples go to the output.
    std::function<void(const QString& words)> started;

private:
    enum class State { Idle, Synthesising, Playing };

    void pump();
    bool tooLate(qint64 stampUs) const;
    void synthesised(quint64 generation, qint64 stampUs, const QString& words, const struct SpeechPcm& pcm);
    void finished(quint64 generation);

    SpeechVoice& m_voice;
    PcmOutput& m_output;
    MonotonicClock& m_clock;
    std::unique_ptr<ITimer> m_waitTimer;
    std::function<bool()> m_priorityBusy;
    std::deque<Callout> m_waiting;
    State m_state = State::Idle;
    // Results of a synthesis or a playback from before a clear() belong to nothing.
    quint64 m_generation = 0;
    int m_dropped = 0;
    int m_wordsPerMinute = 170;
    int m_volume = 80;
    std::shared_ptr<CalloutQueue*> m_self;
};
