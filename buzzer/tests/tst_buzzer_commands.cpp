// What the console's messages do to a connected buzzer, the buzz itself, and
// the keys that buzz.
#include "buzzer_rig.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// Sends one read's bytes and waits until the buzzer has handled them.
void deliver(BuzzerRig& rig, StandInConsole& console, const QByteArray& bytes)
{
    QSignalSpy spy(rig.client(), &ClientEndpoint::DataArrived);
    QVERIFY(console.send(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))));
    QTRY_COMPARE(spy.count(), 1);
}

// Everything the buzzer has sent so far: a marker sent after it shows where it ends.
std::string sentBefore(BuzzerRig& rig, StandInConsole& console)
{
    rig.client()->SendData("##");
    std::string got;
    while (got.size() < 2 || got.compare(got.size() - 2, 2, "##") != 0) {
        const std::string piece = console.receive(1);
        if (piece.empty())
            return got + "<nothing more>";
        got += piece;
    }
    return got.substr(0, got.size() - 2);
}

}  // namespace

class tst_BuzzerCommands : public QObject
{
    Q_OBJECT

private slots:
    void messages_data();
    void messages();
    void popupNoticeBeepsBetweenOnTopWrites();
    void doubleClickBuzzesOnce();
    void keys_data();
    void keys();
};

void tst_BuzzerCommands::messages_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("enabledBefore");
    QTest::addColumn<bool>("enabledAfter");
    QTest::addColumn<QByteArray>("notice");   // "旧" is the label before
    QTest::addColumn<int>("beeps");

    const QByteArray round = "当前的抢答轮数是:3\r\n请认真思考后开始抢答!";
    const QByteArray won = "张三 优先抢到了这道题！";

    QTest::newRow("open, no text") << QByteArray("SD") << false << true << QByteArray("") << 0;
    QTest::newRow("open, round 3") << "SD" + round << false << true << round << 0;
    QTest::newRow("open, already open") << QByteArray("SDx") << true << true << QByteArray("x") << 0;
    QTest::newRow("lock") << QByteArray("ST") << true << false << QByteArray("旧") << 0;
    QTest::newRow("lock, already locked") << QByteArray("ST") << false << false << QByteArray("旧") << 0;
    QTest::newRow("board notice, code inside")
        << QByteArray("TZ明天TZ再见tz") << true << true << QByteArray("明天再见tz") << 0;
    QTest::newRow("board notice, T inside a character")
        << QByteArray("TZ\x81TZ") << false << false << QByteArray("\x81TZ") << 0;
    QTest::newRow("board notice, empty") << QByteArray("TZ") << false << false << QByteArray("") << 0;
    QTest::newRow("popup notice") << "MG" + won << false << false << won << 1;
    QTest::newRow("popup notice, enabled") << "MG" + won << true << true << won << 1;
    QTest::newRow("lower-case tz") << QByteArray("tzabc") << true << true << QByteArray("旧") << 0;
    QTest::newRow("lower-case sd") << QByteArray("sd") << false << false << QByteArray("旧") << 0;
    QTest::newRow("single S") << QByteArray("S") << false << false << QByteArray("旧") << 0;
    QTest::newRow("unknown code") << QByteArray("XS张三") << false << false << QByteArray("旧") << 0;
    QTest::newRow("zero byte cuts") << QByteArray("TZab\0SDcd", 9) << false << false << QByteArray("ab") << 0;

    // Several messages in one read act as the first; the later codes stay text.
    QTest::newRow("open then lock") << QByteArray("SDxxST") << false << true << QByteArray("xxST") << 0;
    QTest::newRow("notice then open") << QByteArray("TZabcSD") << true << true << QByteArray("abcSD") << 0;
    QTest::newRow("popup then lock") << QByteArray("MGabcST") << true << true << QByteArray("abcST") << 1;

    // A lock goes first and whatever follows it in the read still counts:
    // the console sends the lock and the winner's announcement back to back.
    QTest::newRow("lock then winner") << "STMG" + won << true << false << won << 1;
    QTest::newRow("lock twice") << QByteArray("STST") << true << false << QByteArray("旧") << 0;
    QTest::newRow("lock then open") << "STSD" + round << true << true << round << 0;
    QTest::newRow("lock, lock, notice") << QByteArray("STSTTZabc") << true << false << QByteArray("abc") << 0;
    QTest::newRow("lock then junk") << QByteArray("STx") << true << false << QByteArray("旧") << 0;
}

