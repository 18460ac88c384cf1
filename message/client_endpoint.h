// The buzzer's TCP client: at most one connection to the console.
//
// Owned by the buzzer's main window. Connect blocks the GUI thread for the
// whole attempt; a new Connect first closes the old connection without raising
// ConnectionBroken for it. When the console closes the connection,
// ConnectionBroken is raised once and the endpoint stays half-open (sends go to
// the system as usual) until the next Connect. Events are raised on the GUI
// thread, synchronously, and may nest inside a handler's message box.
#pragma once

#include "retired_connections.h"
#include "socket_sys.h"
#include "text.h"

#include <QObject>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class StreamConnection;

class ClientEndpoint : public QObject
{
    Q_OBJECT

public:
    explicit ClientEndpoint(QObject* parent = nullptr);
    ~ClientEndpoint() override;

    // Connects to host (dotted IPv4 address first, else a host name) and port
    // (below 1 taken as 1). True when connected.
    bool Connect(std::string_view host, int port);
    // True when all of `data` was written or queued; false without a
    // connection, after a failed Connect, or when the data cannot be taken whole.
    bool SendData(std::string_view data);
    // The bytes of the DataArrived event being handled; empty elsewhere.
    text::Bytes GetData() const { return current_; }

    bool isConnected() const { return connected_; }

signals:
    void DataArrived();
    void ConnectionBroken();

private:
    void handleRead(StreamConnection* connection);
    void retire();

    std::unique_ptr<StreamConnection> connection_;
    bool connected_ = false;
    bool servicesStarted_ = false;
    RetiredConnections retired_;
    std::string current_;
};
