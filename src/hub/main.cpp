// tarvolin-hub: the tracks' races from an MQTT broker on one page. Started by "tarvolin-cli hub",
// which has checked its command line; it is a program of its own so that the command-line tool links
// no web server.
#include "hub/HubServer.h"
#include "hub/HubSubscriber.h"
#include "hub/HubTracks.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption server(QStringLiteral("server"), QString(), QStringLiteral("HOST"));
    const QCommandLineOption port(QStringLiteral("port"), QString(), QStringLiteral("PORT"),
                                  QStringLiteral("1883"));
    const QCommandLineOption webPort(QStringLiteral("web-port"), QString(), QStringLiteral("PORT"),
                                     QStringLiteral("8080"));
    const QCommandLineOption prefix(QStringLiteral("predpona"), QString(), QStringLiteral("TEXT"),
                                    QStringLiteral("tarvolin"));
    parser.addOptions({server, port, webPort, prefix});
    QTextStream err(stderr);
    QTextStream out(stdout);
    if (!parser.parse(app.arguments()) || !parser.isSet(server)) {
        err << "Použití: tarvolin-cli hub --server HOST [--port 1883] [--web-port 8080] [--predpona "
               "tarvolin]\n";
        return 2;
    }
    MqttConnection connection;
    connection.host = parser.value(server);
    connection.port = parser.value(port).toInt();
    connection.prefix = parser.value(prefix);

    HubTracks tracks(connection.prefix);
    HubServer page;
    const quint16 listening = page.listen(quint16(parser.value(webPort).toUInt()));
    if (listening == 0) {
        err << "Stránku nelze zveřejnit na portu " << parser.value(webPort) << ".\n";
        return 1;
    }
    HubSubscriber subscriber(connection, HubTracks::MaxPayloadBytes);
    QObject::connect(&subscriber, &HubSubscriber::received, &page,
                     [&tracks, &page](const QString& topic, const QByteArray& payload) {
                         if (tracks.take(topic, payload))
                             page.setTracks(tracks.json());
                     });
    QString why;
    if (!subscriber.start(&why)) {
        err << "Nelze se připojit k serveru MQTT " << connection.host << ": " << why << "\n";
        return 1;
    }
    out << "Stránka tratí: http://localhost:" << listening << "/\n";
    out.flush();
    return app.exec();
}
