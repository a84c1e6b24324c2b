#include "platform/DesktopEntryFile.h"

#include "base/UserError.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

void DesktopEntryFile::add(const QString& key, const QString& plainValue) {
    m_entries.append({key, escapeValue(plainValue)});
}

void DesktopEntryFile::addExec(const QString& programPath, const QStringList& arguments) {
    // Quoting comes first, then the general escaping of string values (which doubles backslashes).
    QString exec = quoteExecArgument(programPath);
    for (const QString& argument : arguments)
        exec += QLatin1Char(' ') + quoteExecArgument(argument);
    exec.replace(QLatin1Char('%'), QStringLiteral("%%"));
    m_entries.append({QStringLiteral("Exec"), escapeValue(exec)});
}

QString DesktopEntryFile::escapeValue(const QString& plain) {
    QString out;
    out.reserve(plain.size());
    for (const QChar c : plain) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString DesktopEntryFile::quoteExecArgument(const QString& argument) {
    QString out = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        out += c;
    }
    out += QLatin1Char('"');
    return out;
}

QByteArray DesktopEntryFile::content() const {
    QString text = QStringLiteral("[Desktop Entry]\n");
    for (const auto& [key, value] : m_entries)
        text += key + QLatin1Char('=') + value + QLatin1Char('\n');
    return text.toUtf8();
}

void DesktopEntryFile::save(const QString& path, bool executable) const {
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        throw UserError(
            QStringLiteral("Nelze vytvořit složku %1").arg(QDir::toNativeSeparators(info.absolutePath())));
    QSaveFile file(path);
    const QByteArray bytes = content();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw UserError(QStringLiteral("Nelze zapsat soubor %1").arg(QDir::toNativeSeparators(path)));
    if (executable) {
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser |
                                        QFile::ExeGroup | QFile::ExeOther);
    }
}
