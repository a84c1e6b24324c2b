#pragma once

#include <QByteArray>
#include <QObject>

#include <memory>

class QHttpServer;

// The hub's page: one panel per track, in the look of the station's live page, and the tracks as JSON
// at "/api/hub", which the page reads every second. It serves nothing else.
class HubServer : public QObject {
    Q_OBJECT
public:
    explicit HubServer(QObject* parent = nullptr);
    ~HubServer() override;

    // Listens on every address; the port taken (port 0: any free one), or 0 when it could not.
    quint16 listen(quint16 port);
    void setTracks(const QByteArray& json) { m_json = json; }

private:
    std::unique_ptr<QHttpServer> m_http;
    QByteArray m_json = "{\"tracks\":[]}";
};
