// ServerEndpoint over loopback: naming, event order, event data, sending,
// nesting, closing, and the guards against slow, flooding or too many peers.
#include "server_endpoint.h"

#include "loopback_peer.h"
#include "stream_connection.h"
#include "test_strings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Every event of a server, in order, with the data it carried.
struct EventLog
{
    explicit EventLog(ServerEndpoint& s)
    {
        QObject::connect(&s, &ServerEndpoint::ClientConnected, [this, &s] {
            lines.push_back("connected " + s.GetClient());
        });
        QObject::connect(&s, &ServerEndpoint::DataArrived, [this, &s] {
            lines.push_back("data " + s.GetClient() + " " + s.GetData());
        });
        QObject::connect(&s, &ServerEndpoint::ClientLeft, [this, &s] {
            lines.push_back("left " + s.GetClient() + " [" + s.GetData() + "]");
        });
    }
    std::vector<std::string> lines;
};

// Runs the event loop until `done` holds or five seconds pass.
bool pumpUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

using Lines = std::vector<std::string>;

}  // namespace

class tst_ServerEndpoint : public QObject
{
    Q_OBJECT

private slots:
    void namesPeersInAcceptOrder();
    void connectThenCloseRaisesConnectedThenLeft();
    void messagesReadTogetherArriveAsOneEvent();
    void dataComesBeforeDeparture();
    void eventDataOnlyWhileHandled();
    void sendData_data();
    void sendData();
    void sendFromInsideHandlers();
    void nestedLoopReceivesNextEvent();
    void destroyClosesEveryConnectionSilently();
    void secondListenerFailsAndSaysWhy();
    void restartListensAtOnce();
    void slowReaderGetsWholeMessagesInOrder();
    void floodArrivesInBoundedEvents();
    void acceptPausesWhenOutOfDescriptors();
};

void tst_ServerEndpoint::namesPeersInAcceptOrder()
{
    ServerEndpoint server(0);
    QVERIFY2(server.isListening(), server.listenError().c_str());
    QVERIFY(server.listenError().empty());
    // A large room needs more descriptors than the usual soft limit.
    rlimit files{};
    QCOMPARE(getrlimit(RLIMIT_NOFILE, &files), 0);
    QCOMPARE(files.rlim_cur, files.rlim_max);
    EventLog log(server);

    LoopbackPeer a(server.localPort());
    QTRY_COMPARE(server.connectionCount(), size_t(1));
    LoopbackPeer b(server.localPort());
    QTRY_COMPARE(server.connectionCount(), size_t(2));

    // Same machine, same address, told apart by port.
    QVERIFY(a.address() != b.address());
    QCOMPARE(server.peers(), Lines({a.address(), b.address()}));
    QCOMPARE(log.lines, Lines({"connected " + a.address(), "connected " + b.address()}));
}

void tst_ServerEndpoint::connectThenCloseRaisesConnectedThenLeft()
{
    ServerEndpoint server(0);
    EventLog log(server);
    std::string peer;
    {
        LoopbackPeer p(server.localPort());
        peer = p.address();
    }
    QTRY_COMPARE(log.lines.size(), size_t(2));
    QCOMPARE(log.lines, Lines({"connected " + peer, "left " + peer + " []"}));
    QCOMPARE(server.connectionCount(), size_t(0));
}

void tst_ServerEndpoint::messagesReadTogetherArriveAsOneEvent()
{
    ServerEndpoint server(0);
    EventLog log(server);
    LoopbackPeer p(server.localPort());
    QTRY_COMPARE(log.lines.size(), size_t(1));

    QVERIFY(p.send("XS\xD5\xC5\xC8\xFD"));  // XS张三
    QVERIFY(p.send("QD"));
    QTRY_COMPARE(log.lines.size(), size_t(2));
    QCOMPARE(log.lines[1], "data " + p.address() + " XS\xD5\xC5\xC8\xFDQD");
}

void tst_ServerEndpoint::dataComesBeforeDeparture()
{
    ServerEndpoint server(0);
    EventLog log(server);
    LoopbackPeer p(server.localPort());
    const std::string peer = p.address();
    QTRY_COMPARE(log.lines.size(), size_t(1));

    QVERIFY(p.send("QD"));
    p.close();
    QTRY_COMPARE(log.lines.size(), size_t(3));
    QCOMPARE(log.lines, Lines({"connected " + peer, "data " + peer + " QD", "left " + peer + " []"}));
}

void tst_ServerEndpoint::eventDataOnlyWhileHandled()
{
    ServerEndpoint server(0);
    EventLog log(server);
    QCOMPARE(server.GetData(), std::string());
    QCOMPARE(server.GetClient(), std::string());

    LoopbackPeer p(server.localPort());
    QVERIFY(p.send(std::string("QD\0XS", 5)));  // zero bytes are carried, not cut
    QTRY_COMPARE(log.lines.size(), size_t(2));
    QCOMPARE(log.lines[1], "data " + p.address() + " " + std::string("QD\0XS", 5));
    QCOMPARE(server.GetData(), std::string());
    QCOMPARE(server.GetClient(), std::string());
}

