#include "websocketframes.h"

#include <QCryptographicHash>

namespace ws {

QByteArray acceptKey(const QByteArray& clientKey)
{
    static const QByteArray Guid("258EAFA5-E914-47DA-95CA-C5AB0DC85B11");
    return QCryptographicHash::hash(clientKey + Guid, QCryptographicHash::Sha1).toBase64();
}

bool isValidClientKey(const QByteArray& clientKey)
{
    const auto decoded = QByteArray::fromBase64Encoding(clientKey, QByteArray::AbortOnBase64DecodingErrors);
    return decoded && decoded.decoded.size() == 16;
}

QByteArray frame(Opcode opcode, const QByteArray& payload)
{
    QByteArray out;
    out.reserve(payload.size() + 10);
    out += char(0x80 | opcode);
    const quint64 size = quint64(payload.size());
    if (size < 126) {
        out += char(size);
    } else if (size <= 0xFFFF) {
        out += char(126);
        out += char(size >> 8);
        out += char(size & 0xFF);
    } else {
        out += char(127);
        for (int shift = 56; shift >= 0; shift -= 8)
            out += char((size >> shift) & 0xFF);
    }
    out += payload;
    return out;
}

QByteArray closeFrame(CloseCode code)
{
    const char payload[2] = {char(code >> 8), char(code & 0xFF)};
    return frame(Close, QByteArray(payload, 2));
}

std::optional<Frame> FrameReader::next()
{
    if (m_error || m_buffer.size() < 2)
        return std::nullopt;
    const auto* data = reinterpret_cast<const uchar*>(m_buffer.constData());
    const bool final = data[0] & 0x80;
    const quint8 reserved = data[0] & 0x70;
    const quint8 opcode = data[0] & 0x0F;
    const bool masked = data[1] & 0x80;
    quint64 size = data[1] & 0x7F;
    const bool control = opcode & 0x08;
    const bool known = opcode == Continuation || opcode == Text || opcode == Binary || opcode == Close
        || opcode == Ping || opcode == Pong;
    // A client's frames are masked; one that is not closes the connection.
    if (reserved || !known || !masked || (control && (!final || size > 125))) {
        m_error = ProtocolError;
        return std::nullopt;
    }
    qsizetype at = 2;
    if (size == 126 || size == 127) {
        const qsizetype extra = size == 126 ? 2 : 8;
        if (m_buffer.size() < at + extra)
            return std::nullopt;
        size = 0;
        for (qsizetype i = 0; i < extra; ++i)
            size = (size << 8) | data[at + i];
        at += extra;
    }
    if (size > quint64(m_max)) {
        m_error = TooBig;
        return std::nullopt;
    }
    if (quint64(m_buffer.size()) < at + 4 + size)
        return std::nullopt;
    const uchar* mask = data + at;
    at += 4;
    Frame f;
    f.opcode = Opcode(opcode);
    f.final = final;
    f.payload = m_buffer.mid(at, qsizetype(size));
    for (qsizetype i = 0; i < f.payload.size(); ++i)
        f.payload[i] = char(f.payload[i] ^ mask[i % 4]);
    m_buffer.remove(0, at + qsizetype(size));
    return f;
}

} // namespace ws
