#pragma once
// The live feed's server: plain HTTP for the state (JSON, XML, vMix's JSON) and
// the overlay page, a WebSocket at /live that sends the state on connect and on
// every change, with the overlay's shapes on connect and whenever they change.
// It lives on a thread of its own (see Feed), so no client, however slow or
// hostile, costs the score box's refresh anything. Read-only and bounded: GET
// only, requests up to 8 KB arriving whole within a few seconds, at most 32
// connections (a newcomer takes the place of the one that has waited longest
// without a whole request), idle ones closed, and a client that stops reading or
// answering pings is dropped rather than buffered for.

#include "feedconnection.h"
#include "feedstate.h"

#include <QByteArray>
#include <QHostAddress>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QTimer>

class QTcpServer;

class FeedServer : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxConnections = 32;

    explicit FeedServer(const FeedLimits& limits = {}, QObject* parent = nullptr);
    ~FeedServer() override;

    // Listens on `address`:`port` instead of wherever it listened before; returns
    // an empty text, or why it could not (it then serves nothing).
    QString listen(const QHostAddress& address, quint16 port);
    void close();
    bool isListening() const;
    quint16 port() const;

    // The state every request and live client gets from now on; live clients are
    // sent it at once.
    void publish(const FeedState& state);

    int liveClientCount() const;
    int openConnectionCount() const { return int(m_connections.size()); }

private:
    void acceptConnections();
    bool makeRoom();
    void forget(FeedConnection* connection);
    FeedPage page(const QByteArray& path);
    QByteArray stateXml();
    QByteArray stateWithShapes();
    QByteArray overlayPage();
    void checkTimes();

    FeedLimits m_limits;
    QTcpServer* m_listener = nullptr;
    QList<FeedConnection*> m_connections;
    QTimer m_ping;
    QTimer m_sweep;

    QJsonObject m_state;
    QByteArray m_json;
    QByteArray m_xml; // made on the first request after a change
    QByteArray m_vmix; // likewise
    ShownBox m_shapesFrom;
    QJsonObject m_shapes;
    QByteArray m_jsonWithShapes; // made when first needed after a change
    QJsonObject m_pictures;
    QStringList m_pictureIds;
};
