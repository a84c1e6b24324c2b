#pragma once

#include <QString>
#include <QUrl>

// The desktop shell's open actions: a URL (a new mail message for "mailto:") and a program started
// on its own, whose result nobody waits for.
class ShellOpen {
public:
    virtual ~ShellOpen() = default;
    virtual bool openUrl(const QUrl& url) = 0;
    virtual bool startDetached(const QString& program, const QString& workingFolder) = 0;
};
