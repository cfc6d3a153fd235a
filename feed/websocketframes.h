#pragma once
// The server's side of the WebSocket protocol as plain values: the handshake's
// answer key, frames the server sends (never masked), and a reader of the frames
// a client sends, which must be masked and bounded. No sockets here.

#include <QByteArray>

#include <optional>

namespace ws {

enum Opcode : quint8 { Continuation = 0x0, Text = 0x1, Binary = 0x2, Close = 0x8, Ping = 0x9, Pong = 0xA };

// Close codes the server gives.
enum CloseCode : quint16 { Normal = 1000, ProtocolError = 1002, TooBig = 1009 };

// Sec-WebSocket-Accept for a client's Sec-WebSocket-Key.
QByteArray acceptKey(const QByteArray& clientKey);
// Whether a Sec-WebSocket-Key is what a client must send: 16 bytes in base64.
bool isValidClientKey(const QByteArray& clientKey);

// One whole unfragmented frame from the server.
QByteArray frame(Opcode opcode, const QByteArray& payload);
QByteArray closeFrame(CloseCode code);

struct Frame
{
    Opcode opcode = Text;
    bool final = true;
    QByteArray payload; // unmasked
};

class FrameReader
{
public:
    explicit FrameReader(qsizetype maxPayloadBytes)
        : m_max(maxPayloadBytes)
    {
    }

    // Takes what arrived. Returns the next whole frame, if one is there; call again
    // until there is none. A frame that breaks the protocol (unmasked, reserved
    // bits, an unknown opcode, a control frame that is long or fragmented) or is
    // larger than the limit sets error() instead.
    void append(const QByteArray& bytes) { m_buffer += bytes; }
    std::optional<Frame> next();
    std::optional<CloseCode> error() const { return m_error; }

private:
    qsizetype m_max;
    QByteArray m_buffer;
    std::optional<CloseCode> m_error;
};

} // namespace ws
