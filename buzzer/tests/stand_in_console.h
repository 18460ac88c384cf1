// A stand-in for the console on 127.0.0.1: a plain listening socket the test
// drives step by step. It can refuse connections (bound, not yet listening),
// accept one, send raw bytes in a single write, read what the buzzer sent and
// close the connection as the console would.
#pragma once

#include "loopback_peer.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <string_view>

class StandInConsole
{
public:
    // listening=false: the port is taken but refuses connections until listen().
    explicit StandInConsole(bool listening = true) : listener_(bindLoopbackPort(port_))
    {
        if (listening)
            listen();
    }
    ~StandInConsole()
    {
        closeConnection();
        ::close(listener_);
    }
    StandInConsole(const StandInConsole&) = delete;
    StandInConsole& operator=(const StandInConsole&) = delete;

    int port() const { return port_; }
    void listen() { ::listen(listener_, 8); }

    // True when a connection is waiting to be accepted within timeoutMs.
    bool hasWaitingConnection(int timeoutMs = 0) { return waitReadable(listener_, timeoutMs); }

    // Takes the next connection, closing the current one first.
    bool accept(int timeoutMs = 5000)
    {
        closeConnection();
        if (!waitReadable(listener_, timeoutMs))
            return false;
        connection_ = LoopbackPeer::adopt(::accept(listener_, nullptr, nullptr));
        return connection_.isOpen();
    }

    // One write, so the buzzer reads it as one piece.
    bool send(std::string_view bytes) { return connection_.sendNow(bytes) == bytes.size(); }

    // Reads until `count` bytes came, the buzzer closed, or timeoutMs passed.
    std::string receive(size_t count, int timeoutMs = 5000)
    {
        return connection_.receive(count, timeoutMs);
    }

    void closeConnection() { connection_.close(); }

private:
    static bool waitReadable(int fd, int timeoutMs)
    {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, timeoutMs) > 0;
    }

    int port_ = 0;   // before listener_, which sets it
    int listener_ = -1;
    LoopbackPeer connection_;
};
