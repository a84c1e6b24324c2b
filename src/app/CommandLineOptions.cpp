#include "app/CommandLineOptions.h"

#include "base/MessageText.h"
#include "base/UserError.h"

#include <QDir>

namespace {

const QString kData = QStringLiteral("--data");
const QString kSimulate = QStringLiteral("--simulate");

// "--name=value" gives value; anything else gives a null string.
QString valueAfterEquals(const QString& argument, const QString& name) {
    if (argument.startsWith(name + QLatin1Char('=')))
        return argument.mid(name.size() + 1);
    return QString();
}

} // namespace

QString CommandLineOptions::dataFolderOr(const QString& programFolder) const {
    if (dataFolder.isEmpty())
        return programFolder;
    return QDir::cleanPath(QDir(dataFolder).absolutePath());
}

PortOptions CommandLineOptions::port() const {
    PortOptions options;
    options.simulate = simulate;
    options.scenarioFile = scenarioFile;
    return options;
}

void CommandLineOptions::requireTextArguments(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        const QString text = QString::fromLocal8Bit(bytes);
        if (text.toLocal8Bit() != bytes)
            throw UserError(QStringLiteral("Parametr \"%1\" není platný text, složku s daty podle něj nelze "
                                           "najít. Stanice se nespustí.")
                                .arg(shortenedForMessage(text)));
    }
}

CommandLineOptions CommandLineOptions::parse(const QStringList& arguments) {
    CommandLineOptions options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == kData) {
            if (i + 1 < arguments.size())
                options.dataFolder = arguments.at(++i);
            else
                options.unknown.append(argument);
        } else if (argument.startsWith(kData + QLatin1Char('='))) {
            options.dataFolder = valueAfterEquals(argument, kData);
        } else if (argument == kSimulate) {
            options.simulate = true;
            options.scenarioFile.clear();
        } else if (argument.startsWith(kSimulate + QLatin1Char('='))) {
            options.simulate = true;
            options.scenarioFile = valueAfterEquals(argument, kSimulate);
        } else {
            options.unknown.append(argument);
        }
    }
    return options;
}
