// How one read splits into code and payload, and what a sender composes.
#include "wire.h"

#include "test_strings.h"

#include <QTest>

class tst_Wire : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void compose_data();
    void compose();
};

void tst_Wire::split_data()
{
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QByteArray>("payload");

    // GBK: 张三 D5C5 C8FD, 选手 D1A1 CAD6.
    QTest::newRow("name report") << QByteArray("XS\xD1\xA1\xCA\xD6" "01") << QByteArray("XS")
                                 << QByteArray("\xD1\xA1\xCA\xD6" "01");
    QTest::newRow("bare code") << QByteArray("QD") << QByteArray("QD") << QByteArray();
    QTest::newRow("empty read") << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("one byte") << QByteArray("Q") << QByteArray("Q") << QByteArray();
    QTest::newRow("name and buzz read together") << QByteArray("XS\xD5\xC5\xC8\xFDQD") << QByteArray("XS")
                                                 << QByteArray("\xD5\xC5\xC8\xFDQD");
    QTest::newRow("lock and popup read together") << QByteArray("STMG\xD5\xC5\xC8\xFD") << QByteArray("ST")
                                                  << QByteArray("MG\xD5\xC5\xC8\xFD");
    QTest::newRow("code inside the name") << QByteArray("XSXS007") << QByteArray("XS") << QByteArray("007");
    QTest::newRow("code inside a notice") << QByteArray("TZa TZ b") << QByteArray("TZ") << QByteArray("a  b");
    QTest::newRow("lower case kept") << QByteArray("TZtz") << QByteArray("TZ") << QByteArray("tz");
    // A double-byte character whose second byte is 'T', then 'Z': not the code.
    QTest::newRow("code across a character") << QByteArray("TZ\x8ETZ") << QByteArray("TZ") << QByteArray("\x8ETZ");
    QTest::newRow("second half of a split name") << QByteArray("\xC8\xFD") << QByteArray("\xC8\xFD")
                                                 << QByteArray();
    QTest::newRow("cut at the first zero") << QByteArray("QD\0XS", 5) << QByteArray("QD") << QByteArray();
    QTest::newRow("zero first") << QByteArray("\0QD", 3) << QByteArray() << QByteArray();
    QTest::newRow("round notice with CR LF") << QByteArray("SD1\r\nSD") << QByteArray("SD") << QByteArray("1\r\n");
}

void tst_Wire::split()
{
    QFETCH(QByteArray, received);
    QFETCH(QByteArray, code);
    QFETCH(QByteArray, payload);

    const wire::Message m = wire::split(received.toStdString());
    QCOMPARE(m.code, code.toStdString());
    QCOMPARE(m.payload, payload.toStdString());
}

void tst_Wire::compose_data()
{
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("message");

    QTest::newRow("code alone") << QByteArray(wire::kLockBuzzers.data(), 2) << QByteArray() << QByteArray("ST");
    QTest::newRow("with payload") << QByteArray(wire::kBoardNotice.data(), 2) << QByteArray("\xD5\xC5\xC8\xFD")
                                  << QByteArray("TZ\xD5\xC5\xC8\xFD");
}

void tst_Wire::compose()
{
    QFETCH(QByteArray, code);
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, message);

    const std::string m = wire::compose(code.toStdString(), payload.toStdString());
    QCOMPARE(m, message.toStdString());
    // What one side composes, the other splits back.
    QCOMPARE(wire::split(m).code, code.toStdString());
}

QTEST_APPLESS_MAIN(tst_Wire)
#include "tst_wire.moc"
