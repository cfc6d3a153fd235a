#pragma once
// Reading one HTTP/1.x request at a time from what a connection has sent, and
// writing an answer. Plain values, no sockets: the connection feeds bytes in and
// acts on what comes out. Bounded: a request (its head and any body) larger than
// the limit is refused as soon as that is known, never buffered.

#include <QByteArray>
#include <QList>
#include <QPair>

#include <utility>

struct HttpRequest
{
    QByteArray method; // as sent: "GET"
    QByteArray path; // the target without its query: "/state.json"
    QByteArray query; // what follows the "?", as sent: "add=2&token=..."
    int minorVersion = 1; // HTTP/1.0 or HTTP/1.1
    QList<QPair<QByteArray, QByteArray>> headers; // names in lower case, values trimmed

    // The first value of a header, or an empty one.
    QByteArray header(const QByteArray& lowerCaseName) const;
    // Whether a comma-separated header (Connection, Upgrade) holds `token`, case-insensitively.
    bool headerHasToken(const QByteArray& lowerCaseName, const QByteArray& token) const;
    // Whether the connection stays open after the answer: HTTP/1.1 unless the client
    // says close, HTTP/1.0 only when it asks for keep-alive.
    bool keepsAlive() const;
};

class HttpRequestReader
{
public:
    enum class Status { Incomplete, Complete, TooLarge, Malformed };

    explicit HttpRequestReader(qsizetype maxRequestBytes)
        : m_max(maxRequestBytes)
    {
    }

    // Takes what arrived; whatever follows a complete request is kept for the next.
    Status append(const QByteArray& bytes);
    // After Complete: the request, and the reader starts on what followed it.
    HttpRequest take();
    Status status() const { return m_status; }
    // What arrived after the last request taken (the first frames of an upgraded connection).
    QByteArray takeRest() { return std::exchange(m_buffer, {}); }
    // Whether any byte of a request not yet complete has arrived.
    bool hasPartialRequest() const { return !m_buffer.isEmpty() && m_status == Status::Incomplete; }

private:
    Status parse();

    qsizetype m_max;
    QByteArray m_buffer;
    Status m_status = Status::Incomplete;
    HttpRequest m_request;
    qsizetype m_requestBytes = 0; // head and body of the complete request
};

// One whole answer. `keepAlive` says which way the connection goes on.
QByteArray httpResponse(int status, const QByteArray& contentType, const QByteArray& body, bool keepAlive,
                        const QList<QPair<QByteArray, QByteArray>>& extraHeaders = {});
QByteArray httpReason(int status);
