#include "feedserver.h"

#include "control_html.h"
#include "overlay_html.h"
#include "timesource.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>
#include <cstdio>

namespace {

const QByteArray ControlTextType = QByteArrayLiteral("text/plain; charset=utf-8");

} // namespace

FeedServer::FeedServer(const FeedLimits& limits, QObject* parent, const TimeSource* time)
    : QObject(parent)
    , m_limits(limits)
    , m_time(time ? *time : SteadyTimeSource::instance())
    , m_ping(this) // children, so that they move to the feed's thread with the server
    , m_sweep(this)
{
    m_json = QJsonDocument(m_state).toJson(QJsonDocument::Compact);
    m_shapes = feedShapes(m_shapesFrom);
    // Live clients are pinged well within the time they may be silent.
    m_ping.setInterval(std::min(limits.pingIntervalMs, std::max(1, limits.idleTimeoutMs / 3)));
    connect(&m_ping, &QTimer::timeout, this, [this] {
        for (FeedConnection* connection : QList<FeedConnection*>(m_connections))
            connection->ping();
    });
    const int shortest = std::min({limits.idleTimeoutMs, limits.requestTimeoutMs, limits.closingTimeoutMs});
    m_sweep.setInterval(std::clamp(shortest / 4, 1, 250));
    connect(&m_sweep, &QTimer::timeout, this, &FeedServer::checkTimes);
}

FeedServer::~FeedServer()
{
    close();
}

QString FeedServer::listen(const QHostAddress& address, quint16 port)
{
    close();
    auto* listener = new QTcpServer(this);
    if (!listener->listen(address, port)) {
        const QString why = QStringLiteral("Cannot serve the feed on %1 port %2: %3")
                                .arg(address.toString())
                                .arg(port)
                                .arg(listener->errorString());
        delete listener;
        return why;
    }
    connect(listener, &QTcpServer::newConnection, this, &FeedServer::acceptConnections);
    m_listener = listener;
    m_ping.start();
    m_sweep.start();
    return {};
}

void FeedServer::close()
{
    m_ping.stop();
    m_sweep.stop();
    delete std::exchange(m_listener, nullptr);
    for (FeedConnection* connection : std::exchange(m_connections, {})) {
        disconnect(connection, nullptr, this, nullptr);
        connection->end();
        connection->deleteLater();
    }
}

bool FeedServer::isListening() const
{
    return m_listener && m_listener->isListening();
}

quint16 FeedServer::port() const
{
    return isListening() ? m_listener->serverPort() : 0;
}

int FeedServer::liveClientCount() const
{
    return int(std::count_if(m_connections.begin(), m_connections.end(), [](const FeedConnection* c) { return c->isLive(); }));
}

void FeedServer::acceptConnections()
{
    while (m_listener && m_listener->hasPendingConnections()) {
        QTcpSocket* socket = m_listener->nextPendingConnection();
        if (m_connections.size() >= MaxConnections && !makeRoom()) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto* connection = new FeedConnection(
            socket, m_limits, [this](const QByteArray& path) { return page(path); }, this,
            [this](FeedConnection* c, const HttpRequest& request) { control(c, request); });
        connect(connection, &FeedConnection::ended, this, &FeedServer::forget);
        connect(connection, &FeedConnection::becameLive, this,
                [this](FeedConnection* live) { live->sendText(stateWithShapes()); });
        m_connections.append(connection);
    }
}

// With every place taken, the connection that has waited longest for a whole
// request gives way: a client that trickles or holds a connection open cannot
// keep a quick one out. Live clients keep their places.
bool FeedServer::makeRoom()
{
    FeedConnection* longest = nullptr;
    for (FeedConnection* c : m_connections)
        if (c->mayGiveWayToANewcomer() && (!longest || c->waitingSinceMs() < longest->waitingSinceMs()))
            longest = c;
    if (!longest)
        return false;
    longest->end();
    return true;
}

void FeedServer::forget(FeedConnection* connection)
{
    m_connections.removeOne(connection);
    connection->deleteLater();
}

void FeedServer::checkTimes()
{
    const qint64 now = feedClockMs();
    for (FeedConnection* connection : QList<FeedConnection*>(m_connections))
        connection->checkTimes(now);
}

void FeedServer::publish(const FeedState& state)
{
    // The shapes are made, and sent, only when the box's layout changed.
    const bool newShapes = !sameShapes(state.box, m_shapesFrom);
    if (newShapes) {
        m_shapesFrom = state.box;
        m_shapes = feedShapes(state.box);
    }
    m_shortReset = state.config.ShotClockShortTime;
    m_state = feedJson(state);
    m_json = QJsonDocument(m_state).toJson(QJsonDocument::Compact);
    m_xml.clear();
    m_vmix.clear();
    m_jsonWithShapes.clear();
    // Pictures are kept by id; a new one is made into a data address once.
    QStringList ids;
    for (const ShownElement& e : state.box.elements)
        if (e.kind == ShownElement::Kind::Picture)
            ids << QString::number(e.pictureKey);
    if (ids != m_pictureIds) {
        m_pictureIds = ids;
        m_pictures = feedPictures(state.box);
    }
    const QByteArray message = newShapes ? stateWithShapes() : m_json;
    for (FeedConnection* connection : QList<FeedConnection*>(m_connections))
        connection->sendText(message);
}

