// hub --server HOST [--port 1883] [--web-port 8080] [--predpona tarvolin]: the tracks' races from an
// MQTT broker on one web page. The page's server is the program tarvolin-hub beside this tool, so
// that the tool itself links no web server for its other commands.
#include "cli/CliCommand.h"
#include "cli/CliParser.h"
#include "platform/ProcessReplacement.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

int runHubCommand(const QStringList& args, CliStreams& streams) {
    CliParser parser(runHubCommand, QString());
    const QCommandLineOption server(QStringLiteral("server"), QStringLiteral("server MQTT"),
                                    QStringLiteral("HOST"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("port serveru MQTT (1883)"),
                                  QStringLiteral("PORT"), QStringLiteral("1883"));
    const QCommandLineOption webPort(QStringLiteral("web-port"), QStringLiteral("port webové stránky (8080)"),
                                     QStringLiteral("PORT"), QStringLiteral("8080"));
    const QCommandLineOption prefix(QStringLiteral("predpona"), QStringLiteral("předpona témat (tarvolin)"),
                                    QStringLiteral("TEXT"), QStringLiteral("tarvolin"));
    for (const QCommandLineOption& option : {server, port, webPort, prefix})
        parser.addOption(option);
    const int parsed = parser.parse(args, streams);
    if (parsed >= 0)
        return parsed;
    if (!parser.isSet(server))
        return parser.usageError(QStringLiteral("Chybí --server."), streams);
    bool portOk = false, webOk = false;
    const uint mqttPort = parser.value(port).toUInt(&portOk);
    const uint pagePort = parser.value(webPort).toUInt(&webOk);
    if (!portOk || !webOk || mqttPort == 0 || mqttPort > 65535 || pagePort > 65535)
        return parser.usageError(QStringLiteral("Port musí být číslo 1 až 65535."), streams);
    if (!parser.arguments().isEmpty())
        return parser.usageError(
            QStringLiteral("Nadbytečné argumenty: ") + parser.arguments().join(QLatin1Char(' ')), streams);
    const QString hub = QCoreApplication::applicationDirPath() + QStringLiteral("/tarvolin-hub");
    if (!QFileInfo(hub).isExecutable()) {
        streams.err << "Program tarvolin-hub chybí vedle tarvolin-cli.\n";
        return 1;
    }
    // The hub takes this process's place, so that a signal to it (a service manager's stop, for one)
    // ends the hub and leaves no child behind.
    const QStringList arguments{QStringLiteral("--server"),   parser.value(server),
                                QStringLiteral("--port"),     QString::number(mqttPort),
                                QStringLiteral("--web-port"), QString::number(pagePort),
                                QStringLiteral("--predpona"), parser.value(prefix)};
    streams.out.flush();
    streams.err.flush();
    const QString why = ProcessReplacement::replaceWith(hub, arguments);
    streams.err << "Program tarvolin-hub nelze spustit: " << why << "\n";
    return 1;
}
