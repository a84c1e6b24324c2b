#include "config/ProgramVersion.h"

QString ProgramVersion::productLine() const {
    return QStringLiteral("Tarvolin verze %1.%2").arg(major).arg(minor);
}

QString ProgramVersion::buildLine() const {
    return QStringLiteral("sestavení %1").arg(build & 0xFFFF);
}
