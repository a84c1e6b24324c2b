#pragma once

#include "platform/ShellOpen.h"

class DesktopShellOpen : public ShellOpen {
public:
    bool openUrl(const QUrl& url) override;
    bool startDetached(const QString& program, const QString& workingFolder) override;
};
