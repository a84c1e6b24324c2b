#pragma once

#include "platform/StartEntry.h"
#include "platform/XdgPaths.h"

#include <QStringList>

// The start entry as the autostart file "tarvolin.desktop" of the freedesktop.org conventions.
class XdgStartEntry : public StartEntry {
public:
    explicit XdgStartEntry(XdgPaths paths = XdgPaths::fromEnvironment());

    QString filePath() const;

    void setEnabled(bool on, const QString& programPath) override;
    bool isEnabled() const override;

    // What the program was started with that the launched program must get too (the data folder).
    void setProgramArguments(const QStringList& arguments) { m_arguments = arguments; }

private:
    XdgPaths m_paths;
    QStringList m_arguments;
};
