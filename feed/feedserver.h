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
// With remote control on, it also serves the scorer page at /control and takes
// commands as POST /control/<command> behind a token (see feedcontrol.h); a
// command goes to the game's thread and is answered when the game has taken it
// or said why not, without either thread waiting on the other.

#include "feedconnection.h"
#include "feedcontrol.h"
#include "feedstate.h"

#include <QByteArray>
#include <QHostAddress>
#include <QJsonObject>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QTimer>

#include <functional>

class QTcpServer;
class TimeSource;

class FeedServer : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxConnections = 32;

    // Hands a command to the game; `done` is called back on the server's thread
    // with whether the game took it and, when not, why.
    using CommandDone = std::function<void(bool accepted, const QString& refusal)>;
    using CommandSink = std::function<void(const GameCommand& command, CommandDone done)>;

    // `time` (refusals per address) must outlive the server; the real clock when null.
    explicit FeedServer(const FeedLimits& limits = {}, QObject* parent = nullptr, const TimeSource* time = nullptr);
    ~FeedServer() override;

    void setCommandSink(CommandSink sink) { m_sink = std::move(sink); }
    // Whether commands are taken, and the token they need; from any thread, in
    // force for the next request.
    void setControl(bool enabled, const QByteArray& token);

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
    QByteArray controlPage();
    void checkTimes();
    void control(FeedConnection* connection, const HttpRequest& request);
    bool controlEnabled();

    FeedLimits m_limits;
    const TimeSource& m_time;
    CommandSink m_sink;
    QMutex m_controlMutex;
    bool m_controlEnabled = false;
    QByteArray m_token;
    RefusalTable m_refusals;
    int m_shortReset = 0; // the shot clock's short reset, for the scorer page
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
