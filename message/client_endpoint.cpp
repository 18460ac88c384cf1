#include "client_endpoint.h"

#include "stream_connection.h"

#include <QPointer>

ClientEndpoint::ClientEndpoint(QObject* parent)
    : QObject(parent)
    , servicesStarted_(sock::startup())
{
}

ClientEndpoint::~ClientEndpoint()
{
    // Closing is silent: no ConnectionBroken for our own close.
    if (connection_)
        connection_->close();
}

void ClientEndpoint::retire()
{
    connected_ = false;
    if (connection_)
        retired_.retire(std::move(connection_));
}

bool ClientEndpoint::Connect(std::string_view host, int port)
{
    if (port < 1)
        port = 1;
    if (!servicesStarted_)
        return false;
    retire();
    const sock::Handle s = sock::connectTcp(host, port);
    if (s == sock::kInvalidSocket)
        return false;
    connection_ = std::make_unique<StreamConnection>(s, std::string());
    StreamConnection* connection = connection_.get();
    connect(connection, &StreamConnection::readable, this, [this, connection] { handleRead(connection); });
    connected_ = true;
    return true;
}

bool ClientEndpoint::SendData(std::string_view data)
{
    if (!connection_ || !connected_)
        return false;
    return connection_->send(data);
}

void ClientEndpoint::handleRead(StreamConnection* connection)
{
    QPointer<ClientEndpoint> self(this);
    RetiredConnections::Scope scope(this, retired_);
    StreamConnection::Reading reading = connection->readAvailable();
    if (!reading.bytes.empty()) {
        current_ = std::move(reading.bytes);
        emit DataArrived();
        if (!self)
            return;
        current_.clear();
    }
    // Data first, then the break; unless a handler already replaced this
    // connection with a new Connect.
    if (reading.closed && connection == connection_.get() && connection->isOpen()) {
        connection->stopReading();
        emit ConnectionBroken();
    }
}
