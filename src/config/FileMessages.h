#pragma once

#include <QDir>
#include <QString>

// The system's messages for a data file that cannot be read or written, with the reason the system
// gives.
inline QString cannotOpenFileMessage(const QString& path, const QString& reason) {
    return QStringLiteral("Soubor „%1“ nelze otevřít. %2").arg(QDir::toNativeSeparators(path), reason);
}

inline QString cannotCreateFileMessage(const QString& path, const QString& reason) {
    return QStringLiteral("Soubor „%1“ nelze vytvořit. %2").arg(QDir::toNativeSeparators(path), reason);
}
