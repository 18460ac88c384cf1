// The connect button against a stand-in console: the name report, refused
// names, failed and lost connections, and how the title grows.
#include "buzzer_rig.h"

#include "texts.h"

#include <QTest>

using buzzer_text::kFormTitle;

class tst_BuzzerConnection : public QObject
{
    Q_OBJECT

private slots:
    void connectsAndReportsName();
    void names_data();
    void names();
    void addressIsTrimmedOnlyForConnecting();
    void failureThenSuccess();
    void lossAndReconnection();
};

void tst_BuzzerConnection::connectsAndReportsName()
{
    StandInConsole console;
    BuzzerRig rig(console.port());
    rig.start();
    rig.nameBox()->setText("张三 ");
    rig.addressBox()->setText("127.0.0.1");

    rig.connectButton()->click();

    QVERIFY(console.accept());
    QCOMPARE(console.receive(7), std::string("XS张三 "));
    QCOMPARE(rig.main().title(), std::string(kFormTitle) + "  127.0.0.1");
    QVERIFY(!rig.buzzButton()->disabled());
    QVERIFY(rig.connectButton()->disabled());
    QVERIFY(rig.boxes.empty());
}

void tst_BuzzerConnection::names_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("empty") << QByteArray("") << false;
    QTest::newRow("the refused name") << QByteArray("Tovin01") << false;
    QTest::newRow("refused name and a space") << QByteArray("Tovin01 ") << true;
    QTest::newRow("other letter case") << QByteArray("tovin01") << true;
    QTest::newRow("one space") << QByteArray(" ") << true;
    QTest::newRow("the form's name") << QByteArray("选手01") << true;
}

void tst_BuzzerConnection::names()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, accepted);
    StandInConsole console;
    BuzzerRig rig(console.port());
    rig.start();
    rig.nameBox()->setText(name.toStdString());
    rig.addressBox()->setText("127.0.0.1");

    rig.connectButton()->click();

    if (accepted) {
        QVERIFY(rig.boxes.empty());
        QVERIFY(console.accept());
        const std::string report = "XS" + name.toStdString();
        QCOMPARE(console.receive(report.size()), report);
        return;
    }
    QCOMPARE(rig.boxes.size(), size_t(1));
    QCOMPARE(rig.boxes[0].request.text, std::string("请输入你自己的名字和序号"));
    QCOMPARE(rig.boxes[0].request.title, std::string("提示:"));
    QCOMPARE(rig.boxes[0].request.flags, 64);
    QVERIFY(!rig.boxes[0].onTop);
    QCOMPARE(rig.boxes[0].timerPeriod, 100);   // only the exit box stops it
    QVERIFY(rig.main().alwaysOnTop());
    QVERIFY(!console.hasWaitingConnection(50));
    QCOMPARE(rig.main().title(), std::string(kFormTitle));
    QVERIFY(!rig.connectButton()->disabled());
    QVERIFY(rig.buzzButton()->disabled());
}

void tst_BuzzerConnection::addressIsTrimmedOnlyForConnecting()
{
    StandInConsole console;
    BuzzerRig rig(console.port());
    rig.writeFile("ip.txt", " 127.0.0.1 ");
    rig.start();
    QCOMPARE(rig.addressBox()->text(), std::string(" 127.0.0.1 "));

    rig.connectButton()->click();

    QVERIFY(console.accept());
    QCOMPARE(rig.main().title(), std::string(kFormTitle) + "   127.0.0.1 ");
}

void tst_BuzzerConnection::failureThenSuccess()
{
    StandInConsole console(false);   // nothing listens yet: refused
    BuzzerRig rig(console.port());
    rig.start();
    rig.addressBox()->setText("127.0.0.1");

    rig.connectButton()->click();
    QCOMPARE(rig.main().title(), std::string("连接服务器失败!"));
    QVERIFY(!rig.connectButton()->disabled());
    QVERIFY(rig.buzzButton()->disabled());
    QVERIFY(rig.boxes.empty());

    rig.addressBox()->setText("");
    rig.connectButton()->click();
    QCOMPARE(rig.main().title(), std::string("连接服务器失败!"));

    console.listen();
    rig.addressBox()->setText("127.0.0.1");
    rig.connectButton()->click();
    QVERIFY(console.accept());
    QCOMPARE(rig.main().title(), std::string("连接服务器失败!  127.0.0.1"));
    QVERIFY(!rig.buzzButton()->disabled());
    QVERIFY(rig.connectButton()->disabled());
}

void tst_BuzzerConnection::lossAndReconnection()
{
    StandInConsole console;
    BuzzerRig rig(console.port());
    rig.start();
    rig.nameBox()->setText("李四");
    connectRig(rig, console);
    QVERIFY(!rig.buzzButton()->disabled());

    console.closeConnection();
    QTRY_COMPARE(rig.main().title(), std::string("连接断开,点击重连!"));
    QVERIFY(!rig.connectButton()->disabled());
    QVERIFY(!rig.buzzButton()->disabled());   // left as it was

    // A buzz on the lost connection reaches nobody and changes nothing else.
    rig.buzzButton()->click();
    QVERIFY(rig.buzzButton()->disabled());

    rig.nameBox()->setText("李四2");
    rig.connectButton()->click();
    QVERIFY(console.accept());
    QCOMPARE(console.receive(7), std::string("XS李四2"));
    QCOMPARE(rig.main().title(), std::string("连接断开,点击重连!  127.0.0.1"));
    QVERIFY(!rig.buzzButton()->disabled());
    QVERIFY(rig.connectButton()->disabled());

    // Lost while locked: the buzz button stays locked.
    rig.buzzButton()->setDisabledState(true);
    console.closeConnection();
    QTRY_COMPARE(rig.main().title(), std::string("连接断开,点击重连!"));
    QVERIFY(rig.buzzButton()->disabled());
    QVERIFY(!rig.connectButton()->disabled());
}

QTEST_MAIN(tst_BuzzerConnection)
#include "tst_buzzer_connection.moc"
