#pragma once

#include <QString>

// The main window's sound player, borrowed by the race (end of race), the best-twenty tables
// (applause), kart upkeep (confirmation) and the settings window's sound test.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;

    // Stops what plays and releases the file.
    virtual void close() = 0;
    virtual void setFileName(const QString& path) = 0;
    virtual QString fileName() const = 0;
    // Throws UserError with a Czech message when the file is missing or cannot be played.
    virtual void open() = 0;
    // Plays the open file without waiting for it to end; does nothing when nothing is open.
    virtual void play() = 0;
    // Whether a sound started by play() is still playing (the call-outs wait for it).
    virtual bool playing() const { return false; }
};
