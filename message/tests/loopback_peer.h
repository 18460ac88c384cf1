// A plain blocking TCP peer on 127.0.0.1 for endpoint tests: the far end of a
// connection, driven step by step by the test.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <string_view>

// A socket bound to 127.0.0.1 on a port the system chooses, not yet
// listening: until listen() a connection to `port` is refused.
inline int bindLoopbackPort(int& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    return fd;
}

class LoopbackPeer
{
public:
    LoopbackPeer() = default;
    explicit LoopbackPeer(int port) { connectTo(port); }
    // Takes over an accepted connection, for tests that play the listening side.
    static LoopbackPeer adopt(int fd)
    {
        LoopbackPeer peer;
        peer.fd_ = fd;
        return peer;
    }
    ~LoopbackPeer() { close(); }
    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;
    LoopbackPeer(LoopbackPeer&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
    LoopbackPeer& operator=(LoopbackPeer&& o) noexcept
    {
        if (this != &o) {
            close();
            fd_ = o.fd_;
            o.fd_ = -1;
        }
        return *this;
    }

    // receiveBuffer > 0 shrinks the window before connecting, to play a slow reader.
    bool connectTo(int port, int receiveBuffer = 0)
    {
        close();
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        if (receiveBuffer > 0)
            ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            close();
            return false;
        }
        return true;
    }

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    // "127.0.0.1:port" as the server names this peer.
    std::string address() const
    {
        sockaddr_in a{};
        socklen_t len = sizeof a;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
        return "127.0.0.1:" + std::to_string(ntohs(a.sin_port));
    }

    bool send(std::string_view bytes)
    {
        size_t off = 0;
        while (off < bytes.size()) {
            const ssize_t n = ::send(fd_, bytes.data() + off, bytes.size() - off, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            off += static_cast<size_t>(n);
        }
        return true;
    }

    // Reads until `count` bytes came, the peer closed, or `timeoutMs` passed.
    std::string receive(size_t count, int timeoutMs = 5000)
    {
        std::string out;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (out.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now()).count();
            if (left <= 0 || !waitReadable(static_cast<int>(left)))
                break;
            char buf[65536];
            const ssize_t n = ::recv(fd_, buf, std::min(sizeof buf, count - out.size()), 0);
            if (n <= 0)
                break;
            out.append(buf, static_cast<size_t>(n));
        }
        return out;
    }

    // True when the other end has closed (a read returns 0) within timeoutMs.
    bool seesClose(int timeoutMs = 5000)
    {
        char c;
        return waitReadable(timeoutMs) && ::recv(fd_, &c, 1, 0) == 0;
    }

    // Whatever is readable right now, without waiting.
    std::string receiveNow()
    {
        std::string out;
        char buf[65536];
        for (;;) {
            const ssize_t n = ::recv(fd_, buf, sizeof buf, MSG_DONTWAIT);
            if (n <= 0)
                break;
            out.append(buf, static_cast<size_t>(n));
        }
        return out;
    }

    // Writes what the system takes now, without waiting; the count taken.
    size_t sendNow(std::string_view bytes)
    {
        const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        return n > 0 ? static_cast<size_t>(n) : 0;
    }

    void close()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    bool waitReadable(int timeoutMs)
    {
        pollfd p{fd_, POLLIN, 0};
        return ::poll(&p, 1, timeoutMs) > 0;
    }

    int fd_ = -1;
};
