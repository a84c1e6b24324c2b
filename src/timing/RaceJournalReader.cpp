#include "timing/RaceJournalReader.h"

#include "base/UserError.h"
#include "config/TextCodec.h"
#include "timing/LapTime.h"
#include "timing/RaceJournalFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

namespace F = RaceJournalFormat;

bool number(const QString& text, qint64 low, qint64 high, qint64* value) {
    bool ok = false;
    // Digits only (and a leading minus): "+5", " 5" or "5e3" are no numbers of ours.
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!text.at(i).isDigit() && !(i == 0 && text.at(i) == QLatin1Char('-')))
            return false;
    }
    *value = text.toLongLong(&ok);
    return ok && *value >= low && *value <= high;
}

class Parser {
public:
    explicit Parser(RecoveredRace& race) : m_race(race) {}

    // One complete line without its line end; false when it is no record.
    bool take(const QString& line) {
        if (!m_magic)
            return m_magic = line == F::magicLine();
        const qsizetype blank = line.indexOf(QLatin1Char(' '));
        const QString key = line.left(blank);
        const QString rest = blank < 0 ? QString() : line.mid(blank + 1);
        if (key == QLatin1String("kolo"))
            return pass(rest);
        if (key == QLatin1String("seznam"))
            return list(rest);
        if (key == QLatin1String("krok"))
            return step(rest);
        if (key == QLatin1String("start")) {
            const QDateTime start = QDateTime::fromString(rest, F::startFormat());
            if (!start.isValid() || m_race.head.start.isValid())
                return false;
            m_race.head.start = start;
            return true;
        }
        if (key == QLatin1String("minuty")) {
            qint64 minutes = 0;
            if (!number(rest, 0, 59, &minutes))
                return false;
            m_race.head.raceMinutes = int(minutes);
            return true;
        }
        if (key == QLatin1String("cidla")) {
            m_race.head.sensors = rest;
            return true;
        }
        if (key == QLatin1String("jmena")) {
            const QStringList names = rest.split(QLatin1Char('\t'));
            if (names.size() != 4)
                return false;
            std::copy(names.begin(), names.end(), m_race.head.names.begin());
            return true;
        }
        return false;
    }

    bool sawMagic() const { return m_magic; }

private:
    bool pass(const QString& rest) {
        const QStringList fields = rest.split(QLatin1Char(' '));
        qint64 kart = 0, lap = 0, at = 0;
        if (fields.size() != 3 || !number(fields[0], 1, 4, &kart) ||
            !number(fields[1], F::MinLapMs, F::MaxLapMs, &lap) || !number(fields[2], 0, F::MaxPassUs, &at))
            return false;
        m_race.measured[kart - 1] << lap;
        m_race.lists[kart - 1] << FormatLapTime(lap);
        ++m_race.passes;
        return true;
    }

    bool list(const QString& rest) {
        qint64 kart = 0;
        if (rest.size() < 2 || rest.at(1) != QLatin1Char(' ') || !number(rest.left(1), 1, 4, &kart))
            return false;
        const QString entries = rest.mid(2);
        QStringList list = entries.isEmpty() ? QStringList() : entries.split(QLatin1Char('\t'));
        if (list.size() > F::MaxListEntries)
            return false;
        m_race.lists[kart - 1] = list;
        return true;
    }

    bool step(const QString& rest) {
        if (rest == QLatin1String("motohodiny"))
            m_race.engineTimeStored = true;
        else if (rest == QLatin1String("soubory"))
            m_race.lapFilesKept = true;
        else
            return false;
        return true;
    }

    RecoveredRace& m_race;
    bool m_magic = false;
};

[[noreturn]] void unreadable(const QString& path, const QString& why) {
    throw UserError(
        QStringLiteral("Deník závodu \"%1\" nelze přečíst: %2").arg(QDir::toNativeSeparators(path), why));
}

} // namespace

RecoveredRace RaceJournalReader::read(const QString& path) {
    // A device, a FIFO or a folder in the journal's place is never read.
    const QFileInfo info(path);
    if (!info.isFile() || info.isSymLink())
        unreadable(path, QStringLiteral("není to obyčejný soubor."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        unreadable(path, file.errorString());

    RecoveredRace race;
    Parser parser(race);
    qint64 offset = 0;
    for (int lines = 0; !file.atEnd(); ++lines) {
        if (offset >= F::MaxBytes || race.passes >= F::MaxPasses || lines >= F::MaxLines) {
            race.truncated = true;
            break;
        }
        QByteArray line = file.readLine(F::MaxLineBytes + 1);
        if (line.isEmpty() && file.error() != QFileDevice::NoError)
            unreadable(path, file.errorString());
        if (!line.endsWith('\n')) {
            if (file.atEnd()) {
                // Cut off by the end of the file: the record was being written when the power went.
                ++race.tornRecords;
                break;
            }
            // Longer than any record: skipped to its end, a piece at a time.
            qint64 skipped = line.size();
            while (!file.atEnd() && !line.endsWith('\n') && offset + skipped < F::MaxBytes) {
                line = file.readLine(F::MaxLineBytes + 1);
                skipped += line.size();
            }
            offset += skipped;
            if (line.endsWith('\n')) {
                ++race.badRecords;
                race.validBytes = offset;
            }
            continue;
        }
        offset += line.size();
        race.validBytes = offset;
        line.chop(line.endsWith("\r\n") ? 2 : 1);
        if (line.contains('\0') || !parser.take(TextCodec::decode(line)))
            ++race.badRecords;
    }
    if (!parser.sawMagic() || !race.head.start.isValid())
        unreadable(path, QStringLiteral("chybí jeho záhlaví se začátkem závodu."));
    return race;
}
