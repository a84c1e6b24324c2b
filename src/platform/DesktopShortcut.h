#pragma once

#include <QString>

// A launcher of the program on the user's desktop.
class DesktopShortcut {
public:
    virtual ~DesktopShortcut() = default;
    // Creates or overwrites the launcher; throws UserError when that fails.
    virtual void create(const QString& programPath) = 0;
};
