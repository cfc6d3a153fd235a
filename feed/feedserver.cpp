#include "feedserver.h"

#include "overlay_html.h"

#include <QAbstractHttpServer>
#include <QDateTime>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QWebSocket>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

const QByteArray JsonType = QByteArrayLiteral("application/json");
const QByteArray XmlType = QByteArrayLiteral("application/xml; charset=utf-8");
const QByteArray HtmlType = QByteArrayLiteral("text/html; charset=utf-8");

// What each accepted connection is watched for.
struct Watch {
    qint64 unanswered = 0; // request bytes since the last answer went out
    qint64 lastActivityMs = 0;
};

qint64 nowMs() { return QDateTime::currentMSecsSinceEpoch(); }


// Answers and closes a connection that broke a limit, without the HTTP server.
void refuse(QTcpSocket* socket, const QByteArray& status)
{
    QObject::disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
    socket->readAll();
    socket->write("HTTP/1.1 " + status + "\r\nConnection: close\r\nContent-Length: 0\r\n\r\n");
    socket->disconnectFromHost();
    // One that does not take even that goes at once.
    QTimer::singleShot(1000, socket, [socket] { socket->abort(); });
}

} // namespace

// Accepts at most MaxConnections at once and watches each accepted one for the
// request size, what it leaves unread, and idleness, before the HTTP server sees it.
class FeedServer::Listener : public QTcpServer
{
public:
    // `isLive`: whether a connection has become a live client, which is never idle.
    Listener(QObject* parent, int idleTimeoutMs, std::function<bool(const QTcpSocket&)> isLive)
        : QTcpServer(parent)
        , m_idleTimeoutMs(idleTimeoutMs)
        , m_isLive(std::move(isLive))
    {
        m_sweep.setInterval(std::max(1, std::min(1000, idleTimeoutMs / 4)));
        QObject::connect(&m_sweep, &QTimer::timeout, this, [this] { closeIdle(); });
        m_sweep.start();
    }

    int openCount() const { return *m_open; }

protected:
    void incomingConnection(qintptr handle) override
    {
        auto* socket = new QTcpSocket(this);
        if (!socket->setSocketDescriptor(handle)) {
            delete socket;
            return;
        }
        if (*m_open >= MaxConnections) {
            socket->abort();
            socket->deleteLater();
            return;
        }
        ++*m_open;
        // Small messages go out at once rather than waiting on the client's
        // acknowledgement of the last one (tens of milliseconds).
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        // Counted down through a shared counter: a socket may outlive its listener.
        QObject::connect(socket, &QObject::destroyed, [open = m_open] { --*open; });
        auto watch = std::make_shared<Watch>();
        watch->lastActivityMs = nowMs();
        m_watched.append({socket, watch});
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, watch] {
            watch->lastActivityMs = nowMs();
            watch->unanswered += socket->bytesAvailable();
            if (watch->unanswered > MaxRequestBytes)
                refuse(socket, QByteArrayLiteral("413 Content Too Large"));
            else if (socket->bytesToWrite() > MaxUnsentBytes)
                socket->abort();
        });
        QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [watch] {
            watch->unanswered = 0;
            watch->lastActivityMs = nowMs();
        });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        addPendingConnection(socket);
    }

private:
    void closeIdle()
    {
        const qint64 now = nowMs();
        for (auto it = m_watched.begin(); it != m_watched.end();) {
            if (!it->first) {
                it = m_watched.erase(it);
                continue;
            }
            if (now - it->second->lastActivityMs > m_idleTimeoutMs && !m_isLive(*it->first))
                it->first->abort();
            ++it;
        }
    }

    int m_idleTimeoutMs;
    std::function<bool(const QTcpSocket&)> m_isLive;
    std::shared_ptr<int> m_open = std::make_shared<int>(0);
    QList<std::pair<QPointer<QTcpSocket>, std::shared_ptr<Watch>>> m_watched;
    QTimer m_sweep;
};

class FeedServer::Http : public QAbstractHttpServer
{
public:
    explicit Http(FeedServer& feed)
        : m_feed(feed)
    {
    }

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override
    {
        const QString path = request.url().path();
        // An upgrade is taken over by the WebSocket server once this says it is
        // handled; a word written here would reach the client before its 101.
        if (path == QLatin1String("/live") && request.method() == QHttpServerRequest::Method::Get
            && request.value(QByteArrayLiteral("upgrade")).compare(QByteArrayLiteral("websocket"), Qt::CaseInsensitive) == 0)
            return true;
        QHttpServerResponder responder = makeResponder(request, socket);
        QByteArray body;
        QByteArray type;
        if (path == QLatin1String("/state.json")) {
            body = m_feed.stateJson();
            type = JsonType;
        } else if (path == QLatin1String("/state.xml")) {
            body = m_feed.stateXml();
            type = XmlType;
        } else if (path == QLatin1String("/overlay")) {
            body = m_feed.overlayPage();
            type = HtmlType;
        } else if (path != QLatin1String("/live")) {
            responder.write(QByteArrayLiteral("Not found\n"), {{"Content-Type", "text/plain"}},
                            QHttpServerResponder::StatusCode::NotFound);
            return true;
        }
        if (request.method() != QHttpServerRequest::Method::Get) {
            responder.write(QByteArrayLiteral("Only GET\n"), {{"Content-Type", "text/plain"}, {"Allow", "GET"}},
                            QHttpServerResponder::StatusCode::MethodNotAllowed);
        } else if (type.isEmpty()) {
            responder.write(QByteArrayLiteral("A WebSocket is served here\n"), {{"Content-Type", "text/plain"}},
                            QHttpServerResponder::StatusCode::UpgradeRequired);
        } else {
            // Video software on another machine or page reads it too, and never a stale copy.
            responder.write(body, {{"Content-Type", type}, {"Cache-Control", "no-store"}, {"Access-Control-Allow-Origin", "*"}},
                            QHttpServerResponder::StatusCode::Ok);
        }
        return true;
    }

    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override
    {
        makeResponder(request, socket).write(QHttpServerResponder::StatusCode::NotFound);
    }

private:
    FeedServer& m_feed;
};

