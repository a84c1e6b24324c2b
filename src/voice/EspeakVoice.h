#pragma once

#include "voice/SpeechVoice.h"

#include <QObject>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

// The Czech voice of espeak-ng's library, called directly. The library keeps global state, so every
// call into it runs on this object's one worker thread; results come back to the main thread.
class EspeakVoice : public SpeechVoice {
public:
    EspeakVoice();
    ~EspeakVoice() override;
    EspeakVoice(const EspeakVoice&) = delete;
    EspeakVoice& operator=(const EspeakVoice&) = delete;

    bool load(QString& error) override;
    void synthesize(const QString& text, int wordsPerMinute, Done done) override;

private:
    void run();
    void post(std::function<void()> job);
    // On the worker.
    bool initialise(QString& error);
    SpeechPcm synthesizeNow(const QString& text, int wordsPerMinute);

    QObject m_context; // the main thread's receiver of the results
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_jobs;
    bool m_quit = false;
    std::optional<bool> m_loaded; // worker only
    QString m_loadError;          // worker only
    int m_sampleRate = 0;         // worker only
    std::thread m_worker;
};
