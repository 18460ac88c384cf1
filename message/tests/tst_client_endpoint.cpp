// ClientEndpoint against a ServerEndpoint on loopback: connecting, exchanging,
// replacing a connection, and what happens when the console goes away.
#include "client_endpoint.h"
#include "server_endpoint.h"

#include "loopback_peer.h"
#include "test_strings.h"

#include <QCoreApplication>
#include <QTest>

#include <arpa/inet.h>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using Lines = std::vector<std::string>;

namespace {

// A port nobody listens on: bound, never listening, so a connection is refused.
class ClosedPort
{
public:
    ClosedPort() : fd_(bindLoopbackPort(port_)) {}
    ~ClosedPort() { ::close(fd_); }
    int port() const { return port_; }

private:
    int port_ = 0;
    int fd_ = -1;
};

struct ClientLog
{
    explicit ClientLog(ClientEndpoint& c)
    {
        QObject::connect(&c, &ClientEndpoint::DataArrived, [this, &c] { lines.push_back("data " + c.GetData()); });
        QObject::connect(&c, &ClientEndpoint::ConnectionBroken, [this] { lines.push_back("broken"); });
    }
    Lines lines;
};

}  // namespace

class tst_ClientEndpoint : public QObject
{
    Q_OBJECT

private slots:
    void connectsAndExchanges();
    void connectTo_data();
    void connectTo();
    void sendWithoutConnectionFails();
    void reconnectClosesOldConnectionSilently();
    void reconnectFromInsideHandler();
    void consoleClosingBreaksOnce();
    void dataComesBeforeBreak();
};

void tst_ClientEndpoint::connectsAndExchanges()
{
    ServerEndpoint server(0);
    ClientEndpoint client;
    ClientLog log(client);
    QVERIFY(client.Connect("127.0.0.1", server.localPort()));
    QVERIFY(client.isConnected());
    QTRY_COMPARE(server.connectionCount(), size_t(1));
    const std::string peer = server.peers()[0];

    std::string atServer;
    QObject::connect(&server, &ServerEndpoint::DataArrived, this, [&] { atServer = server.GetData(); });
    QVERIFY(client.SendData("XS\xD1\xA1\xCA\xD6" "01"));  // XS选手01
    QTRY_COMPARE(atServer, std::string("XS\xD1\xA1\xCA\xD6" "01"));
    QVERIFY(client.SendData(""));

    QVERIFY(server.SendData(peer, "SD"));
    QTRY_COMPARE(log.lines, Lines({"data SD"}));
    QCOMPARE(client.GetData(), std::string());
}

void tst_ClientEndpoint::connectTo_data()
{
    QTest::addColumn<QByteArray>("host");
    QTest::addColumn<bool>("listening");
    QTest::addColumn<bool>("result");

    QTest::newRow("dotted address") << QByteArray("127.0.0.1") << true << true;
    QTest::newRow("address saved with a line break") << QByteArray("127.0.0.1\r\n") << true << true;
    QTest::newRow("other loopback address") << QByteArray("127.0.0.2") << true << true;
    QTest::newRow("host name") << QByteArray("localhost") << true << true;
    QTest::newRow("empty host") << QByteArray() << true << false;
    QTest::newRow("nobody listening") << QByteArray("127.0.0.1") << false << false;
}

void tst_ClientEndpoint::connectTo()
{
    QFETCH(QByteArray, host);
    QFETCH(bool, listening);
    QFETCH(bool, result);

    ServerEndpoint server(0);
    ClosedPort closed;
    const int port = listening ? server.localPort() : closed.port();
    ClientEndpoint client;
    QCOMPARE(client.Connect(host.toStdString(), port), result);
    QCOMPARE(client.isConnected(), result);
    QCOMPARE(client.SendData("QD"), result);
    if (result)
        QTRY_COMPARE(server.connectionCount(), size_t(1));
}

