#include "server_endpoint.h"

#include "stream_connection.h"

#include <QPointer>
#include <QSocketNotifier>

#include <algorithm>

namespace {
// Long enough not to spin while the system is out of descriptors, short
// enough that a contestant connecting then barely notices.
constexpr int kAcceptPauseMs = 200;
}  // namespace

ServerEndpoint::ServerEndpoint(int port, QObject* parent) : QObject(parent)
{
    acceptPause_.setSingleShot(true);
    acceptPause_.setInterval(kAcceptPauseMs);
    connect(&acceptPause_, &QTimer::timeout, this, [this] {
        if (acceptNotifier_)
            acceptNotifier_->setEnabled(true);
    });

    if (!sock::startup()) {
        listenError_ = sock::lastErrorText();
        return;
    }
    listener_ = sock::listenTcp(port, listenError_);
    if (listener_ == sock::kInvalidSocket)
        return;
    acceptNotifier_ = new QSocketNotifier(listener_, QSocketNotifier::Read, this);
    connect(acceptNotifier_, &QSocketNotifier::activated, this, &ServerEndpoint::handleAccept);
}

ServerEndpoint::~ServerEndpoint()
{
    // Closing is silent: the contestants see their connection broken, the
    // console's handlers hear nothing.
    for (auto& c : connections_)
        c->close();
    connections_.clear();
    byPeer_.clear();
    if (acceptNotifier_)
        acceptNotifier_->setEnabled(false);
    sock::closeSocket(listener_);
    listener_ = sock::kInvalidSocket;
}

int ServerEndpoint::localPort() const
{
    return isListening() ? sock::localPort(listener_) : -1;
}

bool ServerEndpoint::raise(void (ServerEndpoint::*event)(), std::string bytes, std::string peer)
{
    QPointer<ServerEndpoint> self(this);
    current_.bytes = std::move(bytes);
    current_.peer = std::move(peer);
    emit(this->*event)();
    if (!self)
        return false;
    current_ = {};
    return true;
}

void ServerEndpoint::handleAccept()
{
    RetiredConnections::Scope scope(this, retired_);
    sock::AcceptResult result;
    const sock::Handle s = sock::acceptOne(listener_, result);
    if (result == sock::AcceptResult::OutOfResources) {
        // The connection stays waiting and the listener stays readable: retry
        // later instead of spinning on the failure.
        acceptNotifier_->setEnabled(false);
        acceptPause_.start();
        return;
    }
    if (s == sock::kInvalidSocket)
        return;
    std::string peer;
    if (!sock::peerAddress(s, peer)) {
        sock::closeSocket(s);
        return;
    }
    auto owned = std::make_unique<StreamConnection>(s, peer);
    StreamConnection* connection = owned.get();
    connect(connection, &StreamConnection::readable, this, [this, connection] { handleRead(connection); });
    connections_.push_back(std::move(owned));
    byPeer_[peer] = connection;
    raise(&ServerEndpoint::ClientConnected, {}, std::move(peer));
}

void ServerEndpoint::handleRead(StreamConnection* connection)
{
    RetiredConnections::Scope scope(this, retired_);
    StreamConnection::Reading reading = connection->readAvailable();
    if (!reading.bytes.empty()) {
        if (!raise(&ServerEndpoint::DataArrived, std::move(reading.bytes), connection->peer()))
            return;
    }
    // A handler may have run a nested loop in which this connection left.
    if (reading.closed && connection->isOpen())
        handleClose(connection);
}

void ServerEndpoint::handleClose(StreamConnection* connection)
{
    const auto it = std::find_if(connections_.begin(), connections_.end(),
                                 [connection](const auto& c) { return c.get() == connection; });
    if (it == connections_.end()) {
        connection->close();
        return;
    }
    std::string peer = connection->peer();
    byPeer_.erase(peer);
    retired_.retire(std::move(*it));
    connections_.erase(it);
    raise(&ServerEndpoint::ClientLeft, {}, std::move(peer));
}

bool ServerEndpoint::SendData(std::string_view peer, std::string_view data)
{
    if (peer.empty())
        return false;
    const auto it = byPeer_.find(peer);
    if (it == byPeer_.end())
        return false;
    return it->second->send(data);
}

std::vector<std::string> ServerEndpoint::peers() const
{
    std::vector<std::string> out;
    out.reserve(connections_.size());
    for (const auto& c : connections_)
        out.push_back(c->peer());
    return out;
}

sock::Handle ServerEndpoint::socketOf(std::string_view peer) const
{
    const auto it = byPeer_.find(peer);
    return it == byPeer_.end() ? sock::kInvalidSocket : it->second->socket();
}
