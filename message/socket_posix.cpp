// POSIX implementation of the socket seam.
#include "socket_sys.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <ifaddrs.h>
#include <locale.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <string>

namespace sock {
namespace {

int fd(Handle s) { return static_cast<int>(s); }

bool makeNonBlocking(int f)
{
    const int flags = fcntl(f, F_GETFL, 0);
    return flags >= 0 && fcntl(f, F_SETFL, flags | O_NONBLOCK) == 0;
}

// Messages are a few bytes and every one is urgent (a buzz, a lock): send each
// at once instead of waiting for the previous one to be acknowledged.
void sendPromptly(int f)
{
    const int on = 1;
    setsockopt(f, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

void raiseOpenFileLimit()
{
    rlimit lim{};
    if (getrlimit(RLIMIT_NOFILE, &lim) == 0 && lim.rlim_cur < lim.rlim_max) {
        lim.rlim_cur = lim.rlim_max;
        setrlimit(RLIMIT_NOFILE, &lim);
    }
}

}  // namespace

bool startup()
{
    static const bool started = [] {
        raiseOpenFileLimit();
        return true;
    }();
    return started;
}

std::string lastErrorText()
{
    // The C locale's wording: plain ASCII, so it is valid GBK whatever locale
    // the GUI toolkit switched the process to (a Chinese UTF-8 locale would
    // give UTF-8 bytes that show as garbage in a GBK control).
    const int error = errno;
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    if (cLocale == locale_t{})
        return "error " + std::to_string(error);
    return strerror_l(error, cLocale);
}

Handle listenTcp(int port, std::string& why)
{
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) {
        why = lastErrorText();
        return kInvalidSocket;
    }
    // Lets a console closed and started again at once bind while its old
    // connections linger in TIME_WAIT; a second live listener still fails.
    const int on = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);

    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0
        || ::listen(s, SOMAXCONN) != 0 || !makeNonBlocking(s)) {
        why = lastErrorText();
        ::close(s);
        return kInvalidSocket;
    }
    why.clear();
    return s;
}

int localPort(Handle s)
{
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    if (::getsockname(fd(s), reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        return -1;
    return ntohs(addr.sin_port);
}

Handle acceptOne(Handle listener, AcceptResult& result)
{
    const int s = ::accept4(fd(listener), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (s >= 0) {
        sendPromptly(s);
        result = AcceptResult::Accepted;
        return s;
    }
    switch (errno) {
    case EAGAIN:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
    case EINTR:
    case ECONNABORTED:
    case EPROTO:
        result = AcceptResult::NothingWaiting;
        break;
    case EMFILE:
    case ENFILE:
    case ENOBUFS:
    case ENOMEM:
        result = AcceptResult::OutOfResources;
        break;
    default:
        result = AcceptResult::Failed;
        break;
    }
    return kInvalidSocket;
}

bool peerAddress(Handle s, std::string& out)
{
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    if (::getpeername(fd(s), reinterpret_cast<sockaddr*>(&addr), &len) != 0
        || addr.sin_family != AF_INET)
        return false;
    char ip[INET_ADDRSTRLEN];
    if (!::inet_ntop(AF_INET, &addr.sin_addr, ip, sizeof ip))
        return false;
    out = ip;
    out += ':';
    out += std::to_string(ntohs(addr.sin_port));
    return true;
}

long bytesWaiting(Handle s)
{
    int n = 0;
    if (::ioctl(fd(s), FIONREAD, &n) != 0)
        return -1;
    return n;
}

long receiveSome(Handle s, char* buffer, std::size_t length)
{
    for (;;) {
        const ssize_t n = ::recv(fd(s), buffer, length, 0);
        if (n >= 0)
            return static_cast<long>(n);
        if (errno == EINTR)
            continue;
        return (errno == EAGAIN || errno == EWOULDBLOCK) ? kWouldBlock : kBroken;
    }
}

long sendSome(Handle s, const char* data, std::size_t length)
{
    for (;;) {
        const ssize_t n = ::send(fd(s), data, length, MSG_NOSIGNAL);
        if (n >= 0)
            return static_cast<long>(n);
        if (errno == EINTR)
            continue;
        return (errno == EAGAIN || errno == EWOULDBLOCK) ? kWouldBlock : kBroken;
    }
}

Handle connectTcp(std::string_view host, int port)
{
    if (host.empty())
        return kInvalidSocket;
    const std::string name(host);

    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    // inet_aton, unlike inet_pton, accepts the address followed by white space,
    // as an ip.txt saved with a line break has it.
    if (::inet_aton(name.c_str(), &addr.sin_addr) == 0) {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        if (::getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || !found)
            return kInvalidSocket;
        addr.sin_addr = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
        ::freeaddrinfo(found);
    }

    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0)
        return kInvalidSocket;
    if (::connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        // A signal cut the wait short; the attempt goes on, so wait for its end.
        bool connected = false;
        if (errno == EINTR) {
            pollfd p{s, POLLOUT, 0};
            int r;
            do {
                r = ::poll(&p, 1, -1);
            } while (r < 0 && errno == EINTR);
            int err = 0;
            socklen_t len = sizeof err;
            connected = r > 0 && ::getsockopt(s, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0;
        }
        if (!connected) {
            ::close(s);
            return kInvalidSocket;
        }
    }
    if (!makeNonBlocking(s)) {
        ::close(s);
        return kInvalidSocket;
    }
    sendPromptly(s);
    return s;
}

void closeSocket(Handle s)
{
    if (s != kInvalidSocket)
        ::close(fd(s));
}

std::vector<std::string> localIPv4Addresses()
{
    std::vector<std::string> out;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return out;
    for (const ifaddrs* i = list; i; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET)
            continue;
        if (!(i->ifa_flags & IFF_UP) || (i->ifa_flags & IFF_LOOPBACK))
            continue;
        const auto* a = reinterpret_cast<const sockaddr_in*>(i->ifa_addr);
        char ip[INET_ADDRSTRLEN];
        if (!::inet_ntop(AF_INET, &a->sin_addr, ip, sizeof ip))
            continue;
        if (std::find(out.begin(), out.end(), ip) == out.end())
            out.emplace_back(ip);
    }
    ::freeifaddrs(list);
    return out;
}

}  // namespace sock
