#pragma once

#include <QString>

// The program's version as the build stamps it (major.minor.patch.build), and the About window's
// product and build lines made from it.
struct ProgramVersion {
    int major = TARVOLIN_VERSION_MAJOR;
    int minor = TARVOLIN_VERSION_MINOR;
    int patch = TARVOLIN_VERSION_PATCH;
    int build = TARVOLIN_VERSION_BUILD;

    static ProgramVersion current() { return {}; }

    // "Tarvolin verze 2.0"
    QString productLine() const;
    // "sestavení 23": the build number's low 16 bits
    QString buildLine() const;
};
