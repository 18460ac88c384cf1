// Broadcast cost: one short message to every one of N connected contestants
// through ServerEndpoint::SendData (looked up by peer address), side by side
// with a bare loop of send() over the very same sockets.
//
//   build/bench/broadcast [rounds]
//
// Prints, for N = 10, 100, 1000, the best time of one whole broadcast in
// microseconds for each, their ratio, and the endpoint's cost per send.
#include "server_endpoint.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

int connectLoopback(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        std::perror("connect");
        std::exit(1);
    }
    return fd;
}

void drain(const std::vector<int>& clients)
{
    char buf[4096];
    for (int fd : clients)
        while (::recv(fd, buf, sizeof buf, MSG_DONTWAIT) > 0) {
        }
}

template <typename F>
double bestMicros(int rounds, F&& broadcastOnce, const std::vector<int>& clients)
{
    double best = 1e300;
    for (int r = 0; r < rounds; ++r) {
        const auto t0 = Clock::now();
        broadcastOnce();
        const auto t1 = Clock::now();
        best = std::min(best, std::chrono::duration<double, std::micro>(t1 - t0).count());
        drain(clients);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const std::string message = "ST";

    std::printf("%6s %16s %16s %8s %14s\n", "N", "SendData us", "bare send() us", "ratio", "ns per send");
    for (int n : {10, 100, 1000}) {
        ServerEndpoint server(0);
        if (!server.isListening()) {
            std::fprintf(stderr, "cannot listen: %s\n", server.listenError().c_str());
            return 1;
        }
        std::vector<int> clients;
        for (int i = 0; i < n; ++i) {
            clients.push_back(connectLoopback(server.localPort()));
            if (i % 64 == 63)
                QCoreApplication::processEvents();
        }
        while (server.connectionCount() < size_t(n))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

        const std::vector<std::string> peers = server.peers();
        std::vector<sock::Handle> sockets;
        for (const auto& p : peers)
            sockets.push_back(server.socketOf(p));

        auto viaEndpoint = [&] {
            for (const auto& p : peers)
                server.SendData(p, message);
        };
        auto bare = [&] {
            for (sock::Handle s : sockets)
                ::send(int(s), message.data(), message.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        };
        // Interleaved in three passes so neither side gets the quieter moment.
        double endpointBest = 1e300, bareBest = 1e300;
        for (int pass = 0; pass < 3; ++pass) {
            endpointBest = std::min(endpointBest, bestMicros(rounds / 3 + 1, viaEndpoint, clients));
            bareBest = std::min(bareBest, bestMicros(rounds / 3 + 1, bare, clients));
        }
        std::printf("%6d %16.1f %16.1f %8.2f %14.0f\n", n, endpointBest, bareBest, endpointBest / bareBest,
                    endpointBest * 1000.0 / n);
        for (int fd : clients)
            ::close(fd);
        QCoreApplication::processEvents();
    }
    return 0;
}
