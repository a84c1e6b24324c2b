#pragma once

#include "platform/DurableAppendFile.h"
#include "timing/JournalSink.h"

#include <QString>

// The journal on the disk: each record one line, written and synced before the call returns.
class RaceJournalWriter : public JournalSink {
public:
    // The journal is "vysledky/probihajici zavod.txt" of the data folder.
    explicit RaceJournalWriter(QString dataFolder);

    // Resolved against the folder's real entries at every use.
    QString path() const;
    static QString pathIn(const QString& dataFolder);

    void begin(const JournalHead& head) override;
    void resume(qint64 validBytes) override;
    bool isOpen() const override { return m_file.isOpen(); }
    void pass(int kart, qint64 lapMs, qint64 passUs) override;
    void listChanged(int kart, const QStringList& entries) override;
    void step(JournalStep step) override;
    void finish() override;

    // The texts of the records, for the writer and the tests.
    static QString headText(const JournalHead& head);
    static QString passLine(int kart, qint64 lapMs, qint64 passUs);
    static QString listLine(int kart, const QStringList& entries);
    static QString stepLine(JournalStep step);

private:
    void write(const QString& lines);

    QString m_dataFolder;
    DurableAppendFile m_file;
};
