#include "hardware/PortOptions.h"

PortOptions PortOptions::fromArguments(const QStringList& arguments) {
    PortOptions options;
    const QString flag = QStringLiteral("--simulate");
    for (const QString& argument : arguments) {
        if (argument == flag) {
            options.simulate = true;
            options.scenarioFile.clear();
        } else if (argument.startsWith(flag + QLatin1Char('='))) {
            options.simulate = true;
            options.scenarioFile = argument.mid(flag.size() + 1);
        }
    }
    return options;
}
