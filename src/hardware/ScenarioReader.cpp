#include "hardware/ScenarioReader.h"

#include "base/MessageText.h"
#include "base/UserError.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringTokenizer>

#include <algorithm>

namespace {

QString lineMessage(int line, const QString& message) {
    return QStringLiteral("řádek %1: %2").arg(line).arg(message);
}

bool parseTime(const QString& text, qint64& ms) {
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    bool ok = false;
    ms = text.toLongLong(&ok);
    return ok && ms <= ScenarioReader::MaxTimeMs;
}

} // namespace

QList<ScenarioEvent> ScenarioReader::parse(const QString& text, QList<LineError>* errors, int* errorCount) {
    QList<ScenarioEvent> events;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    int failures = 0;
    // A file of millions of bad lines costs one counter, not millions of messages.
    auto fail = [&](int line, const QString& message) {
        if (errors && failures < MaxNamedErrors)
            errors->append({line, message});
        ++failures;
    };

    int lineNumber = 0;
    for (const QStringView view : QStringTokenizer{text, u'\n'}) {
        ++lineNumber;
        QString line = view.toString();
        const qsizetype comment = line.indexOf(QLatin1Char('#'));
        if (comment >= 0)
            line.truncate(comment);
        const QStringList fields = line.split(blanks, Qt::SkipEmptyParts);
        if (fields.isEmpty())
            continue;

        qint64 atMs = 0;
        if (!parseTime(fields.at(0), atMs)) {
            fail(lineNumber, QStringLiteral("čas „%1“ není nezáporný celý počet milisekund do sedmi dnů")
                                 .arg(shortenedForMessage(fields.at(0))));
            continue;
        }
        if (fields.size() < 2) {
            fail(lineNumber, QStringLiteral("za časem chybí příkaz (pass, start, press nebo release)"));
            continue;
        }
        const QString command = fields.at(1).toLower();
        const int argumentCount = command == QStringLiteral("pass") ? 1 : 0;
        if (command != QStringLiteral("pass") && command != QStringLiteral("start") &&
            command != QStringLiteral("press") && command != QStringLiteral("release")) {
            fail(lineNumber, QStringLiteral("neznámý příkaz „%1“ (platí pass, start, press, release)")
                                 .arg(shortenedForMessage(fields.at(1))));
            continue;
        }
        if (command == QStringLiteral("pass")) {
            bool ok = false;
            const int kart = fields.size() >= 3 ? fields.at(2).toInt(&ok) : 0;
            if (!ok || kart < 1 || kart > 4) {
                fail(lineNumber, QStringLiteral("příkaz pass potřebuje číslo káry 1 až 4"));
                continue;
            }
            qint64 holdMs = 0;
            if (fields.size() >= 4) {
                holdMs = fields.at(3).toLongLong(&ok);
                if (!ok || holdMs < 1 || holdMs > MaxHoldMs) {
                    fail(lineNumber, QStringLiteral("doba průjezdu „%1“ není 1 až %2 ms")
                                         .arg(shortenedForMessage(fields.at(3)))
                                         .arg(MaxHoldMs));
                    continue;
                }
            }
            if (fields.size() > 4) {
                fail(lineNumber, QStringLiteral("nadbytečný text „%1“")
                                     .arg(shortenedForMessage(fields.mid(4).join(QLatin1Char(' ')))));
                continue;
            }
            events.append({atMs, ScenarioEvent::Pass, kart, holdMs});
            continue;
        }
        if (fields.size() > 2 + argumentCount) {
            fail(lineNumber, QStringLiteral("nadbytečný text „%1“")
                                 .arg(shortenedForMessage(fields.mid(2).join(QLatin1Char(' ')))));
            continue;
        }
        if (command == QStringLiteral("start")) {
            events.append({atMs, ScenarioEvent::Press, 0});
            events.append({atMs + StartPressMs, ScenarioEvent::Release, 0});
        } else {
            events.append({atMs,
                           command == QStringLiteral("press") ? ScenarioEvent::Press : ScenarioEvent::Release,
                           0});
        }
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const ScenarioEvent& a, const ScenarioEvent& b) { return a.atMs < b.atMs; });
    if (errorCount)
        *errorCount = failures;
    return events;
}

QList<ScenarioEvent> ScenarioReader::readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw UserError(
            QStringLiteral("Scénář virtuální tratě „%1“ nelze otevřít: %2").arg(path, file.errorString()));
    // Read with a limit: a device such as /dev/zero never ends.
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (bytes.size() > MaxFileBytes)
        throw UserError(QStringLiteral("Scénář virtuální tratě „%1“ je větší než %2 MB.")
                            .arg(path)
                            .arg(MaxFileBytes / (1024 * 1024)));
    QList<LineError> errors;
    int errorCount = 0;
    const QList<ScenarioEvent> events = parse(QString::fromUtf8(bytes), &errors, &errorCount);
    if (errorCount > 0) {
        QStringList lines;
        for (const LineError& error : errors)
            lines.append(lineMessage(error.line, error.message));
        if (errorCount > MaxNamedErrors)
            lines.append(QStringLiteral("… celkem %1 chybných řádků").arg(errorCount));
        throw UserError(QStringLiteral("Chybný scénář virtuální tratě „%1“:\n%2")
                            .arg(path, lines.join(QLatin1Char('\n'))));
    }
    return events;
}
