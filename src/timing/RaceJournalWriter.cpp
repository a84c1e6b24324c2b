#include "timing/RaceJournalWriter.h"

#include "base/UserError.h"
#include "config/DataFolder.h"
#include "config/TextCodec.h"
#include "timing/RaceJournalFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// A tab separates a list's entries and the names: one inside them becomes a blank.
QString field(QString text) {
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

QString joined(const QStringList& texts) {
    QStringList fields;
    for (const QString& text : texts)
        fields << field(text);
    return fields.join(QLatin1Char('\t'));
}

} // namespace

RaceJournalWriter::RaceJournalWriter(QString dataFolder) : m_dataFolder(std::move(dataFolder)) {}

QString RaceJournalWriter::pathIn(const QString& dataFolder) {
    return DataFolder::resolve(dataFolder, RaceJournalFormat::relativePath());
}

QString RaceJournalWriter::path() const {
    return pathIn(m_dataFolder);
}

QString RaceJournalWriter::headText(const JournalHead& head) {
    QStringList lines{RaceJournalFormat::magicLine(),
                      QStringLiteral("start ") + head.start.toString(RaceJournalFormat::startFormat()),
                      QStringLiteral("minuty %1").arg(head.raceMinutes),
                      QStringLiteral("cidla ") + field(head.sensors)};
    if (std::any_of(head.names.begin(), head.names.end(),
                    [](const QString& name) { return !name.isEmpty(); }))
        lines << QStringLiteral("jmena ") + joined(QStringList(head.names.begin(), head.names.end()));
    return TextCodec::joinLines(lines);
}

QString RaceJournalWriter::passLine(int kart, qint64 lapMs, qint64 passUs) {
    return QStringLiteral("kolo %1 %2 %3").arg(kart).arg(lapMs).arg(passUs);
}

QString RaceJournalWriter::listLine(int kart, const QStringList& entries) {
    return QStringLiteral("seznam %1 ").arg(kart) + joined(entries);
}

QString RaceJournalWriter::stepLine(JournalStep step) {
    return step == JournalStep::EngineTimeStored ? QStringLiteral("krok motohodiny")
                                                 : QStringLiteral("krok soubory");
}

void RaceJournalWriter::begin(const JournalHead& head) {
    const QString file = path();
    QDir().mkpath(QFileInfo(file).absolutePath());
    if (!m_file.create(file))
        throw UserError(QStringLiteral("Deník závodu nelze založit (%1).").arg(m_file.errorString()));
    write(headText(head));
}

void RaceJournalWriter::resume(qint64 validBytes) {
    if (!m_file.reopen(path(), validBytes))
        throw UserError(QStringLiteral("Deník závodu nelze otevřít (%1).").arg(m_file.errorString()));
}

void RaceJournalWriter::pass(int kart, qint64 lapMs, qint64 passUs) {
    write(passLine(kart, lapMs, passUs) + QStringLiteral("\r\n"));
}

void RaceJournalWriter::listChanged(int kart, const QStringList& entries) {
    write(listLine(kart, entries) + QStringLiteral("\r\n"));
}

void RaceJournalWriter::step(JournalStep step) {
    write(stepLine(step) + QStringLiteral("\r\n"));
}

void RaceJournalWriter::finish() {
    m_file.close();
    QFile::remove(path());
}

void RaceJournalWriter::write(const QString& lines) {
    if (!m_file.isOpen())
        return;
    if (!m_file.append(TextCodec::encode(lines)))
        throw UserError(QStringLiteral("Do deníku závodu nelze zapisovat (%1).").arg(m_file.errorString()));
}
