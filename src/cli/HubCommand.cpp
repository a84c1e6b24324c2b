// hub --server HOST [--port 1883] [--web-port 8080] [--predpona tarvolin]: the tracks' races from an
// MQTT broker on one web page. The page's server is the program tarvolin-hub beside this tool, so
// that the tool itself links no web server for its other commands.
#include "cli/CliCommand.h"
#include "cli/CliParser.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include <cerrno>
#include <cstring>
#include <vector>

#include <unistd.h>

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
    QList<QByteArray> words{hub.toLocal8Bit(),
                            QByteArrayLiteral("--server"),
                            parser.value(server).toLocal8Bit(),
                            QByteArrayLiteral("--port"),
                            QByteArray::number(mqttPort),
                            QByteArrayLiteral("--web-port"),
                            QByteArray::number(pagePort),
                            QByteArrayLiteral("--predpona"),
                            parser.value(prefix).toLocal8Bit()};
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    streams.out.flush();
    streams.err.flush();
    ::execv(argv.front(), argv.data());
    streams.err << "Program tarvolin-hub nelze spustit: " << QString::fromLocal8Bit(std::strerror(errno))
                << "\n";
    return 1;
}
