#include "feedconnection.h"

#include <QTcpSocket>

#include <chrono>

namespace {

const QByteArray TextType = QByteArrayLiteral("text/plain; charset=utf-8");

} // namespace

qint64 feedClockMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool isAllowedOrigin(const QByteArray& origin, const QHostAddress& local, quint16 localPort)
{
    if (origin.isEmpty() || origin == "null")
        return true;
    if (!origin.startsWith("http://"))
        return false;
    const QByteArray hostAndPort = origin.mid(7).toLower();
    // "[::1]:47800" or "127.0.0.1:47800"; a page always names a port other than 80.
    const qsizetype colon = hostAndPort.lastIndexOf(':');
    if (colon <= 0 || hostAndPort.endsWith(']'))
        return localPort == 80 && isAllowedOrigin(origin + ":80", local, localPort);
    bool ok = false;
    const uint port = hostAndPort.mid(colon + 1).toUInt(&ok);
    if (!ok || port != localPort)
        return false;
    QByteArray host = hostAndPort.left(colon);
    if (host.startsWith('[') && host.endsWith(']'))
        host = host.mid(1, host.size() - 2);
    if (host == "localhost")
        return local.isLoopback();
    // Only an address: a name could be anyone's that points at this computer.
    const QHostAddress named(QString::fromLatin1(host));
    return !named.isNull() && named.isEqual(local, QHostAddress::TolerantConversion);
}

FeedConnection::FeedConnection(QTcpSocket* socket, const FeedLimits& limits, Pages pages, QObject* parent,
                               Control control)
    : QObject(parent)
    , m_socket(socket)
    , m_limits(limits)
    , m_pages(std::move(pages))
    , m_control(std::move(control))
    , m_requests(limits.maxRequestBytes)
    , m_frames(limits.maxRequestBytes)
    , m_lastActivityMs(feedClockMs())
    , m_lastHeardMs(m_lastActivityMs)
{
    m_socket->setParent(this);
    // What the client sends is taken a bounded piece at a time.
    m_socket->setReadBufferSize(limits.maxRequestBytes * 2);
    // Small messages go out at once rather than waiting on the client's
    // acknowledgement of the last one (tens of milliseconds).
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(m_socket, &QTcpSocket::readyRead, this, &FeedConnection::readAvailable);
    connect(m_socket, &QTcpSocket::bytesWritten, this, [this] { m_lastActivityMs = feedClockMs(); });
    connect(m_socket, &QTcpSocket::disconnected, this, &FeedConnection::end);
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this] {
        if (m_socket->state() == QAbstractSocket::UnconnectedState)
            end();
    });
}

qint64 FeedConnection::waitingSinceMs() const
{
    return m_requestStartedMs >= 0 ? m_requestStartedMs : m_lastActivityMs;
}

QHostAddress FeedConnection::peerAddress() const
{
    return m_socket->peerAddress();
}

void FeedConnection::readAvailable()
{
    while ((m_state == State::Http && !m_awaiting) || m_state == State::Live) {
        const QByteArray bytes = m_socket->read(m_limits.maxRequestBytes);
        if (bytes.isEmpty())
            return;
        m_lastActivityMs = m_lastHeardMs = feedClockMs();
        if (m_state == State::Http)
            readRequests(bytes);
        else
            readFrames(bytes);
    }
    // What a closing connection still sends is not listened to.
    if (m_state == State::Closing)
        m_socket->readAll();
}

void FeedConnection::readRequests(const QByteArray& bytes)
{
    if (m_requestStartedMs < 0)
        m_requestStartedMs = feedClockMs();
    for (auto status = m_requests.append(bytes); m_state == State::Http && !m_awaiting; status = m_requests.status()) {
        switch (status) {
        case HttpRequestReader::Status::Incomplete:
            if (!m_requests.hasPartialRequest())
                m_requestStartedMs = -1;
            return;
        case HttpRequestReader::Status::TooLarge:
            closeAfter(httpResponse(413, TextType, "Request too large\n", false));
            return;
        case HttpRequestReader::Status::Malformed:
            closeAfter(httpResponse(400, TextType, "Bad request\n", false));
            return;
        case HttpRequestReader::Status::Complete:
            // The next request's time starts with its own first byte.
            m_requestStartedMs = feedClockMs();
            answer(m_requests.take());
            break;
        }
    }
}

void FeedConnection::answer(const HttpRequest& request)
{
    const bool keepAlive = request.keepsAlive();
    const auto reply = [&](int status, const QByteArray& type, const QByteArray& body,
                           const QList<QPair<QByteArray, QByteArray>>& headers = {}) {
        const QByteArray bytes = httpResponse(status, type, body, keepAlive, headers);
        if (keepAlive)
            write(bytes);
        else
            closeAfter(bytes);
    };
    const bool isGet = request.method == "GET";
    if (m_control && request.path.startsWith("/control/")) {
        m_awaiting = true;
        m_answerKeepsAlive = keepAlive;
        m_awaitingSinceMs = feedClockMs();
        m_handingOver = true;
        m_control(this, request);
        m_handingOver = false;
        return;
    }
    if (request.path == "/live") {
        if (isGet && request.headerHasToken("upgrade", "websocket"))
            upgrade(request);
        else if (!isGet)
            reply(405, TextType, "Only GET\n", {{"Allow", "GET"}});
        else
            reply(426, TextType, "A WebSocket is served here\n", {{"Upgrade", "websocket"}});
        return;
    }
    const FeedPage page = m_pages(request.path);
    if (page.type.isEmpty())
        reply(404, TextType, "Not found\n");
    else if (!isGet)
        reply(405, TextType, "Only GET\n", {{"Allow", "GET"}});
    else
        reply(200, page.type, page.body, {{"Cache-Control", "no-store"}});
}

