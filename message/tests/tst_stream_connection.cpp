// The read routine under both endpoints, on a local socket pair.
#include "stream_connection.h"

#include "test_strings.h"

#include <QTest>

#include <sys/socket.h>
#include <unistd.h>

class tst_StreamConnection : public QObject
{
    Q_OBJECT

private slots:
    void readIsBoundedAndResumes();
    void closeIsReportedWithTheLastBytes();
    void nothingWaitingReadsNothing();
};

namespace {
struct Pair
{
    Pair() { QVERIFY(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, fds) == 0); }
    ~Pair()
    {
        if (fds[1] >= 0)
            ::close(fds[1]);
    }
    void write(const std::string& s) { QCOMPARE(::write(fds[1], s.data(), s.size()), ssize_t(s.size())); }
    void closeFar()
    {
        ::close(fds[1]);
        fds[1] = -1;
    }
    int fds[2] = {-1, -1};
};
}  // namespace

void tst_StreamConnection::readIsBoundedAndResumes()
{
    Pair pair;
    StreamConnection c(pair.fds[0], "peer");
    std::string sent;
    for (int i = 0; sent.size() < 10000; ++i)
        sent += std::to_string(i) + ",";
    pair.write(sent);

    std::string got;
    std::vector<size_t> sizes;
    for (int i = 0; i < 10 && got.size() < sent.size(); ++i) {
        const auto r = c.readAvailable(4096);
        QVERIFY(!r.closed);
        sizes.push_back(r.bytes.size());
        got += r.bytes;
    }
    QCOMPARE(got, sent);
    QCOMPARE(sizes, (std::vector<size_t>{4096, 4096, sent.size() - 8192}));
}

void tst_StreamConnection::closeIsReportedWithTheLastBytes()
{
    Pair pair;
    StreamConnection c(pair.fds[0], "peer");
    pair.write("QD");
    pair.closeFar();
    const auto r = c.readAvailable();
    QCOMPARE(r.bytes, std::string("QD"));
    QVERIFY(r.closed);
}

void tst_StreamConnection::nothingWaitingReadsNothing()
{
    Pair pair;
    StreamConnection c(pair.fds[0], "peer");
    const auto r = c.readAvailable();
    QCOMPARE(r.bytes, std::string());
    QVERIFY(!r.closed);
    c.close();
    QVERIFY(!c.isOpen());
    QVERIFY(!c.send("QD"));
}

QTEST_GUILESS_MAIN(tst_StreamConnection)
#include "tst_stream_connection.moc"
