#pragma once

#include "base/UserError.h"
#include "platform/SoundPlayer.h"

#include <QStringList>

// A sound player that plays nothing and remembers what it was asked; it can be told to fail on open.
class FakeSoundPlayer : public SoundPlayer {
public:
    void close() override {
        m_open = false;
        m_calls << QStringLiteral("close");
    }
    void setFileName(const QString& path) override {
        m_fileName = path;
        m_calls << QStringLiteral("file ") + path;
    }
    QString fileName() const override { return m_fileName; }
    void open() override {
        m_calls << QStringLiteral("open");
        if (failOnOpen)
            throw UserError(QStringLiteral("Zvukový soubor \"%1\" nelze otevřít.").arg(m_fileName));
        m_open = true;
    }
    void play() override {
        m_calls << QStringLiteral("play");
        if (m_open)
            ++m_plays;
    }

    bool failOnOpen = false;
    bool isOpen() const { return m_open; }
    int plays() const { return m_plays; }
    const QStringList& calls() const { return m_calls; }

private:
    QString m_fileName;
    bool m_open = false;
    int m_plays = 0;
    QStringList m_calls;
};
