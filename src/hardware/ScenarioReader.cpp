#include "hardware/ScenarioReader.h"

#include "base/MessageText.h"
#include "base/UserError.h"

#include <QFile>
#include <QRegularExpression>

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

QList<ScenarioEvent> ScenarioReader::parse(const QString& text, QList<LineError>* errors) {
    QList<ScenarioEvent> events;
    const QStringList lines = text.split(QLatin1Char('\n'));
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    auto fail = [&](int line, const QString& message) {
        if (errors)
            errors->append({line, message});
    };

    for (int index = 0; index < lines.size(); ++index) {
        const int lineNumber = index + 1;
        QString line = lines.at(index);
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
    const QList<ScenarioEvent> events = parse(QString::fromUtf8(bytes), &errors);
    if (!errors.isEmpty()) {
        QStringList lines;
        for (const LineError& error : errors.mid(0, MaxNamedErrors))
            lines.append(lineMessage(error.line, error.message));
        if (errors.size() > MaxNamedErrors)
            lines.append(QStringLiteral("… celkem %1 chybných řádků").arg(errors.size()));
        throw UserError(QStringLiteral("Chybný scénář virtuální tratě „%1“:\n%2")
                            .arg(path, lines.join(QLatin1Char('\n'))));
    }
    return events;
}
