#pragma once

#include "platform/DesktopShortcut.h"
#include "platform/XdgPaths.h"

#include <QStringList>

// The desktop launcher as an executable ".desktop" file in the user's desktop folder.
class XdgDesktopShortcut : public DesktopShortcut {
public:
    explicit XdgDesktopShortcut(XdgPaths paths = XdgPaths::fromEnvironment());

    static QString fileName() { return QStringLiteral("Tarvolin ver. 2.0 Final.desktop"); }
    QString filePath() const;

    void create(const QString& programPath) override;

    // What the program was started with that the launched program must get too (the data folder).
    void setProgramArguments(const QStringList& arguments) { m_arguments = arguments; }

private:
    XdgPaths m_paths;
    QStringList m_arguments;
};
