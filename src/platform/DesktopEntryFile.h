#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Writes a freedesktop.org ".desktop" file: the launcher on the desktop and the start entry both
// are such files. Values are escaped here, so callers pass plain texts.
class DesktopEntryFile {
public:
    void add(const QString& key, const QString& plainValue);
    // The Exec key of a program and its arguments, each quoted as the convention asks.
    void addExec(const QString& programPath, const QStringList& arguments = {});

    // Writes atomically; throws UserError with a Czech message when the file cannot be written.
    void save(const QString& path, bool executable) const;

    QByteArray content() const;

    static QString escapeValue(const QString& plain);
    static QString quoteExecArgument(const QString& argument);

private:
    QList<QPair<QString, QString>> m_entries; // key, escaped value
};
