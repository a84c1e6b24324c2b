#pragma once

#include <QString>

#include <functional>

class SoundPlayer;

// The one way a sound is started on the main window's player: what plays stops, the file is set and
// opened, and it plays without waiting (or stays open, to be played later). A sound only calls
// attention to something, so a file that cannot be opened never ends what asked for it: the failure
// is said once, with the caller's note after it, and the caller goes on without the sound.
class SoundPlayback {
public:
    using Report = std::function<void(const QString& message)>;

    // Whether the file is open now. An empty report says it through the error boundary.
    static bool open(SoundPlayer& player, const QString& path, const QString& note = QString(),
                     const Report& report = Report());
    // Whether the file plays.
    static bool play(SoundPlayer& player, const QString& path, const QString& note = QString(),
                     const Report& report = Report());
};
