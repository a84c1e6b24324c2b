#pragma once

#include "platform/StartEntry.h"
#include "platform/XdgPaths.h"

// The start entry as the autostart file "tarvolin.desktop" of the freedesktop.org conventions.
class XdgStartEntry : public StartEntry {
public:
    explicit XdgStartEntry(XdgPaths paths = XdgPaths::fromEnvironment());

    QString filePath() const;

    void setEnabled(bool on, const QString& programPath) override;
    bool isEnabled() const override;

private:
    XdgPaths m_paths;
};