void FeedConnection::answerLater(int status, const QByteArray& type, const QByteArray& body,
                                 const QList<QPair<QByteArray, QByteArray>>& headers)
{
    if (!m_awaiting || m_state != State::Http)
        return;
    m_awaiting = false;
    const QByteArray bytes = httpResponse(status, type, body, m_answerKeepsAlive,
                                          QList<QPair<QByteArray, QByteArray>>{{"Cache-Control", "no-store"}} + headers);
    if (!m_answerKeepsAlive) {
        closeAfter(bytes);
        return;
    }
    write(bytes);
    // Answered later: what the client sent meanwhile is read now.
    if (!m_handingOver && m_state == State::Http) {
        readRequests({});
        readAvailable();
    }
}

void FeedConnection::upgrade(const HttpRequest& request)
{
    const QByteArray key = request.header("sec-websocket-key");
    if (request.header("sec-websocket-version") != "13") {
        closeAfter(httpResponse(426, TextType, "WebSocket version 13 only\n", false, {{"Sec-WebSocket-Version", "13"}}));
        return;
    }
    if (!request.headerHasToken("connection", "upgrade") || !ws::isValidClientKey(key)) {
        closeAfter(httpResponse(400, TextType, "Bad WebSocket handshake\n", false));
        return;
    }
    if (!isAllowedOrigin(request.header("origin"), m_socket->localAddress(), m_socket->localPort())) {
        closeAfter(httpResponse(403, TextType, "Another site's page may not read the feed\n", false));
        return;
    }
    write("HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Accept: "
          + ws::acceptKey(key) + "\r\n\r\n");
    m_state = State::Live;
    m_requestStartedMs = -1;
    m_lastHeardMs = feedClockMs();
    const QByteArray rest = m_requests.takeRest();
    Q_EMIT becameLive(this);
    if (!rest.isEmpty())
        readFrames(rest);
}

void FeedConnection::readFrames(const QByteArray& bytes)
{
    m_frames.append(bytes);
    while (m_state == State::Live) {
        const std::optional<ws::Frame> frame = m_frames.next();
        if (!frame) {
            if (const auto error = m_frames.error())
                closeAfter(ws::closeFrame(*error));
            return;
        }
        switch (frame->opcode) {
        case ws::Ping:
            write(ws::frame(ws::Pong, frame->payload));
            break;
        case ws::Close:
            closeAfter(ws::closeFrame(ws::Normal));
            break;
        default:
            // Pongs keep the client live (any frame does); what it says is not read.
            break;
        }
    }
}

void FeedConnection::sendText(const QByteArray& text)
{
    if (m_state != State::Live)
        return;
    if (m_socket->bytesToWrite() > m_limits.maxUnsentBytes) {
        end();
        return;
    }
    write(ws::frame(ws::Text, text));
}

void FeedConnection::ping()
{
    if (m_state == State::Live)
        write(ws::frame(ws::Ping, {}));
}

void FeedConnection::write(const QByteArray& bytes)
{
    m_socket->write(bytes);
    // A client that asks and never reads the answers is not buffered for.
    if (m_socket->bytesToWrite() > m_limits.maxUnsentBytes)
        end();
}

void FeedConnection::closeAfter(const QByteArray& bytes)
{
    if (m_state == State::Closing || m_state == State::Ended)
        return;
    m_state = State::Closing;
    m_closingSinceMs = feedClockMs();
    m_socket->write(bytes);
    m_socket->disconnectFromHost();
}

void FeedConnection::checkTimes(qint64 nowMs)
{
    switch (m_state) {
    case State::Http:
        // A command the game has not answered for this long is given up on.
        if (m_awaiting) {
            if (nowMs - m_awaitingSinceMs > m_limits.idleTimeoutMs)
                end();
        } else if (m_requestStartedMs >= 0 && nowMs - m_requestStartedMs > m_limits.requestTimeoutMs)
            closeAfter(httpResponse(408, TextType, "Request too slow\n", false));
        else if (m_requestStartedMs < 0 && nowMs - m_lastActivityMs > m_limits.idleTimeoutMs)
            end();
        break;
    case State::Live:
        // Pinged well within this time: a client that answers nothing is gone,
        // however much the system still takes for it.
        if (nowMs - m_lastHeardMs > m_limits.idleTimeoutMs)
            end();
        break;
    case State::Closing:
        if (nowMs - m_closingSinceMs > m_limits.closingTimeoutMs)
            end();
        break;
    case State::Ended:
        break;
    }
}

void FeedConnection::end()
{
    if (m_state == State::Ended)
        return;
    m_state = State::Ended;
    m_socket->abort();
    Q_EMIT ended(this);
}
