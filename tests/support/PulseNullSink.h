#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

// A private PulseAudio server (Debian's pulseaudio) whose one sink, the default, plays into nothing:
// the sound a program sends there can be recorded from the sink's monitor. Everything it keeps (its
// socket, cookie, state) is in a temporary folder, it never starts a server of its own accord, never
// exits when idle and never reaches the session's bus, so a user's real audio is left alone. It runs
// as root and as an ordinary user. Stopped with the object.
class PulseNullSink {
public:
    static constexpr const char* SinkName = "tarvolin_null";

    PulseNullSink();
    ~PulseNullSink();
    PulseNullSink(const PulseNullSink&) = delete;
    PulseNullSink& operator=(const PulseNullSink&) = delete;

    // The server's program; empty when it is not installed.
    static QString program();

    // Starts the server and waits until it answers a client; false with the reason otherwise.
    bool start(QString* why);
    void stop();

    // What a client of this server needs in its environment (the server's address, no autospawn).
    QProcessEnvironment clientEnvironment() const;
    // Points this process's own clients at the server: call before the media framework starts.
    void useInThisProcess() const;
    QString monitorName() const { return QLatin1String(SinkName) + QStringLiteral(".monitor"); }
    // Runs pactl on this server; whether it succeeded, with what it printed.
    bool pactl(const QStringList& arguments, QByteArray* output = nullptr) const;

private:
    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

    QTemporaryDir m_dir;
    QProcess m_process;
};
