#pragma once
// The live feed's server: plain HTTP for the state (JSON, XML) and the overlay
// page, a WebSocket at /live that sends the state on connect and on every change.
// It lives on a thread of its own (see Feed), so no client, however slow or
// hostile, costs the score box's refresh anything. Read-only and bounded: GET
// only, requests up to 8 KB, at most 32 connections, idle ones closed, and a
// client that stops reading is dropped rather than buffered for.

#include "feedstate.h"

#include <QByteArray>
#include <QHostAddress>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QTimer>

#include <memory>

class QWebSocket;

class FeedServer : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxConnections = 32;
    static constexpr qint64 MaxRequestBytes = 8 * 1024;
    // What may wait unsent for one client before it counts as not reading.
    static constexpr qint64 MaxUnsentBytes = 1024 * 1024;
    static constexpr int IdleTimeoutMs = 10000;
    static constexpr int PingIntervalMs = 4000;

    // `idleTimeoutMs`: how long a connection may send and be sent nothing.
    explicit FeedServer(int idleTimeoutMs = IdleTimeoutMs, QObject* parent = nullptr);
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

    int liveClientCount() const { return int(m_live.size()); }
    int openConnectionCount() const;

private:
    class Http;
    class Listener;

    QByteArray stateJson() const { return m_json; }
    QByteArray stateXml();
    QByteArray overlayPage();
    void takeLiveClients();
    void send(QWebSocket* client);
    void drop(QWebSocket* client);
    void pingLiveClients();

    std::unique_ptr<Http> m_http;
    Listener* m_listener = nullptr;
    QList<QWebSocket*> m_live;
    QTimer m_ping;
    int m_idleTimeoutMs;

    QJsonObject m_state;
    QByteArray m_json;
    QString m_jsonText; // what live clients are sent, converted once
    QByteArray m_xml; // made on the first request after a change
    QJsonObject m_pictures;
    QStringList m_pictureIds;
};
