#include "httprequest.h"

#include <algorithm>

namespace {

bool isTokenChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
        || QByteArray("!#$%&'*+-.^_`|~").contains(c);
}

bool isToken(const QByteArray& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isTokenChar);
}

} // namespace

QByteArray HttpRequest::header(const QByteArray& lowerCaseName) const
{
    for (const auto& [name, value] : headers)
        if (name == lowerCaseName)
            return value;
    return {};
}

bool HttpRequest::headerHasToken(const QByteArray& lowerCaseName, const QByteArray& token) const
{
    for (const auto& [name, value] : headers) {
        if (name != lowerCaseName)
            continue;
        for (const QByteArray& part : value.split(','))
            if (part.trimmed().compare(token, Qt::CaseInsensitive) == 0)
                return true;
    }
    return false;
}

bool HttpRequest::keepsAlive() const
{
    if (headerHasToken("connection", "close"))
        return false;
    return minorVersion >= 1 || headerHasToken("connection", "keep-alive");
}

HttpRequestReader::Status HttpRequestReader::append(const QByteArray& bytes)
{
    m_buffer += bytes;
    if (m_status == Status::Incomplete)
        m_status = parse();
    return m_status;
}

HttpRequest HttpRequestReader::take()
{
    HttpRequest request = std::move(m_request);
    m_request = {};
    m_buffer.remove(0, m_requestBytes);
    m_requestBytes = 0;
    m_status = Status::Incomplete;
    m_status = parse();
    return request;
}

HttpRequestReader::Status HttpRequestReader::parse()
{
    // Empty lines before a request are allowed, and cost nothing to keep.
    qsizetype start = 0;
    while (m_buffer.mid(start, 2) == "\r\n")
        start += 2;
    m_buffer.remove(0, start);
    if (m_buffer.isEmpty())
        return Status::Incomplete;

    const qsizetype headEnd = m_buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return m_buffer.size() > m_max ? Status::TooLarge : Status::Incomplete;
    const qsizetype headBytes = headEnd + 4;
    if (headBytes > m_max)
        return Status::TooLarge;

    // Every line of the head ends in CR LF; a bare LF inside one is refused.
    QList<QByteArray> lines = m_buffer.left(headEnd + 2).split('\n');
    lines.removeLast();
    for (QByteArray& line : lines) {
        if (!line.endsWith('\r'))
            return Status::Malformed;
        line.chop(1);
    }
    HttpRequest request;
    const QList<QByteArray> first = lines.first().split(' ');
    if (first.size() != 3 || !isToken(first[0]) || !first[1].startsWith('/'))
        return Status::Malformed;
    if (first[2] == "HTTP/1.1")
        request.minorVersion = 1;
    else if (first[2] == "HTTP/1.0")
        request.minorVersion = 0;
    else
        return Status::Malformed;
    request.method = first[0];
    const qsizetype query = first[1].indexOf('?');
    request.path = query < 0 ? first[1] : first[1].left(query);
    if (query >= 0)
        request.query = first[1].mid(query + 1);

    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        const qsizetype colon = line.indexOf(':');
        // A folded or nameless line is refused: it is how requests are smuggled.
        if (colon <= 0 || !isToken(line.left(colon)))
            return Status::Malformed;
        request.headers.append({line.left(colon).toLower(), line.mid(colon + 1).trimmed()});
    }

    // A body is read and counted with the request, never answered: chunked ones
    // are not taken at all.
    if (!request.header("transfer-encoding").isEmpty())
        return Status::Malformed;
    qint64 bodyBytes = 0;
    bool lengthSeen = false;
    for (const auto& [name, value] : request.headers) {
        if (name != "content-length")
            continue;
        bool ok = false;
        const qint64 length = value.toLongLong(&ok);
        if (!ok || length < 0 || !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })
            || (lengthSeen && length != bodyBytes))
            return Status::Malformed;
        bodyBytes = length;
        lengthSeen = true;
    }
    if (bodyBytes > m_max - headBytes)
        return Status::TooLarge;
    if (m_buffer.size() < headBytes + bodyBytes)
        return Status::Incomplete;
    m_requestBytes = headBytes + bodyBytes;
    m_request = std::move(request);
    return Status::Complete;
}

QByteArray httpReason(int status)
{
    switch (status) {
    case 101:
        return "Switching Protocols";
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 413:
        return "Content Too Large";
    case 422:
        return "Unprocessable Content";
    case 429:
        return "Too Many Requests";
    case 426:
        return "Upgrade Required";
    case 503:
        return "Service Unavailable";
    }
    return "Error";
}

QByteArray httpResponse(int status, const QByteArray& contentType, const QByteArray& body, bool keepAlive,
                        const QList<QPair<QByteArray, QByteArray>>& extraHeaders)
{
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + ' ' + httpReason(status) + "\r\n";
    if (!contentType.isEmpty())
        out += "Content-Type: " + contentType + "\r\n";
    out += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    for (const auto& [name, value] : extraHeaders)
        out += name + ": " + value + "\r\n";
    out += keepAlive ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n";
    out += body;
    return out;
}
