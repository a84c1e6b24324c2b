#pragma once

#include <QString>

// Asks the operating system to restart the computer now.
class SystemRestart {
public:
    virtual ~SystemRestart() = default;
    // An empty text when the restart was accepted, else why not.
    virtual QString restartNow() = 0;
};

// "systemctl reboot": allowed to root and, through the system's policy, to the user at the console.
class SystemctlRestart : public SystemRestart {
public:
    QString restartNow() override;
};
