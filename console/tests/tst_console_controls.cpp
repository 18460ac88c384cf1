// The host's buttons, the scoring clicks on the roster and the countdown.
#include "console_rig.h"

#include "timer.h"

#include <QGuiApplication>
#include <QStringList>

using std::string;
using Strings = std::vector<string>;

namespace {

// A real click in column 0 of `row`, or beside every row for -1.
void clickRoster(ui::ReportList* list, Qt::MouseButton button, int row)
{
    QPoint at;
    if (row >= 0) {
        const QRect cell = list->visualRect(list->model()->index(row, 0));
        at = QPoint(cell.left() + 20, cell.center().y());
    } else {
        at = QPoint(20, list->viewport()->height() - 5);
    }
    QTest::mouseClick(list->viewport(), button, Qt::NoModifier, at);
}

// Replaces the box's content the way a host would: select all, type.
void typeInto(ui::EditBox* box, const QString& typed)
{
    QWidget* editor = box->editor();
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, typed);
}

}  // namespace

class ConsoleControlsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QGuiApplication::setQuitOnLastWindowClosed(false); }

    void roundButtons_data()
    {
        QTest::addColumn<string>("start");
        QTest::addColumn<QString>("presses");   // 1: 按钮1, 2: 按钮2
        QTest::addColumn<string>("shown");
        QTest::newRow("next") << string("1") << "1" << string("2");
        QTest::newRow("next twice") << string("1") << "11" << string("3");
        QTest::newRow("previous") << string("1") << "2" << string("0");
        QTest::newRow("below zero") << string("1") << "22" << string("-1");
        QTest::newRow("there and back") << string("1") << "212" << string("0");
        QTest::newRow("not a number counts as 0") << string("abc") << "1" << string("1");
        QTest::newRow("fraction") << string("1.5") << "1" << string("2.5");
    }

    void roundButtons()
    {
        QFETCH(string, start);
        QFETCH(QString, presses);
        QFETCH(string, shown);
        ConsoleRig rig;
        rig.find<ui::Label>("标签2")->setCaption(start);
        for (QChar p : presses)
            rig.find<ui::Button>(p == u'1' ? "按钮1" : "按钮2")->click();
        QCOMPARE(rig.find<ui::Label>("标签2")->caption(), shown);
    }

    // 按钮2 only moves the number; 按钮1 resets the question and nothing else.
    void roundButtonsLeaveTheRest()
    {
        ConsoleRig rig;
        auto a = rig.join("张三");
        auto b = rig.join("李四");
        QVERIFY(a && b);
        QVERIFY(rig.send(*a, "QD"));
        QVERIFY(rig.send(*b, "QD"));
        const string announced = "ST" "MG张三 优先抢到了这道题！";
        QCOMPARE(receivedBy(*a, announced.size()), announced);
        QCOMPARE(receivedBy(*b, announced.size()), announced);
        rig.list()->setCellText(0, 2, "4");
        rig.list()->setCellText(1, 3, "备注");
        rig.find<ui::EditBox>("计时")->setText("12");

        rig.find<ui::Button>("按钮2")->click();
        QCOMPARE(rig.find<ui::Label>("标签2")->caption(), string("0"));
        QCOMPARE(rig.count(), string("2"));
        QCOMPARE(rig.console->buzzOrder().size(), size_t(2));
        QCOMPARE(receivedBy(*a, 0), string());

        rig.find<ui::Button>("按钮1")->click();
        QCOMPARE(rig.find<ui::Label>("标签2")->caption(), string("1"));
        QCOMPARE(rig.count(), string("0"));
        QVERIFY(rig.console->buzzOrder().empty());
        const string opened = "SD当前的抢答轮数是:1\r\n请认真思考后开始抢答!";
        QCOMPARE(receivedBy(*a, opened.size()), opened);
        QCOMPARE(receivedBy(*b, opened.size()), opened);
        QCOMPARE(rig.find<ui::EditBox>("编辑框3")->text(), string("张三 优先抢到了这道题！"));
        QCOMPARE(rig.find<ui::EditBox>("计时")->text(), string("12"));
        QCOMPARE(rig.list()->cellText(0, 2), string("4"));
        QCOMPARE(rig.list()->cellText(1, 3), string("备注"));
        QCOMPARE(rig.boxes.size(), size_t(1));
    }

    void broadcastButtons_data()
    {
        QTest::addColumn<string>("button");
        QTest::addColumn<string>("notice");
        QTest::addColumn<string>("sent");
        QTest::newRow("lock all") << string("按钮4") << string("x") << string("ST");
        QTest::newRow("open all") << string("按钮5") << string("x") << string("SD");
        QTest::newRow("board notice") << string("按钮6") << string("明天见") << string("TZ明天见");
        QTest::newRow("popup notice, two lines") << string("按钮7") << string("a\r\nb")
                                                 << string("MGa\r\nb");
        QTest::newRow("empty board notice") << string("按钮6") << string() << string("TZ");
        QTest::newRow("empty popup notice") << string("按钮7") << string() << string("MG");
    }

    // Every live row gets the message; a row whose contestant left is passed.
    void broadcastButtons()
    {
        QFETCH(string, button);
        QFETCH(string, notice);
        QFETCH(string, sent);
        ConsoleRig rig;
        auto a = rig.join("甲");
        auto gone = rig.join("乙");
        auto c = rig.join("丙");
        QVERIFY(a && gone && c);
        QVERIFY(rig.leave(*gone));
        rig.find<ui::EditBox>("编辑框3")->setText(notice);

        rig.find<ui::Button>(button)->click();
        QCOMPARE(receivedBy(*a, sent.size()), sent);
        QCOMPARE(receivedBy(*c, sent.size()), sent);
        QCOMPARE(rig.find<ui::EditBox>("编辑框3")->text(), notice);
        QCOMPARE(rig.list()->rowCount(), 3);
    }

    void statistics_data()
    {
        QTest::addColumn<Strings>("names");    // "" : never reported a name
        QTest::addColumn<Strings>("wins");
        QTest::addColumn<int>("leaves");       // row whose contestant left, or -1
        QTest::addColumn<string>("table");
        QTest::newRow("three contestants")
            << Strings{"甲", "乙", "丙"} << Strings{"2", "", "1"} << -1
            << string("答题统计如下:\r\n甲  获胜:2\r\n乙  获胜:\r\n丙  获胜:1");
        QTest::newRow("nobody") << Strings{} << Strings{} << -1 << string("答题统计如下:");
        QTest::newRow("unnamed, and one who left")
            << Strings{"", "丁"} << Strings{"-1", "5"} << 1
            << string("答题统计如下:\r\n  获胜:-1\r\n丁  获胜:5");
    }

    void statistics()
    {
        QFETCH(Strings, names);
        QFETCH(Strings, wins);
        QFETCH(int, leaves);
        QFETCH(string, table);
        ConsoleRig rig;
        std::vector<std::unique_ptr<LoopbackPeer>> peers;
        for (size_t i = 0; i < names.size(); ++i) {
            peers.push_back(rig.join(names[i].empty() ? nullptr : names[i].c_str()));
            QVERIFY(peers.back());
            rig.list()->setCellText(int(i), 2, wins[i]);
        }
        if (leaves >= 0)
            QVERIFY(rig.leave(*peers[leaves]));
        rig.find<ui::EditBox>("编辑框3")->setText("旧通知");

        rig.find<ui::Button>("按钮8")->click();
        QCOMPARE(rig.find<ui::EditBox>("编辑框3")->text(), table);
        for (auto& p : peers)
            if (p->isOpen())
                QCOMPARE(receivedBy(*p, 0), string());
    }

    void scoringClicks_data()
    {
        QTest::addColumn<QString>("clicks");   // L or R, then a row or x (beside the rows)
        QTest::addColumn<string>("caption");
        QTest::addColumn<string>("top");
        QTest::addColumn<string>("second");
        QTest::newRow("left on the top row") << "L0" << string("当前选中的是第0项") << string("1") << string();
        QTest::newRow("two lefts") << "L0 L0" << string("当前选中的是第0项") << string("2") << string();
        QTest::newRow("below zero") << "L0 R0 R0" << string("当前选中的是第0项") << string("-1") << string();
        QTest::newRow("second row") << "L1" << string("当前选中的是第1项") << string() << string("1");
        QTest::newRow("right on an unscored row") << "R1" << string("当前选中的是第1项") << string() << string("-1");
        QTest::newRow("left beside the rows") << "L0 Lx" << string("当前选中的是第-1项") << string("1") << string();
        QTest::newRow("right beside the rows") << "Rx" << string("当前选中的是第-1项") << string() << string();
    }

    void scoringClicks()
    {
        QFETCH(QString, clicks);
        QFETCH(string, caption);
        QFETCH(string, top);
        QFETCH(string, second);
        ConsoleRig rig;
        auto a = rig.join("甲");
        auto b = rig.join("乙");
        QVERIFY(a && b);
        for (const QString& c : clicks.split(u' ')) {
            const Qt::MouseButton button = c[0] == u'L' ? Qt::LeftButton : Qt::RightButton;
            clickRoster(rig.list(), button, c[1] == u'x' ? -1 : c[1].digitValue());
        }
        QCOMPARE(rig.find<ui::Label>("标签3")->caption(), caption);
        QCOMPARE(rig.list()->cellText(0, 2), top);
        QCOMPARE(rig.list()->cellText(1, 2), second);
        QCOMPARE(rig.list()->cellText(0, 1), string("甲"));
        QCOMPARE(receivedBy(*a, 0), string());
    }

    void noteButton()
    {
        ConsoleRig rig;
        auto a = rig.join("甲");
        auto b = rig.join("乙");
        QVERIFY(a && b);
        auto* note = rig.find<ui::EditBox>("编辑框2");
        auto* write = rig.find<ui::Button>("按钮3");

        clickRoster(rig.list(), Qt::LeftButton, 1);
        write->click();
        QCOMPARE(rig.list()->cellText(1, 3), string("这里输入备注内容,如:该选手违规!"));
        note->setText("违规");
        write->click();
        QCOMPARE(rig.list()->cellText(1, 3), string("违规"));
        QCOMPARE(note->text(), string("违规"));
        QCOMPARE(rig.list()->cellText(0, 3), string());

        clickRoster(rig.list(), Qt::LeftButton, -1);
        note->setText("不该写入");
        write->click();
        QCOMPARE(rig.list()->cellText(0, 3), string());
        QCOMPARE(rig.list()->cellText(1, 3), string("违规"));
    }

    // From 30 to 0 once a second, then the timer stops and the host is told.
    void countdownRunsOut()
    {
        ConsoleRig rig;
        auto* seconds = rig.find<ui::EditBox>("计时");
        auto* timer = rig.find<ui::Timer>("时钟1");
        QVERIFY(timer);
        QCOMPARE(timer->period(), 0);
        rig.find<ui::Button>("按钮9")->click();
        QCOMPARE(timer->period(), 1000);
        rig.clock.advance(999);
        QCOMPARE(seconds->text(), string("30"));
        rig.clock.advance(1);
        QCOMPARE(seconds->text(), string("29"));
        rig.clock.advance(28000);
        QCOMPARE(seconds->text(), string("1"));
        QVERIFY(rig.boxes.empty());
        rig.clock.advance(1000);
        QCOMPARE(seconds->text(), string("0"));
        QCOMPARE(timer->period(), 0);
        QCOMPARE(rig.boxes.size(), size_t(1));
        QCOMPARE(rig.boxes[0].text, string("时间到了！！"));
        QCOMPARE(rig.boxes[0].flags, 16);
        QCOMPARE(rig.boxes[0].title, string(ui::kDefaultBoxTitle));
        rig.clock.advance(5000);
        QCOMPARE(seconds->text(), string("0"));
        QCOMPARE(rig.boxes.size(), size_t(1));
    }

    void countdownStartTwiceKeepsRhythm()
    {
        ConsoleRig rig;
        rig.find<ui::Button>("按钮9")->click();
        rig.clock.advance(600);
        rig.find<ui::Button>("按钮9")->click();
        rig.clock.advance(400);
        QCOMPARE(rig.find<ui::EditBox>("计时")->text(), string("29"));
    }

    void countdownStopResets()
    {
        ConsoleRig rig;
        auto* seconds = rig.find<ui::EditBox>("计时");
        rig.find<ui::Button>("按钮9")->click();
        rig.clock.advance(3000);
        QCOMPARE(seconds->text(), string("27"));
        rig.find<ui::Button>("按钮10")->click();
        QCOMPARE(seconds->text(), string("30"));
        QCOMPARE(rig.find<ui::Timer>("时钟1")->period(), 0);
        rig.clock.advance(5000);
        QCOMPARE(seconds->text(), string("30"));
        QVERIFY(rig.boxes.empty());
    }

    void countdownFromZeroOrNonsenseRunsNegative_data()
    {
        QTest::addColumn<string>("start");
        QTest::newRow("zero") << string("0");
        QTest::newRow("not a number") << string("abc");
    }

    // It never passes "0" again, so only 按钮10 ends it.
    void countdownFromZeroOrNonsenseRunsNegative()
    {
        QFETCH(string, start);
        ConsoleRig rig;
        auto* seconds = rig.find<ui::EditBox>("计时");
        seconds->setText(start);
        rig.boxes.clear();
        rig.find<ui::Button>("按钮9")->click();
        rig.clock.advance(1000);
        QCOMPARE(seconds->text(), string("-1"));
        rig.clock.advance(2000);
        QCOMPARE(seconds->text(), string("-3"));
        QVERIFY(rig.boxes.empty());
        rig.find<ui::Button>("按钮10")->click();
        QCOMPARE(seconds->text(), string("30"));
    }

    void hostTypesIntoCountdown_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("timeUp");
        QTest::newRow("0, stopped") << "0" << false << true;
        QTest::newRow("0, running") << "0" << true << true;
        QTest::newRow("blank before 0") << " 0" << true << false;
        QTest::newRow("minus 0") << "-0" << true << false;
        QTest::newRow("10") << "10" << true << false;
    }

    void hostTypesIntoCountdown()
    {
        QFETCH(QString, typed);
        QFETCH(bool, running);
        QFETCH(bool, timeUp);
        ConsoleRig rig;
        auto* timer = rig.find<ui::Timer>("时钟1");
        if (running)
            rig.find<ui::Button>("按钮9")->click();
        typeInto(rig.find<ui::EditBox>("计时"), typed);
        QCOMPARE(rig.boxes.size(), size_t(timeUp ? 1 : 0));
        if (timeUp) {
            QCOMPARE(rig.boxes[0].text, string("时间到了！！"));
            QCOMPARE(rig.boxes[0].flags, 16);
            QCOMPARE(timer->period(), 0);
        } else {
            QCOMPARE(timer->period(), running ? 1000 : 0);
        }
    }
};

QTEST_MAIN(ConsoleControlsTest)
#include "tst_console_controls.moc"
