#include "platform/MultimediaSoundPlayer.h"

#include "base/UserError.h"

#include <QAudioOutput>
#include <QFile>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

MultimediaSoundPlayer::MultimediaSoundPlayer() = default;

MultimediaSoundPlayer::~MultimediaSoundPlayer() {
    close();
}

void MultimediaSoundPlayer::close() {
    if (m_player) {
        m_player->stop();
        m_player->setSource(QUrl());
    }
    m_open = false;
}

void MultimediaSoundPlayer::setFileName(const QString& path) {
    m_fileName = path;
}

void MultimediaSoundPlayer::open() {
    close();
    // The media framework reports a bad file only later and asynchronously; checking here makes the
    // failure end the action that asked for the sound, at once.
    QFile file(m_fileName);
    if (m_fileName.isEmpty() || !QFileInfo(m_fileName).isFile() || !file.open(QIODevice::ReadOnly))
        throw UserError(QStringLiteral("Zvukový soubor \"%1\" nelze otevřít.").arg(m_fileName));
    file.close();

    if (!m_player) {
        m_output = std::make_unique<QAudioOutput>();
        m_player = std::make_unique<QMediaPlayer>();
        m_player->setAudioOutput(m_output.get());
    }
    m_player->setSource(QUrl::fromLocalFile(QFileInfo(m_fileName).absoluteFilePath()));
    m_open = true;
}

void MultimediaSoundPlayer::play() {
    if (!m_open)
        return;
    m_player->setPosition(0);
    m_player->play();
}

bool MultimediaSoundPlayer::playing() const {
    // The media framework may still be loading the file right after play(): that counts as playing.
    return m_open && m_player && m_player->playbackState() == QMediaPlayer::PlayingState &&
           m_player->mediaStatus() != QMediaPlayer::EndOfMedia;
}
