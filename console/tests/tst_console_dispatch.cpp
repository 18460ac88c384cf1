// The roster, the inbound dispatch and the buzz arbitration, driven by raw
// loopback contestants.
#include "console_rig.h"

#include <QGuiApplication>

using std::string;

class ConsoleDispatchTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QGuiApplication::setQuitOnLastWindowClosed(false); }

    void connectionsAreListedInOrder()
    {
        ConsoleRig rig;
        auto a = rig.join();
        auto b = rig.join();
        auto c = rig.join();
        QVERIFY(a && b && c);
        QCOMPARE(rig.list()->rowCount(), 3);
        const LoopbackPeer* peers[] = {a.get(), b.get(), c.get()};
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(rig.list()->cellText(row, 0), peers[row]->address());
            for (int column = 1; column < 4; ++column)
                QCOMPARE(rig.list()->cellText(row, column), string());
        }
        QCOMPARE(rig.log()->text(), string());
        QCOMPARE(receivedBy(*a, 0), string());
    }

    void nameReport_data()
    {
        QTest::addColumn<string>("sent");
        QTest::addColumn<string>("name");
        QTest::newRow("plain") << string("XS张三") << string("张三");
        QTest::newRow("code letters inside the name") << string("XSMAX") << string("MAX");
        QTest::newRow("name that starts with the code") << string("XSXS007") << string("007");
        QTest::newRow("buzz code as name") << string("XSQD") << string("QD");
        QTest::newRow("name and buzz in one read") << string("XS张三QD") << string("张三QD");
        QTest::newRow("empty name") << string("XS") << string();
        QTest::newRow("lower-case xs kept") << string("XSxs1") << string("xs1");
    }

    // A NameReport names the sender's row, is logged, locks nobody and is
    // never taken for a Buzz.
    void nameReport()
    {
        QFETCH(string, sent);
        QFETCH(string, name);
        ConsoleRig rig;
        auto other = rig.join("乙");
        auto peer = rig.join();
        QVERIFY(other && peer);
        const string otherLog = rig.log()->text();

        QVERIFY(rig.send(*peer, sent));
        QCOMPARE(rig.list()->cellText(1, 1), name);
        QCOMPARE(rig.list()->cellText(0, 1), string("乙"));
        QCOMPARE(rig.log()->text(), otherLog + "XS :" + peer->address() + name + "\r\n");
        QCOMPARE(rig.count(), string("0"));
        QVERIFY(rig.console->buzzOrder().empty());
        QCOMPARE(receivedBy(*peer, 0), string());
        QCOMPARE(receivedBy(*other, 0), string());
    }

    void laterNameReplacesEarlier()
    {
        ConsoleRig rig;
        auto peer = rig.join("张三");
        QVERIFY(peer);
        QVERIFY(rig.send(*peer, "XS李四"));
        QCOMPARE(rig.list()->cellText(0, 1), string("李四"));
    }

    void otherCodesLockEveryone_data()
    {
        QTest::addColumn<string>("sent");
        QTest::addColumn<string>("logged");   // the log line after code, " :" and address
        QTest::newRow("unknown code") << string("AB") << string();
        QTest::newRow("lower-case buzz") << string("qd") << string();
        QTest::newRow("lower-case lock") << string("stst") << string();
        QTest::newRow("one byte") << string("Q") << string();
        QTest::newRow("console's own code") << string("SDxSDy") << string("xy");
        QTest::newRow("starts with a Chinese character") << string("张三") << string("三");
        QTest::newRow("zero byte first") << string("\0QD", 3) << string();
        QTest::newRow("tail of a split name") << string("三") << string();
    }

    void otherCodesLockEveryone()
    {
        QFETCH(string, sent);
        QFETCH(string, logged);
        ConsoleRig rig;
        auto observer = rig.join("甲");
        auto peer = rig.join("乙");
        QVERIFY(observer && peer);
        const string before = rig.log()->text();

        QVERIFY(rig.send(*peer, sent));
        const wire::Message m = wire::split(sent);
        QCOMPARE(rig.log()->text(), before + m.code + " :" + peer->address() + logged + "\r\n");
        QCOMPARE(receivedBy(*observer, 2), string("ST"));
        QCOMPARE(receivedBy(*peer, 2), string("ST"));
        QCOMPARE(rig.count(), string("0"));
        QCOMPARE(rig.list()->cellText(1, 1), string("乙"));
        QVERIFY(rig.boxes.empty());
    }

    void buzzMessages_data()
    {
        QTest::addColumn<string>("sent");
        QTest::addColumn<string>("logged");
        QTest::newRow("buzz") << string("QD") << string();
        QTest::newRow("buzz with a tail") << string("QD123") << string("123");
        QTest::newRow("two buzzes in one read") << string("QDQD") << string();
    }

    // One read is one message: whatever follows the code, it is one Buzz.
    void buzzMessages()
    {
        QFETCH(string, sent);
        QFETCH(string, logged);
        ConsoleRig rig;
        auto peer = rig.join("张三");
        QVERIFY(peer);
        const string before = rig.log()->text();
        QVERIFY(rig.send(*peer, sent));
        QCOMPARE(rig.log()->text(), before + "QD :" + peer->address() + logged + "\r\n");
        QCOMPARE(rig.count(), string("1"));
        QCOMPARE(rig.console->buzzOrder(), std::vector<string>{peer->address()});
        QCOMPARE(rig.boxes.size(), size_t(1));
    }

    // The road of one question: next round opens every buzzer, the first
    // Buzz locks them all and is announced, later ones are only counted; a
    // reopening with 按钮5 announces nobody; the next round decides afresh.
    void roadOfOneQuestion()
    {
        ConsoleRig rig;
        auto a = rig.join("张三");
        auto b = rig.join("李四");
        QVERIFY(a && b);
        const string opened = "SD当前的抢答轮数是:2\r\n请认真思考后开始抢答!";

        rig.find<ui::Button>("按钮1")->click();
        QCOMPARE(rig.find<ui::Label>("标签2")->caption(), string("2"));
        QCOMPARE(receivedBy(*a, opened.size()), opened);
        QCOMPARE(receivedBy(*b, opened.size()), opened);

        // While the host's box is open, the contestants already have both
        // messages: the box comes last.
        const string announced = "ST" "MG张三 优先抢到了这道题！";
        string seenByBDuringBox;
        rig.answer = [&](const ui::BoxRequest&) {
            seenByBDuringBox = receivedBy(*b, announced.size());
            return 0;
        };
        QVERIFY(rig.send(*a, "QD"));
        rig.answer = nullptr;
        QCOMPARE(rig.count(), string("1"));
        QCOMPARE(seenByBDuringBox, announced);
        QCOMPARE(receivedBy(*a, announced.size()), announced);
        QCOMPARE(rig.find<ui::EditBox>("编辑框3")->text(), string("张三 优先抢到了这道题！"));
        QCOMPARE(rig.boxes.size(), size_t(1));
        QCOMPARE(rig.boxes[0].text, "已有人抢答了:\r\n" + a->address() + "\r\n张三");
        QCOMPARE(rig.boxes[0].title, string("请注意!!"));
        QCOMPARE(rig.boxes[0].flags, 64);

        // A late Buzz: logged and counted, nothing else.
        const string before = rig.log()->text();
        QVERIFY(rig.send(*b, "QD"));
        QCOMPARE(rig.log()->text(), before + "QD :" + b->address() + "\r\n");
        QCOMPARE(rig.count(), string("2"));
        QCOMPARE(rig.console->buzzOrder(), (std::vector<string>{a->address(), b->address()}));
        QCOMPARE(rig.find<ui::EditBox>("编辑框3")->text(), string("张三 优先抢到了这道题！"));
        QCOMPARE(rig.boxes.size(), size_t(1));
        QCOMPARE(receivedBy(*a, 0), string());
        QCOMPARE(receivedBy(*b, 0), string());

        // Reopened without a new round: counted, not announced.
        rig.find<ui::Button>("按钮5")->click();
        QCOMPARE(receivedBy(*a, 2), string("SD"));
        QCOMPARE(receivedBy(*b, 2), string("SD"));
        QVERIFY(rig.send(*b, "QD"));
        QCOMPARE(rig.count(), string("3"));
        QCOMPARE(rig.boxes.size(), size_t(1));
        QCOMPARE(receivedBy(*a, 0), string());

        // The next round decides again.
        rig.find<ui::Button>("按钮1")->click();
        QCOMPARE(rig.count(), string("0"));
        QVERIFY(rig.console->buzzOrder().empty());
        const string round3 = "SD当前的抢答轮数是:3\r\n请认真思考后开始抢答!";
        QCOMPARE(receivedBy(*a, round3.size()), round3);
        QVERIFY(rig.send(*b, "QD"));
        const string second = "ST" "MG李四 优先抢到了这道题！";
        QCOMPARE(receivedBy(*a, second.size()), second);
        QCOMPARE(receivedBy(*b, round3.size() + second.size()), round3 + second);
        QCOMPARE(rig.boxes.size(), size_t(2));
        QCOMPARE(rig.boxes[1].text, "已有人抢答了:\r\n" + b->address() + "\r\n李四");
    }

    // Buzzes under way while the host reads the first-buzz box are taken
    // inside it: counted, never announced.
    void buzzWhileHostBoxIsOpen()
    {
        ConsoleRig rig;
        auto a = rig.join("张三");
        auto b = rig.join("李四");
        QVERIFY(a && b);
        bool secondCounted = false;
        rig.answer = [&](const ui::BoxRequest& r) {
            if (r.title == "请注意!!") {
                b->send("QD");
                secondCounted = waitUntil([&] { return rig.count() == "2"; });
            }
            return 0;
        };
        QVERIFY(rig.send(*a, "QD"));
        QVERIFY(secondCounted);
        QCOMPARE(rig.boxes.size(), size_t(1));
        QCOMPARE(rig.console->buzzOrder(), (std::vector<string>{a->address(), b->address()}));
        const string announced = "ST" "MG张三 优先抢到了这道题！";
        QCOMPARE(receivedBy(*b, announced.size()), announced);
    }

    void unnamedFirstBuzzer()
    {
        ConsoleRig rig;
        auto a = rig.join();
        QVERIFY(a);
        QVERIFY(rig.send(*a, "QD"));
        QCOMPARE(rig.find<ui::EditBox>("编辑框3")->text(), string(" 优先抢到了这道题！"));
        const string announced = "ST" "MG 优先抢到了这道题！";
        QCOMPARE(receivedBy(*a, announced.size()), announced);
        QCOMPARE(rig.boxes.size(), size_t(1));
        QCOMPARE(rig.boxes[0].text, "已有人抢答了:\r\n" + a->address() + "\r\n");
    }

    // The count never reads "1" with nobody in the order through the
    // program's own steps; if it does, the buzzers are locked and nobody is
    // announced, since there is nobody to name.
    void countOfOneWithEmptyOrder()
    {
        ConsoleRig rig;
        auto a = rig.join("张三");
        QVERIFY(a);
        rig.find<ui::EditBox>("编辑框3")->setText("旧通知");
        rig.find<ui::EditBox>("人数标签")->setText("1");
        QCOMPARE(receivedBy(*a, 2), string("ST"));
        QCOMPARE(rig.find<ui::EditBox>("编辑框3")->text(), string("旧通知"));
        QVERIFY(rig.boxes.empty());
    }

    // A departure is logged and shown; the row stays with its name, wins and
    // note, and the next log line continues the departure line.
    void departure()
    {
        ConsoleRig rig;
        auto a = rig.join("张三");
        auto b = rig.join("李四");
        QVERIFY(a && b);
        rig.list()->setCellText(0, 2, "3");
        rig.list()->setCellText(0, 3, "备注");
        QVERIFY(rig.send(*a, "QD"));
        const string announced = "ST" "MG张三 优先抢到了这道题！";
        QCOMPARE(receivedBy(*b, announced.size()), announced);
        rig.boxes.clear();
        const string address = a->address();
        const string before = rig.log()->text();

        QVERIFY(rig.leave(*a));
        QCOMPARE(rig.log()->text(), before + "\r\n有选手掉线:" + address);
        QCOMPARE(rig.boxes.size(), size_t(1));
        QCOMPARE(rig.boxes[0].text, "有选手掉线:" + address);
        QCOMPARE(rig.boxes[0].flags, 16);
        QCOMPARE(rig.boxes[0].title, string(ui::kDefaultBoxTitle));
        QCOMPARE(rig.list()->rowCount(), 2);
        QCOMPARE(rig.list()->cellText(0, 0), address);
        QCOMPARE(rig.list()->cellText(0, 1), string("张三"));
        QCOMPARE(rig.list()->cellText(0, 2), string("3"));
        QCOMPARE(rig.list()->cellText(0, 3), string("备注"));
        QCOMPARE(rig.console->buzzOrder(), std::vector<string>{address});

        QVERIFY(rig.send(*b, "QD"));
        QCOMPARE(rig.log()->text(),
                 before + "\r\n有选手掉线:" + address + "QD :" + b->address() + "\r\n");
        // Broadcasts go on past the dead row.
        rig.find<ui::Button>("按钮4")->click();
        QCOMPARE(receivedBy(*b, 2), string("ST"));
    }

    // A contestant who comes back gets a second row; the dead one stays and
    // broadcasts reach the live one.
    void reconnectionIsListedTwice()
    {
        ConsoleRig rig;
        auto first = rig.join("张三");
        QVERIFY(first);
        const string oldAddress = first->address();
        QVERIFY(rig.leave(*first));
        auto again = rig.join("张三");
        QVERIFY(again);
        QCOMPARE(rig.list()->rowCount(), 2);
        QCOMPARE(rig.list()->cellText(0, 0), oldAddress);
        QCOMPARE(rig.list()->cellText(1, 0), again->address());
        QCOMPARE(rig.list()->cellText(0, 1), string("张三"));
        QCOMPARE(rig.list()->cellText(1, 1), string("张三"));
        rig.find<ui::Button>("按钮4")->click();
        QCOMPARE(receivedBy(*again, 2), string("ST"));
    }

    // A new connection can come from the address of a row whose contestant
    // left; that connection still gets each broadcast once, not once per row,
    // or the buzzer would show the round text twice.
    void reusedAddressGetsOneCopy()
    {
        ConsoleRig rig;
        auto peer = rig.join("张三");
        QVERIFY(peer);
        rig.list()->addRow(peer->address());   // the same address listed again
        QCOMPARE(rig.list()->rowCount(), 2);
        rig.find<ui::Button>("按钮1")->click();
        const string open = "SD当前的抢答轮数是:2\r\n请认真思考后开始抢答!";
        QCOMPARE(receivedBy(*peer, open.size()), open);
    }
};

QTEST_MAIN(ConsoleDispatchTest)
#include "tst_console_dispatch.moc"
