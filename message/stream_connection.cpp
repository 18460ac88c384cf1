#include "stream_connection.h"

#include <QSocketNotifier>

#include <algorithm>

StreamConnection::StreamConnection(sock::Handle socket, std::string peer, QObject* parent)
    : QObject(parent)
    , socket_(socket)
    , peer_(std::move(peer))
    , readNotifier_(new QSocketNotifier(socket, QSocketNotifier::Read, this))
    , writeNotifier_(new QSocketNotifier(socket, QSocketNotifier::Write, this))
{
    writeNotifier_->setEnabled(false);
    connect(readNotifier_, &QSocketNotifier::activated, this, &StreamConnection::readable);
    connect(writeNotifier_, &QSocketNotifier::activated, this, &StreamConnection::handleWrite);
}

StreamConnection::~StreamConnection()
{
    close();
}

StreamConnection::Reading StreamConnection::readAvailable(std::size_t maxBytes)
{
    Reading r;
    if (!isOpen())
        return r;
    const long waiting = sock::bytesWaiting(socket_);
    if (waiting < 0)
        return r;
    std::size_t piece = std::max<long>(waiting, 1);
    while (r.bytes.size() < maxBytes) {
        piece = std::min(piece, maxBytes - r.bytes.size());
        const std::size_t at = r.bytes.size();
        r.bytes.resize(at + piece);
        const long n = sock::receiveSome(socket_, r.bytes.data() + at, piece);
        r.bytes.resize(at + std::max<long>(n, 0));
        if (n == 0 || n == sock::kBroken) {
            r.closed = true;
            break;
        }
        if (n == sock::kWouldBlock)
            break;
        piece = 1024;
    }
    return r;
}

bool StreamConnection::send(std::string_view data)
{
    if (!isOpen())
        return false;
    if (data.empty())
        return true;
    if (queuedBytes() > 0) {
        // Later messages wait behind earlier ones so the order on the wire holds.
        if (queuedBytes() + data.size() > kMaxQueuedBytes)
            return false;
        queue_.append(data);
        return true;
    }
    std::size_t sent = 0;
    while (sent < data.size()) {
        const long n = sock::sendSome(socket_, data.data() + sent, data.size() - sent);
        if (n == sock::kBroken)
            return false;  // the peer is gone; what went out no longer matters
        if (n == sock::kWouldBlock)
            break;
        sent += static_cast<std::size_t>(n);
    }
    if (sent < data.size()) {
        queue_.assign(data.substr(sent));
        queueHead_ = 0;
        writeNotifier_->setEnabled(true);
    }
    return true;
}

void StreamConnection::handleWrite()
{
    while (queuedBytes() > 0) {
        const long n = sock::sendSome(socket_, queue_.data() + queueHead_, queuedBytes());
        if (n == sock::kWouldBlock) {
            if (queueHead_ > queue_.size() / 2) {
                queue_.erase(0, queueHead_);
                queueHead_ = 0;
            }
            return;
        }
        if (n == sock::kBroken)
            break;  // the read side reports the departure; nothing left is worth sending
        queueHead_ += static_cast<std::size_t>(n);
    }
    queue_.clear();
    queueHead_ = 0;
    writeNotifier_->setEnabled(false);
}

void StreamConnection::stopReading()
{
    readNotifier_->setEnabled(false);
}

void StreamConnection::close()
{
    if (!isOpen())
        return;
    readNotifier_->setEnabled(false);
    writeNotifier_->setEnabled(false);
    sock::closeSocket(socket_);
    socket_ = sock::kInvalidSocket;
    queue_.clear();
    queueHead_ = 0;
}