void tst_ServerEndpoint::sendData_data()
{
    QTest::addColumn<QByteArray>("peerSuffix");  // appended to the real peer address
    QTest::addColumn<bool>("usePrefixOnly");      // drop the port's last digit instead
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QByteArray>("onWire");

    QTest::newRow("exact peer") << QByteArray() << false << QByteArray("ST") << true << QByteArray("ST");
    QTest::newRow("GBK payload") << QByteArray() << false << QByteArray("MG\xD5\xC5\xC8\xFD\r\n") << true
                                 << QByteArray("MG\xD5\xC5\xC8\xFD\r\n");
    QTest::newRow("empty data") << QByteArray() << false << QByteArray() << true << QByteArray();
    QTest::newRow("trailing space") << QByteArray(" ") << false << QByteArray("ST") << false << QByteArray();
    QTest::newRow("other port") << QByteArray("0") << false << QByteArray("ST") << false << QByteArray();
    QTest::newRow("prefix of peer") << QByteArray() << true << QByteArray("ST") << false << QByteArray();
}

void tst_ServerEndpoint::sendData()
{
    QFETCH(QByteArray, peerSuffix);
    QFETCH(bool, usePrefixOnly);
    QFETCH(QByteArray, data);
    QFETCH(bool, result);
    QFETCH(QByteArray, onWire);

    ServerEndpoint server(0);
    LoopbackPeer p(server.localPort());
    QTRY_COMPARE(server.connectionCount(), size_t(1));

    std::string peer = p.address();
    if (usePrefixOnly)
        peer.pop_back();
    peer += peerSuffix.toStdString();
    QCOMPARE(server.SendData(peer, data.toStdString()), result);
    QCOMPARE(server.SendData("", "ST"), false);

    // A marker sent next shows exactly what went before it.
    QVERIFY(server.SendData(p.address(), "ZZ"));
    const std::string expected = onWire.toStdString() + "ZZ";
    QCOMPARE(p.receive(expected.size()), expected);
}

void tst_ServerEndpoint::sendFromInsideHandlers()
{
    ServerEndpoint server(0);
    std::vector<bool> sentOnConnect, sentOnLeave;
    connect(&server, &ServerEndpoint::ClientConnected, this, [&] {
        sentOnConnect.push_back(server.SendData(server.GetClient(), "SDwelcome"));
    });
    connect(&server, &ServerEndpoint::ClientLeft, this, [&] {
        sentOnLeave.push_back(server.SendData(server.GetClient(), "ST"));
    });

    LoopbackPeer p(server.localPort());
    QTRY_COMPARE(sentOnConnect.size(), size_t(1));
    QCOMPARE(sentOnConnect[0], true);
    QCOMPARE(p.receive(9), std::string("SDwelcome"));

    p.close();
    QTRY_COMPARE(sentOnLeave.size(), size_t(1));
    QCOMPARE(sentOnLeave[0], false);  // the departing entry is already gone
}

void tst_ServerEndpoint::nestedLoopReceivesNextEvent()
{
    ServerEndpoint server(0);
    LoopbackPeer p(server.localPort());
    QTRY_COMPARE(server.connectionCount(), size_t(1));

    Lines seen;
    QEventLoop* nested = nullptr;
    connect(&server, &ServerEndpoint::DataArrived, this, [&] {
        const std::string mine = server.GetData();
        seen.push_back("outer got " + mine);
        if (mine != "QD") {
            seen.push_back("inner got " + mine);
            if (nested)
                nested->quit();
            return;
        }
        // What a message box does: a loop of its own, in which the next
        // message must still arrive.
        QEventLoop loop;
        nested = &loop;
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        p.send("XSnext");
        loop.exec();
        nested = nullptr;
        seen.push_back("after inner, data [" + server.GetData() + "] client [" + server.GetClient()
                       + "], kept " + mine);
    });

    QVERIFY(p.send("QD"));
    QTRY_COMPARE(seen.size(), size_t(4));
    QCOMPARE(seen, Lines({"outer got QD", "outer got XSnext", "inner got XSnext",
                          "after inner, data [] client [], kept QD"}));
}

void tst_ServerEndpoint::destroyClosesEveryConnectionSilently()
{
    auto server = std::make_unique<ServerEndpoint>(0);
    int left = 0;
    connect(server.get(), &ServerEndpoint::ClientLeft, this, [&] { ++left; });
    LoopbackPeer a(server->localPort()), b(server->localPort());
    QTRY_COMPARE(server->connectionCount(), size_t(2));

    server.reset();
    QVERIFY(a.seesClose());
    QVERIFY(b.seesClose());
    QCOMPARE(left, 0);
}

