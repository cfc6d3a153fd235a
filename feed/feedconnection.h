#pragma once
// One client of the live feed, from its first byte to its end: HTTP requests
// answered one after another (kept alive when the client asks for it, closed when
// it does not), or, after an upgrade at /live, a WebSocket that is sent the state.
// It keeps its own clock of what it waits for, and the server ends it when that
// runs out: a request must arrive whole in a fixed time from its first byte, an
// idle connection goes, and a live client counts as there only while it answers
// pings. Whatever way it ends, it says so once, so the server's count of open
// connections is exact.

#include "httprequest.h"
#include "websocketframes.h"

#include <QByteArray>
#include <QHostAddress>
#include <QObject>

#include <functional>

class QTcpSocket;

// The limits and times every connection keeps to.
struct FeedLimits
{
    qsizetype maxRequestBytes = 8 * 1024;
    // What may wait unsent for one client before it counts as not reading.
    qint64 maxUnsentBytes = 1024 * 1024;
    // How long a connection may wait for a request, or a live client be silent.
    int idleTimeoutMs = 10000;
    // How long a request may take to arrive, from its first byte.
    int requestTimeoutMs = 3000;
    int pingIntervalMs = 4000;
    // How long a connection that was told to close may take to go.
    int closingTimeoutMs = 1000;
};

// A page the feed serves, by its path; an empty type when there is none.
struct FeedPage
{
    QByteArray type;
    QByteArray body;
};

// Whether a WebSocket handshake's Origin may read the feed: none (video
// software), "null" (a local file), or the feed's own address and port as the
// client reached it. Any other site's page is refused.
// Milliseconds on the monotonic clock every connection's times are kept on.
qint64 feedClockMs();

bool isAllowedOrigin(const QByteArray& origin, const QHostAddress& local, quint16 localPort);

class FeedConnection : public QObject
{
    Q_OBJECT
public:
    using Pages = std::function<FeedPage(const QByteArray& path)>;
    // A request under /control/, answered through answerLater(), at once or
    // later: the connection reads nothing more until it is answered.
    using Control = std::function<void(FeedConnection* connection, const HttpRequest& request)>;

    // Takes `socket` over (it becomes a child).
    FeedConnection(QTcpSocket* socket, const FeedLimits& limits, Pages pages, QObject* parent = nullptr,
                   Control control = {});

    bool isLive() const { return m_state == State::Live; }
    bool isEnded() const { return m_state == State::Ended; }
    // Since when the connection has waited on its client without a whole request
    // (for the newest arrival to take the place of the longest waiting).
    qint64 waitingSinceMs() const;
    bool mayGiveWayToANewcomer() const { return m_state == State::Http || m_state == State::Closing; }

    // A live client is sent `text`, or ended when it has not read what it was sent.
    void sendText(const QByteArray& text);
    void ping();
    // Ends the connection when what it waits for has run out at `nowMs`.
    void checkTimes(qint64 nowMs);
    void end();

    // The answer to the control request it waits on; then it goes on reading.
    void answerLater(int status, const QByteArray& type, const QByteArray& body,
                     const QList<QPair<QByteArray, QByteArray>>& headers = {});
    QHostAddress peerAddress() const;

Q_SIGNALS:
    void becameLive(FeedConnection* connection);
    void ended(FeedConnection* connection);

private:
    enum class State { Http, Live, Closing, Ended };

    void readAvailable();
    void readRequests(const QByteArray& bytes);
    void answer(const HttpRequest& request);
    void upgrade(const HttpRequest& request);
    void readFrames(const QByteArray& bytes);
    void write(const QByteArray& bytes);
    // Sends `bytes` and closes once they are out.
    void closeAfter(const QByteArray& bytes);

    QTcpSocket* m_socket;
    FeedLimits m_limits;
    Pages m_pages;
    Control m_control;
    State m_state = State::Http;
    bool m_awaiting = false; // a control request's answer
    bool m_answerKeepsAlive = true;
    bool m_handingOver = false; // inside the control call
    qint64 m_awaitingSinceMs = 0;
    HttpRequestReader m_requests;
    ws::FrameReader m_frames;
    qint64 m_requestStartedMs = -1; // the first byte of a request not yet whole
    qint64 m_lastActivityMs; // anything sent or received
    qint64 m_lastHeardMs; // anything received
    qint64 m_closingSinceMs = 0;
};
