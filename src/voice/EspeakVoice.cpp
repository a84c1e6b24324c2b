#include "voice/EspeakVoice.h"

#include <QMetaObject>

#include <espeak-ng/speak_lib.h>

#include <ctime>
#include <future>
#include <pthread.h>

namespace {

qint64 threadCpuUs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

// espeak-ng keeps one state for the whole process, and a load after an unload hangs inside the
// library: it is loaded once, by whichever voice asks first, never unloaded, and its calls take turns
// between the voices' workers.
struct Library {
    std::mutex mutex;
    bool tried = false;
    int sampleRate = 0; // 0 when the library or the Czech voice could not be loaded
};

Library& library() {
    static Library shared;
    return shared;
}

// espeak-ng hands its samples to this callback, chunk by chunk, within espeak_Synth.
int collectSamples(short* samples, int count, espeak_EVENT* events) {
    auto* out = static_cast<QByteArray*>(events->user_data);
    if (samples && count > 0 && out)
        out->append(reinterpret_cast<const char*>(samples), qsizetype(count) * qsizetype(sizeof(short)));
    return 0;
}

} // namespace

EspeakVoice::EspeakVoice() : m_worker([this] { run(); }) {}

EspeakVoice::~EspeakVoice() {
    {
        const std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_one();
    m_worker.join();
}

void EspeakVoice::run() {
    // Named, so that a per-thread account of the station's processor time says whose time it is.
    pthread_setname_np(pthread_self(), "SpeechVoice");
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_quit || !m_jobs.empty(); });
            if (m_quit)
                break;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        job();
    }
}

void EspeakVoice::post(std::function<void()> job) {
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

bool EspeakVoice::load(QString& error) {
    // Loading reads the voice's files once, when the operator turns the call-outs on or tests them.
    std::promise<std::pair<bool, QString>> answer;
    post([&] {
        QString reason;
        const bool ok = initialise(reason);
        answer.set_value({ok, reason});
    });
    const auto [ok, reason] = answer.get_future().get();
    if (!ok)
        error = reason;
    return ok;
}

bool EspeakVoice::initialise(QString& error) {
    if (!m_loaded) {
        Library& shared = library();
        const std::lock_guard lock(shared.mutex);
        if (!shared.tried) {
            shared.tried = true;
            const int rate =
                espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 100, nullptr, espeakINITIALIZE_DONT_EXIT);
            if (rate > 0) {
                espeak_SetSynthCallback(collectSamples);
                if (espeak_SetVoiceByName("cs") == EE_OK)
                    shared.sampleRate = rate;
            }
        }
        m_sampleRate = shared.sampleRate;
        m_loaded = m_sampleRate > 0;
        if (!*m_loaded)
            m_loadError = QStringLiteral("Český hlas pro hlášení časů nelze načíst (espeak-ng, hlas „cs“). "
                                         "Závod poběží bez hlášení.");
    }
    error = m_loadError;
    return *m_loaded;
}

void EspeakVoice::synthesize(const QString& text, int wordsPerMinute, Done done) {
    post([this, text, wordsPerMinute, done = std::move(done)]() mutable {
        SpeechPcm pcm = synthesizeNow(text, wordsPerMinute);
        QMetaObject::invokeMethod(
            &m_context, [pcm = std::move(pcm), done = std::move(done)]() mutable { done(std::move(pcm)); },
            Qt::QueuedConnection);
    });
}

SpeechPcm EspeakVoice::synthesizeNow(const QString& text, int wordsPerMinute) {
    SpeechPcm pcm;
    QString ignored;
    if (!initialise(ignored))
        return pcm;
    const qint64 cpuStart = threadCpuUs();
    const std::lock_guard lock(library().mutex);
    espeak_SetParameter(espeakRATE, qBound(80, wordsPerMinute, 450), 0);
    const QByteArray utf8 = text.toUtf8();
    QByteArray samples;
    if (espeak_Synth(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
                     nullptr, &samples) == EE_OK) {
        pcm.sampleRate = m_sampleRate;
        pcm.samples = samples;
    }
    pcm.cpuUs = threadCpuUs() - cpuStart;
    return pcm;
}
