// The system calls under both endpoints, and nothing else.
//
// This seam is what a Winsock build replaces: the endpoints above it never name
// a POSIX call. One error convention throughout: a call that fails returns
// kInvalidSocket, false or a negative status, and the reason, where the caller
// shows one, is the system's own message from errorText().
//
// Sockets handed out here are non-blocking, except during connectTcp's own
// attempt, which blocks until the system has an answer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sock {

using Handle = std::intptr_t;
inline constexpr Handle kInvalidSocket = -1;

// Once per process, before the first socket: raises the soft limit of open
// files to the hard limit so a large room fits. Returns false when socket
// services cannot be used at all.
bool startup();

// The text of the last failed call's error, as the system words it.
std::string lastErrorText();

// A non-blocking IPv4 listener on 0.0.0.0:port (port 0 lets the system choose),
// with address reuse so a program restarted at once can listen again.
// On failure returns kInvalidSocket and says why in `why`.
Handle listenTcp(int port, std::string& why);

// The local port a socket is bound to, or -1.
int localPort(Handle s);

enum class AcceptResult {
    Accepted,
    NothingWaiting,     // another notification took it, or the peer gave up
    OutOfResources,     // too many open files or no memory: back off
    Failed,
};
// Takes one waiting connection, made non-blocking. kInvalidSocket unless Accepted.
Handle acceptOne(Handle listener, AcceptResult& result);

// "a.b.c.d:port" of the remote end; false when the system cannot say.
bool peerAddress(Handle s, std::string& out);

// Bytes waiting to be read, or -1 when the system cannot say.
long bytesWaiting(Handle s);

// Read and write results besides a count of bytes (>= 0 for reads, > 0 for
// writes; a read of 0 means the peer has closed).
inline constexpr long kWouldBlock = -1;
inline constexpr long kBroken = -2;
long receiveSome(Handle s, char* buffer, std::size_t length);
// Never raises a signal when the peer has gone.
long sendSome(Handle s, const char* data, std::size_t length);

// Blocking connection attempt to host:port. A dotted IPv4 address is taken as
// it is (trailing white space allowed); anything else is looked up as a host
// name and its first IPv4 address used. The socket comes back non-blocking.
Handle connectTcp(std::string_view host, int port);

void closeSocket(Handle s);

// The dotted IPv4 addresses of this machine's interfaces that are up, loopback
// left out, in the order the system lists them, each once: what a contestant
// on the LAN can reach this machine by.
std::vector<std::string> localIPv4Addresses();

}  // namespace sock
