#pragma once

#include <QString>

// The entry that starts the program when the user logs in.
class StartEntry {
public:
    virtual ~StartEntry() = default;
    // On: writes the entry for programPath (replacing an older one). Off: removes it if present.
    // Throws UserError when that fails.
    virtual void setEnabled(bool on, const QString& programPath) = 0;
    virtual bool isEnabled() const = 0;
};