void tst_ClientEndpoint::sendWithoutConnectionFails()
{
    ClientEndpoint client;
    QCOMPARE(client.SendData("QD"), false);
    QCOMPARE(client.SendData(""), false);

    // A failed attempt after a good one leaves nothing to send on.
    ServerEndpoint server(0);
    QVERIFY(client.Connect("127.0.0.1", server.localPort()));
    QVERIFY(!client.Connect("", server.localPort()));
    QCOMPARE(client.SendData("QD"), false);
    QTRY_COMPARE(server.connectionCount(), size_t(0));
}

void tst_ClientEndpoint::reconnectClosesOldConnectionSilently()
{
    ServerEndpoint server(0);
    Lines atServer;
    QObject::connect(&server, &ServerEndpoint::ClientConnected, this, [&] { atServer.push_back("connected"); });
    QObject::connect(&server, &ServerEndpoint::ClientLeft, this, [&] { atServer.push_back("left " + server.GetClient()); });

    ClientEndpoint client;
    ClientLog log(client);
    QVERIFY(client.Connect("127.0.0.1", server.localPort()));
    QTRY_COMPARE(server.connectionCount(), size_t(1));
    const std::string old = server.peers()[0];

    QVERIFY(client.Connect("127.0.0.1", server.localPort()));
    QTRY_COMPARE(atServer.size(), size_t(3));
    QCOMPARE(server.connectionCount(), size_t(1));
    QVERIFY(server.peers()[0] != old);
    QVERIFY(atServer[1] == "left " + old || atServer[2] == "left " + old);
    QCOMPARE(log.lines, Lines());
}

void tst_ClientEndpoint::reconnectFromInsideHandler()
{
    ServerEndpoint server(0);
    ClientEndpoint client;
    QVERIFY(client.Connect("127.0.0.1", server.localPort()));
    QTRY_COMPARE(server.connectionCount(), size_t(1));

    int broken = 0;
    Lines data;
    QObject::connect(&client, &ClientEndpoint::ConnectionBroken, this, [&] { ++broken; });
    QObject::connect(&client, &ClientEndpoint::DataArrived, this, [&] {
        data.push_back(client.GetData());
        if (data.size() == 1)
            QVERIFY(client.Connect("127.0.0.1", server.localPort()));
    });
    // The old connection is replaced while its own read is being handled, and
    // then closed by the console side too.
    QVERIFY(server.SendData(server.peers()[0], "ST"));
    QTRY_COMPARE(data.size(), size_t(1));
    QTRY_COMPARE(server.connectionCount(), size_t(1));
    QVERIFY(server.SendData(server.peers()[0], "SD"));
    QTRY_COMPARE(data, Lines({"ST", "SD"}));
    QCOMPARE(broken, 0);
}

void tst_ClientEndpoint::consoleClosingBreaksOnce()
{
    auto server = std::make_unique<ServerEndpoint>(0);
    ClientEndpoint client;
    ClientLog log(client);
    QVERIFY(client.Connect("127.0.0.1", server->localPort()));
    QTRY_COMPARE(server->connectionCount(), size_t(1));

    server.reset();
    QTRY_COMPARE(log.lines, Lines({"broken"}));
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    QCOMPARE(log.lines, Lines({"broken"}));

    // Half-open: sends go to the system, which soon refuses; the process
    // survives the peer being gone.
    QVERIFY(client.isConnected());
    for (int i = 0; i < 5; ++i)
        client.SendData("QD");
    QTRY_COMPARE(client.SendData("QD"), false);
}

void tst_ClientEndpoint::dataComesBeforeBreak()
{
    auto server = std::make_unique<ServerEndpoint>(0);
    ClientEndpoint client;
    ClientLog log(client);
    QVERIFY(client.Connect("127.0.0.1", server->localPort()));
    QTRY_COMPARE(server->connectionCount(), size_t(1));

    QVERIFY(server->SendData(server->peers()[0], "MG\xD3\xC5\xCF\xC8"));  // MG优先
    server.reset();
    QTRY_COMPARE(log.lines.size(), size_t(2));
    QCOMPARE(log.lines, Lines({"data MG\xD3\xC5\xCF\xC8", "broken"}));
}

QTEST_GUILESS_MAIN(tst_ClientEndpoint)
#include "tst_client_endpoint.moc"