FeedPage FeedServer::page(const QByteArray& path)
{
    if (path == "/state.json")
        return {"application/json", m_json};
    if (path == "/state.xml")
        return {"application/xml; charset=utf-8", stateXml()};
    if (path == "/vmix.json") {
        if (m_vmix.isEmpty())
            m_vmix = feedVmix(m_state);
        return {"application/json", m_vmix};
    }
    if (path == "/overlay")
        return {"text/html; charset=utf-8", overlayPage()};
    if (path == "/control" && controlEnabled())
        return {"text/html; charset=utf-8", controlPage()};
    return {};
}

QByteArray FeedServer::stateXml()
{
    if (m_xml.isEmpty())
        m_xml = feedXml(m_state);
    return m_xml;
}

QByteArray FeedServer::stateWithShapes()
{
    if (m_jsonWithShapes.isEmpty()) {
        QJsonObject json = m_state;
        json.insert("shapes", m_shapes);
        m_jsonWithShapes = QJsonDocument(json).toJson(QJsonDocument::Compact);
    }
    return m_jsonWithShapes;
}

QByteArray FeedServer::overlayPage()
{
    QByteArray page(OverlayTemplate);
    page.replace("/*STATE*/null", stateWithShapes());
    page.replace("/*PICTURES*/{}", QJsonDocument(m_pictures).toJson(QJsonDocument::Compact));
    return page;
}

QByteArray FeedServer::controlPage()
{
    QByteArray page(ControlTemplate);
    page.replace("/*SHORT*/0", QByteArray::number(m_shortReset));
    return page;
}

void FeedServer::setControl(bool enabled, const QByteArray& token)
{
    QMutexLocker lock(&m_controlMutex);
    m_controlEnabled = enabled && !token.isEmpty();
    m_token = token;
}

bool FeedServer::controlEnabled()
{
    QMutexLocker lock(&m_controlMutex);
    return m_controlEnabled;
}

// The checks go from the cheapest refusal that tells a stranger nothing (too
// many refusals, no or a wrong token) to what only a holder of the token learns.
void FeedServer::control(FeedConnection* connection, const HttpRequest& request)
{
    const auto text = [connection](int status, const QByteArray& body, const QList<QPair<QByteArray, QByteArray>>& headers = {}) {
        connection->answerLater(status, ControlTextType, body + '\n', headers);
    };
    QByteArray token;
    {
        QMutexLocker lock(&m_controlMutex);
        if (!m_controlEnabled) {
            lock.unlock();
            text(404, "Not found");
            return;
        }
        token = m_token;
    }
    const QHostAddress peer = connection->peerAddress();
    const qint64 nowMs = m_time.nowNs() / 1000000;
    if (m_refusals.isBlocked(peer, nowMs)) {
        text(429, "Too many refused requests; try again in a minute", {{"Retry-After", "60"}});
        return;
    }
    if (!sameSecret(requestToken(request), token)) {
        m_refusals.refuse(peer, nowMs);
        text(401, "A valid token is needed", {{"WWW-Authenticate", "Bearer"}});
        return;
    }
    const QByteArray name = request.path.mid(int(sizeof "/control/") - 1);
    const ControlParse parsed = parseControlCommand(name, request.query);
    if (parsed.status == 404) {
        text(404, "No such command");
        return;
    }
    if (request.method != "POST") {
        text(405, "Only POST", {{"Allow", "POST"}});
        return;
    }
    if (!parsed.command) {
        text(parsed.status, parsed.reason.toUtf8());
        return;
    }
    if (!m_sink) {
        text(503, "No game is running");
        return;
    }
    m_sink(*parsed.command, [this, connection = QPointer<FeedConnection>(connection), name, peer,
                             query = queryWithoutToken(request.query)](bool accepted, const QString& refusal) {
        if (!accepted) {
            if (connection)
                connection->answerLater(422, ControlTextType, refusal.toUtf8() + '\n');
            return;
        }
        // Who changed the game from afar, and how; never the token.
        std::fprintf(stderr, "tallivox: %s remote command from %s: %s%s\n",
                     qPrintable(QDateTime::currentDateTime().toString(Qt::ISODate)), qPrintable(peer.toString()),
                     name.constData(), query.isEmpty() ? "" : ("?" + query).constData());
        if (connection)
            connection->answerLater(200, "application/json", m_json);
    });
}
