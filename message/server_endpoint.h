// The console's TCP server: listens, accepts any number of contestants, names
// each connection by its peer address ("a.b.c.d:port") and sends to a peer by
// that name.
//
// Owned by the console's main window from creation to destruction; it listens
// from construction on and closes every connection, raising nothing, when
// destroyed. All events are raised on the GUI thread, synchronously, while
// the readiness notification that caused them is handled. A handler may run a
// nested event loop (a message box); further events of this endpoint are then
// raised inside it, and each replaces the event data that GetData and
// GetClient return, clearing it when it returns.
#pragma once

#include "retired_connections.h"
#include "socket_sys.h"
#include "text.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class QSocketNotifier;
class StreamConnection;

class ServerEndpoint : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDefaultPort = 19730;

    // Starts listening on every local IPv4 address at `port` (0: a port the
    // system chooses, see localPort()).
    explicit ServerEndpoint(int port = kDefaultPort, QObject* parent = nullptr);
    ~ServerEndpoint() override;

    bool isListening() const { return listener_ != sock::kInvalidSocket; }
    // Why listening failed, in the system's words; empty while listening.
    const std::string& listenError() const { return listenError_; }
    int localPort() const;

    // The bytes of the DataArrived event being handled; empty elsewhere.
    text::Bytes GetData() const { return current_.bytes; }
    // The peer address of the event being handled; empty elsewhere.
    text::Text GetClient() const { return current_.peer; }

    // True when all of `data` was written or queued for the connection named
    // `peer` (byte for byte); false when there is no such connection or the
    // data cannot be taken whole. Never waits.
    bool SendData(std::string_view peer, std::string_view data);

    // Open connections, in the order they were accepted.
    std::vector<std::string> peers() const;
    std::size_t connectionCount() const { return connections_.size(); }
    // The connection's socket, for benchmarks that compare against bare sends.
    sock::Handle socketOf(std::string_view peer) const;
    // Accepting is paused for a moment after the system ran out of resources.
    bool isAcceptPaused() const { return acceptPause_.isActive(); }

signals:
    void DataArrived();
    void ClientConnected();
    void ClientLeft();

private:
    void handleAccept();
    void handleRead(StreamConnection* connection);
    void handleClose(StreamConnection* connection);
    // Raises one event with its data; false when a handler destroyed this endpoint.
    bool raise(void (ServerEndpoint::*event)(), std::string bytes, std::string peer);

    sock::Handle listener_ = sock::kInvalidSocket;
    std::string listenError_;
    QSocketNotifier* acceptNotifier_ = nullptr;
    QTimer acceptPause_;

    std::vector<std::unique_ptr<StreamConnection>> connections_;  // accept order
    // Finds a peer without building a string, so a broadcast stays linear.
    struct PeerHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, StreamConnection*, PeerHash, std::equal_to<>> byPeer_;
    RetiredConnections retired_;

    struct Event {
        std::string bytes;
        std::string peer;
    } current_;
};