void tst_BuzzerCommands::messages()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, enabledBefore);
    QFETCH(bool, enabledAfter);
    QFETCH(QByteArray, notice);
    QFETCH(int, beeps);
    StandInConsole console;
    BuzzerRig rig(console.port());
    rig.start();
    connectRig(rig, console);
    rig.buzzButton()->setDisabledState(!enabledBefore);
    rig.noticeLabel()->setCaption("旧");

    deliver(rig, console, bytes);

    QCOMPARE(!rig.buzzButton()->disabled(), enabledAfter);
    QCOMPARE(rig.noticeLabel()->caption(), notice.toStdString());
    QCOMPARE(int(rig.beepsOnTop.size()), beeps);
    QVERIFY(rig.boxes.empty());
    QVERIFY(rig.main().alwaysOnTop());
    QCOMPARE(sentBefore(rig, console), std::string());
}

void tst_BuzzerCommands::popupNoticeBeepsBetweenOnTopWrites()
{
    StandInConsole console;
    BuzzerRig rig(console.port());
    rig.start();
    connectRig(rig, console);

    deliver(rig, console, "MG王五 优先抢到了这道题！");

    QCOMPARE(rig.beepsOnTop, std::vector<bool>{false});
    QVERIFY(rig.main().alwaysOnTop());
    QCOMPARE(rig.noticeLabel()->caption(), std::string("王五 优先抢到了这道题！"));
}

void tst_BuzzerCommands::doubleClickBuzzesOnce()
{
    StandInConsole console;
    BuzzerRig rig(console.port());
    rig.start();
    connectRig(rig, console);
    QVERIFY(!rig.buzzButton()->disabled());

    // A double click as the window system delivers it: click, second press, release.
    QTest::mouseClick(rig.buzzButton(), Qt::LeftButton);
    QTest::mouseDClick(rig.buzzButton(), Qt::LeftButton);
    QTest::mouseRelease(rig.buzzButton(), Qt::LeftButton);

    QVERIFY(rig.buzzButton()->disabled());
    QCOMPARE(sentBefore(rig, console), std::string("QD"));

    // Unlocked again by the console: one more buzz.
    deliver(rig, console, "SD");
    QTest::mouseClick(rig.buzzButton(), Qt::LeftButton);
    QCOMPARE(sentBefore(rig, console), std::string("QD"));
}

void tst_BuzzerCommands::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << true << QByteArray("QD");
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true << QByteArray("QD");
    QTest::newRow("Shift+Enter") << int(Qt::Key_Return) << int(Qt::ShiftModifier) << true << QByteArray();
    QTest::newRow("Ctrl+Enter") << int(Qt::Key_Return) << int(Qt::ControlModifier) << true << QByteArray();
    QTest::newRow("Enter, locked") << int(Qt::Key_Return) << 0 << false << QByteArray();
}

// Enter buzzes from the name box, where the contestant's focus usually is.
void tst_BuzzerCommands::keys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, enabled);
    QFETCH(QByteArray, sent);
    StandInConsole console;
    BuzzerRig rig(console.port());
    rig.start();
    connectRig(rig, console);
    rig.buzzButton()->setDisabledState(!enabled);
    QWidget* typing = rig.nameBox()->editor();
    typing->setFocus();

    QTest::keyClick(typing, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QCOMPARE(sentBefore(rig, console), sent.toStdString());
    QCOMPARE(rig.buzzButton()->disabled(), !sent.isEmpty() || !enabled);
    QCOMPARE(rig.nameBox()->text(), std::string("选手01"));
}

QTEST_MAIN(tst_BuzzerCommands)
#include "tst_buzzer_commands.moc"
