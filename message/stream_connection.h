// One open TCP connection of an endpoint: its socket, its readiness
// notifications on the GUI thread, and the bytes still waiting to be written.
//
// Owned by ServerEndpoint (one per accepted peer) or ClientEndpoint (at most
// one). The owner reacts to readable() by calling readAvailable(); writing is
// handled here: what the system does not take at once is queued and written,
// in order, when the socket becomes writable, so a message is never torn.
#pragma once

#include "socket_sys.h"

#include <QObject>

#include <cstddef>
#include <string>
#include <string_view>

class QSocketNotifier;

class StreamConnection : public QObject
{
    Q_OBJECT

public:
    // One event carries at most this much, so a flooding peer cannot hold the
    // GUI thread; the rest comes with the next notifications.
    static constexpr std::size_t kMaxReadBytes = std::size_t(1) << 20;
    // Bytes that may wait for a slow reader. A message that would overflow it
    // is refused whole.
    static constexpr std::size_t kMaxQueuedBytes = std::size_t(1) << 20;

    // Takes ownership of a connected, non-blocking socket.
    StreamConnection(sock::Handle socket, std::string peer, QObject* parent = nullptr);
    ~StreamConnection() override;

    const std::string& peer() const { return peer_; }
    sock::Handle socket() const { return socket_; }
    bool isOpen() const { return socket_ != sock::kInvalidSocket; }

    struct Reading {
        std::string bytes;    // everything readable now, in order, at most maxBytes
        bool closed = false;  // the peer has closed or the connection failed
    };
    // Reads what has arrived: a first read of what the system says is waiting,
    // then pieces of 1024 bytes until nothing more is there.
    Reading readAvailable(std::size_t maxBytes = kMaxReadBytes);

    // Writes `data` whole or queues what the system did not take. False when
    // the connection is closed or failed, or the message does not fit the
    // queue; then nothing of it is sent.
    bool send(std::string_view data);
    std::size_t queuedBytes() const { return queue_.size() - queueHead_; }

    // No further readable() (the connection stays open for writing).
    void stopReading();
    // Stops every notification and closes the socket; idempotent.
    void close();

signals:
    void readable();

private:
    void handleWrite();

    sock::Handle socket_;
    std::string peer_;
    QSocketNotifier* readNotifier_;
    QSocketNotifier* writeNotifier_;
    std::string queue_;
    std::size_t queueHead_ = 0;
};