FeedServer::FeedServer(int idleTimeoutMs, QObject* parent)
    : QObject(parent)
    , m_ping(this) // a child, so that it moves to the feed's thread with the server
    , m_idleTimeoutMs(idleTimeoutMs)
{
    m_json = QJsonDocument(m_state).toJson(QJsonDocument::Compact);
    // Live clients are pinged well within the idle time, so that they never count as idle.
    m_ping.setInterval(std::min(PingIntervalMs, std::max(1, idleTimeoutMs / 3)));
    connect(&m_ping, &QTimer::timeout, this, &FeedServer::pingLiveClients);
}

FeedServer::~FeedServer()
{
    close();
}

QString FeedServer::listen(const QHostAddress& address, quint16 port)
{
    close();
    auto http = std::make_unique<Http>(*this);
    // A live client is known by its address and port: the WebSocket server takes
    // its connection over and says nothing of it.
    auto* listener = new Listener(http.get(), m_idleTimeoutMs, [this](const QTcpSocket& socket) {
        return std::any_of(m_live.begin(), m_live.end(), [&socket](const QWebSocket* client) {
            return client->peerPort() == socket.peerPort() && client->peerAddress() == socket.peerAddress();
        });
    });
    if (!listener->listen(address, port))
        return QStringLiteral("Cannot serve the feed on %1 port %2: %3")
            .arg(address.toString())
            .arg(port)
            .arg(listener->errorString());
    http->bind(listener);
    connect(http.get(), &QAbstractHttpServer::newWebSocketConnection, this, &FeedServer::takeLiveClients);
    m_http = std::move(http);
    m_listener = listener;
    m_ping.start();
    return {};
}

void FeedServer::close()
{
    m_ping.stop();
    for (QWebSocket* client : std::exchange(m_live, {})) {
        client->abort();
        client->deleteLater();
    }
    m_listener = nullptr;
    m_http.reset();
}

bool FeedServer::isListening() const
{
    return m_listener && m_listener->isListening();
}

quint16 FeedServer::port() const
{
    return isListening() ? m_listener->serverPort() : 0;
}

int FeedServer::openConnectionCount() const
{
    return m_listener ? m_listener->openCount() : 0;
}

void FeedServer::publish(const FeedState& state)
{
    m_state = feedJson(state);
    m_json = QJsonDocument(m_state).toJson(QJsonDocument::Compact);
    m_jsonText = QString::fromUtf8(m_json);
    m_xml.clear();
    // Pictures are kept by id; a new one is made into a data address once.
    QStringList ids;
    for (const ShownElement& e : state.box.elements)
        if (e.kind == ShownElement::Kind::Picture)
            ids << QString::number(e.pictureKey);
    if (ids != m_pictureIds) {
        m_pictureIds = ids;
        m_pictures = feedPictures(state.box);
    }
    for (QWebSocket* client : QList<QWebSocket*>(m_live))
        send(client);
}

QByteArray FeedServer::stateXml()
{
    if (m_xml.isEmpty())
        m_xml = feedXml(m_state);
    return m_xml;
}

QByteArray FeedServer::overlayPage()
{
    QByteArray page(OverlayTemplate);
    page.replace("/*STATE*/null", m_json);
    page.replace("/*PICTURES*/{}", QJsonDocument(m_pictures).toJson(QJsonDocument::Compact));
    return page;
}

void FeedServer::takeLiveClients()
{
    while (m_http && m_http->hasPendingWebSocketConnections()) {
        QWebSocket* client = m_http->nextPendingWebSocketConnection().release();
        client->setParent(this);
        client->setMaxAllowedIncomingMessageSize(MaxRequestBytes);
        client->setMaxAllowedIncomingFrameSize(MaxRequestBytes);
        if (client->requestUrl().path() != QLatin1String("/live")) {
            client->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("Only /live"));
            client->deleteLater();
            continue;
        }
        connect(client, &QWebSocket::disconnected, this, [this, client] { drop(client); });
        m_live.append(client);
        send(client);
    }
}

void FeedServer::send(QWebSocket* client)
{
    if (client->bytesToWrite() > MaxUnsentBytes) {
        drop(client);
        return;
    }
    client->sendTextMessage(m_jsonText);
}

void FeedServer::drop(QWebSocket* client)
{
    if (!m_live.removeOne(client))
        return;
    client->abort();
    client->deleteLater();
}

void FeedServer::pingLiveClients()
{
    for (QWebSocket* client : QList<QWebSocket*>(m_live)) {
        if (client->bytesToWrite() > MaxUnsentBytes)
            drop(client);
        else
            client->ping();
    }
}