void tst_ServerEndpoint::secondListenerFailsAndSaysWhy()
{
    ServerEndpoint first(0);
    QVERIFY(first.isListening());
    ServerEndpoint second(first.localPort());
    QVERIFY(!second.isListening());
    QCOMPARE(second.listenError(), std::string(std::strerror(EADDRINUSE)));
    QCOMPARE(second.localPort(), -1);

    // The first one is unharmed.
    LoopbackPeer p(first.localPort());
    QTRY_COMPARE(first.connectionCount(), size_t(1));
}

void tst_ServerEndpoint::restartListensAtOnce()
{
    auto server = std::make_unique<ServerEndpoint>(0);
    const int port = server->localPort();
    LoopbackPeer p(port);
    QTRY_COMPARE(server->connectionCount(), size_t(1));
    QVERIFY(server->SendData(p.address(), "ST"));
    QCOMPARE(p.receive(2), std::string("ST"));

    // Closing first leaves this side's connection lingering on the port.
    server.reset();
    QVERIFY(p.seesClose());

    ServerEndpoint again(port);
    QVERIFY2(again.isListening(), again.listenError().c_str());
    LoopbackPeer q(port);
    QTRY_COMPARE(again.connectionCount(), size_t(1));
}

void tst_ServerEndpoint::slowReaderGetsWholeMessagesInOrder()
{
    ServerEndpoint server(0);
    LoopbackPeer p;
    QVERIFY(p.connectTo(server.localPort(), 4096));
    QTRY_COMPARE(server.connectionCount(), size_t(1));

    // Numbered messages of unequal sizes until the queue refuses, and a few after.
    std::string accepted;
    int refused = 0;
    for (int i = 0; i < 200000 && refused < 20; ++i) {
        std::string m = "TZ" + std::to_string(i) + ":" + std::string(500 + i % 900, char('a' + i % 26)) + ";";
        if (server.SendData(p.address(), m))
            accepted += m;
        else
            ++refused;
    }
    QCOMPARE(refused, 20);
    QVERIFY(accepted.size() > StreamConnection::kMaxQueuedBytes);

    std::string got;
    QVERIFY(pumpUntil([&] {
        got += p.receiveNow();
        return got.size() >= accepted.size();
    }, 20000));
    QCOMPARE(got.size(), accepted.size());
    QVERIFY(got == accepted);
    // With the queue drained, sending works again and follows in order.
    QVERIFY(server.SendData(p.address(), "ST"));
    QCOMPARE(p.receive(2), std::string("ST"));
}

void tst_ServerEndpoint::floodArrivesInBoundedEvents()
{
    ServerEndpoint server(0);
    std::string got;
    size_t largest = 0, events = 0;
    connect(&server, &ServerEndpoint::DataArrived, this, [&] {
        const std::string d = server.GetData();
        largest = std::max(largest, d.size());
        ++events;
        got += d;
    });
    LoopbackPeer p(server.localPort());
    QTRY_COMPARE(server.connectionCount(), size_t(1));

    std::string flood;
    for (int i = 0; flood.size() < 3 * StreamConnection::kMaxReadBytes; ++i)
        flood += "QD" + std::to_string(i);
    size_t sent = 0;
    QVERIFY(pumpUntil([&] {
        sent += p.sendNow(std::string_view(flood).substr(sent));
        return got.size() == flood.size();
    }, 20000));
    QVERIFY(got == flood);
    QVERIFY(largest <= StreamConnection::kMaxReadBytes);
    QVERIFY(events >= 3);
}

void tst_ServerEndpoint::acceptPausesWhenOutOfDescriptors()
{
    ServerEndpoint server(0);
    int connected = 0;
    connect(&server, &ServerEndpoint::ClientConnected, this, [&] { ++connected; });
    LoopbackPeer p(server.localPort());  // waits in the backlog until accepted

    // No descriptor left: every number below the limit is taken.
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_NOFILE, &saved), 0);
    const int lowestFree = ::open("/dev/null", O_RDONLY);
    QVERIFY(lowestFree >= 0);
    ::close(lowestFree);
    rlimit tight = saved;
    tight.rlim_cur = rlim_t(lowestFree);
    QCOMPARE(setrlimit(RLIMIT_NOFILE, &tight), 0);

    const bool paused = pumpUntil([&] { return server.isAcceptPaused(); }, 5000);
    QCOMPARE(setrlimit(RLIMIT_NOFILE, &saved), 0);
    QVERIFY(paused);
    QCOMPARE(connected, 0);
    QCOMPARE(server.connectionCount(), size_t(0));

    // Once descriptors are back the waiting contestant gets in.
    QTRY_COMPARE(connected, 1);
    QCOMPARE(server.peers(), Lines({p.address()}));
}

QTEST_GUILESS_MAIN(tst_ServerEndpoint)
#include "tst_server_endpoint.moc"
