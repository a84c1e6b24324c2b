#pragma once

#include "platform/SoundPlayer.h"

#include <memory>

class QAudioOutput;
class QMediaPlayer;

// The sound player on the platform's media framework. Playback does not block: play() starts the file
// and returns. The media objects are made at the first open, so a program that never plays a sound
// never loads the media backend.
class MultimediaSoundPlayer : public SoundPlayer {
public:
    MultimediaSoundPlayer();
    ~MultimediaSoundPlayer() override;

    void close() override;
    void setFileName(const QString& path) override;
    QString fileName() const override { return m_fileName; }
    void open() override;
    void play() override;
    bool playing() const override;

    bool isOpen() const { return m_open; }

private:
    QString m_fileName;
    bool m_open = false;
    std::unique_ptr<QAudioOutput> m_output;
    std::unique_ptr<QMediaPlayer> m_player;
};
