// The console's window, its start and close, and what keeps it standing: a
// port it cannot listen on, and a room of contestants dropping out at once.
#include "console_rig.h"

#include "footer.h"
#include "group_box.h"
#include "label.h"
#include "roster.h"
#include "socket_sys.h"
#include "timer.h"

#include <QGuiApplication>
#include <QPointer>

using std::string;

class ConsoleLifecycleTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QGuiApplication::setQuitOnLastWindowClosed(false); }

    void controls_data()
    {
        QTest::addColumn<string>("name");
        QTest::addColumn<bool>("inPanel");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<string>("initial");
        auto row = [](const char* tag, string name, bool inPanel, QRect place, string initial) {
            QTest::newRow(tag) << name << inPanel << place << initial;
        };
        row("round caption", "标签1", false, {11, 16, 112, 24}, "现在的抢答轮数是:");
        row("round", "标签2", false, {128, 16, 24, 24}, "1");
        row("next round", "按钮1", false, {159, 12, 80, 32}, "下一轮");
        row("previous round", "按钮2", false, {250, 11, 80, 32}, "上一轮");
        row("hint", "标签4", false, {360, 16, 216, 24}, "鼠标右键减获胜场数,左键加获胜场数！");
        row("log", "编辑框1", false, {8, 49, 344, 311}, "");
        row("count caption", "标签5", false, {8, 368, 80, 24}, "已抢答人数:");
        row("count", "人数标签", false, {96, 368, 80, 20}, "0");
        row("selected row", "标签3", false, {360, 376, 152, 24}, "");
        row("note", "编辑框2", false, {527, 375, 225, 20}, "这里输入备注内容,如:该选手违规!");
        row("write note", "按钮3", false, {762, 370, 54, 32}, "备注↑");
        row("lock all", "按钮4", true, {12, 20, 88, 32}, "全员禁止抢答");
        row("open all", "按钮5", true, {110, 20, 96, 32}, "全员允许抢答");
        row("start countdown", "按钮9", true, {12, 62, 80, 22}, "计时开始:");
        row("stop countdown", "按钮10", true, {12, 86, 80, 22}, "计时结束:");
        row("countdown", "计时", true, {108, 60, 61, 48}, "30");
        row("board notice", "按钮6", true, {261, 11, 96, 25}, "发送全员通知");
        row("popup notice", "按钮7", true, {261, 46, 96, 22}, "消息框短通知");
        row("statistics", "按钮8", true, {268, 76, 85, 32}, "分数统计");
        row("notice", "编辑框3", true, {367, 14, 440, 100}, "");
    }

    void controls()
    {
        QFETCH(string, name);
        QFETCH(bool, inPanel);
        QFETCH(QRect, place);
        QFETCH(string, initial);
        ConsoleRig rig;
        auto* control = rig.find<QWidget>(name);
        QVERIFY(control);
        QWidget* parent = inPanel ? rig.find<QWidget>("分组框1") : rig.form();
        QCOMPARE(control->parentWidget(), parent);
        QCOMPARE(control->geometry(), place);
        if (auto* l = qobject_cast<ui::Label*>(control))
            QCOMPARE(l->caption(), initial);
        else if (auto* b = qobject_cast<ui::Button*>(control))
            QCOMPARE(b->caption(), initial);
        else if (auto* e = qobject_cast<ui::EditBox*>(control))
            QCOMPARE(e->text(), initial);
        else
            QFAIL("unexpected kind of control");
    }

    void window()
    {
        ConsoleRig rig;
        console::ConsoleForm* f = rig.form();
        QVERIFY(f->isVisible());
        QCOMPARE(f->outerWidth(), 835);
        QCOMPARE(f->outerHeight(), 603);
        QCOMPARE(f->title(), string("Kesta简洁抢答器 beta1.0 主持人控制台"));
        QVERIFY(!f->windowIcon().isNull());

        auto* panel = rig.find<ui::GroupBox>("分组框1");
        QVERIFY(panel);
        QCOMPARE(panel->geometry(), QRect(7, 404, 815, 120));
        QCOMPARE(panel->title(), QStringLiteral(u"功能面板"));

        ui::ReportList* list = rig.list();
        QCOMPARE(list->geometry(), QRect(360, 48, 456, 312));
        QCOMPARE(list->columnCount(), 4);
        const QString titles[] = {QStringLiteral(u"选手IP"), QStringLiteral(u"选手名称"),
                                  QStringLiteral(u"获胜场次"), QStringLiteral(u"备注信息")};
        const int widths[] = {150, 100, 100, 200};
        for (int c = 0; c < 4; ++c) {
            QCOMPARE(list->headerItem()->text(c), titles[c]);
            QCOMPARE(list->columnWidth(c), widths[c]);
        }
        QCOMPARE(list->rowCount(), 0);
        QCOMPARE(list->currentRow(), -1);

        QVERIFY(rig.find<ui::EditBox>("人数标签")->isReadOnly());
        for (const char* editable : {"计时", "编辑框1", "编辑框2", "编辑框3"})
            QVERIFY2(!rig.find<ui::EditBox>(editable)->isReadOnly(), editable);
        QCOMPARE(rig.find<ui::Timer>("时钟1")->period(), 0);
        auto* server = rig.find<ServerEndpoint>("服务器1");
        QVERIFY(server);
        QVERIFY(server->isListening());

        auto* footer = rig.find<ui::Label>("标签6");
        QVERIFY(footer);
        QCOMPARE(footer->geometry(), QRect(8, 536, 816, 32));
        QCOMPARE(footer->caption(), console::footerText(sock::localIPv4Addresses(), rig.port(),
                                                        ui::programFolder() + "/guide/index.html"));
        QCOMPARE(rig.log()->text(), string());
    }

    void footerText_data()
    {
        QTest::addColumn<std::vector<string>>("addresses");
        QTest::addColumn<string>("text");
        const string tail = "  端口: 6767  (选手的ip.txt里写本机地址)\r\n使用说明: /opt/qb/guide/index.html";
        QTest::newRow("no network") << std::vector<string>{} << "本机地址: (未连接网络)" + tail;
        QTest::newRow("one") << std::vector<string>{"192.168.1.20"} << "本机地址: 192.168.1.20" + tail;
        QTest::newRow("two") << std::vector<string>{"192.168.1.20", "10.0.0.5"}
                             << "本机地址: 192.168.1.20  10.0.0.5" + tail;
        QTest::newRow("more than fit")
            << std::vector<string>{"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.4", "10.0.0.5"}
            << "本机地址: 10.0.0.1  10.0.0.2  10.0.0.3  10.0.0.4" + tail;
    }

    void footerText()
    {
        QFETCH(std::vector<string>, addresses);
        QFETCH(string, text);
        QCOMPARE(console::footerText(addresses, 6767, "/opt/qb/guide/index.html"), text);
    }

    void startupOpensTheGuideOnce()
    {
        ConsoleRig rig;
        QCOMPARE(rig.started.size(), size_t(1));
        QCOMPARE(rig.started[0].commandLine,
                 ui::desktopOpener() + " \"" + ui::programFolder() + "/guide/index.html\"");
        QCOMPARE(rig.started[0].wait, false);
    }

    // An opener that cannot be started changes nothing.
    void startupGoesOnWhenTheGuideCannotOpen()
    {
        ConsoleRig rig;   // its starter first, then one that fails
        ui::installProgramStarter([](const text::Text&, bool) { return false; });
        console::Console second(0);
        second.start();
        QVERIFY(second.form()->isVisible());
        QVERIFY(second.form()->server->isListening());
    }

    // No keeps the window, its rows, counters and connections as they were.
    void closeAnsweredNo()
    {
        ConsoleRig rig;
        auto a = rig.join("张三");
        QVERIFY(a);
        rig.find<ui::Button>("按钮1")->click();
        QVERIFY(rig.send(*a, "QD"));
        const string sent = "SD当前的抢答轮数是:2\r\n请认真思考后开始抢答!" "ST" "MG张三 优先抢到了这道题！";
        QCOMPARE(receivedBy(*a, sent.size()), sent);
        rig.boxes.clear();
        QPointer<console::ConsoleForm> f = rig.form();

        QVERIFY(!f->close());
        QCOMPARE(rig.boxes.size(), size_t(1));
        QCOMPARE(rig.boxes[0].text, string("确定要关闭吗?如果有选手连接会掉线的~"));
        QCOMPARE(rig.boxes[0].title, string("提示"));
        QCOMPARE(rig.boxes[0].flags, 4);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(f && f->isVisible());
        QCOMPARE(rig.find<ui::Label>("标签2")->caption(), string("2"));
        QCOMPARE(rig.count(), string("1"));
        QCOMPARE(rig.list()->rowCount(), 1);
        QVERIFY(rig.send(*a, "XS李四"));
        QCOMPARE(rig.list()->cellText(0, 1), string("李四"));
        rig.find<ui::Button>("按钮4")->click();
        QCOMPARE(receivedBy(*a, 2), string("ST"));
    }

    // Yes closes the window; every contestant sees the connection closed,
    // and nothing is sent first.
    void closeAnsweredYes()
    {
        ConsoleRig rig;
        auto a = rig.join("张三");
        auto b = rig.join("李四");
        QVERIFY(a && b);
        rig.answer = [](const ui::BoxRequest&) { return int(ui::kYes); };
        QPointer<console::ConsoleForm> f = rig.form();
        f->close();
        QVERIFY(waitUntil([&] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return f.isNull();
        }));
        QCOMPARE(rig.boxes.size(), size_t(1));
        QCOMPARE(receivedBy(*a, 0), string());
        QVERIFY(a->seesClose());
        QVERIFY(b->seesClose());
        QCOMPARE(rig.console->form(), nullptr);
    }

    // A taken port: the window still opens, and the log tells the host why
    // no contestant will appear.
    void portThatCannotBeListenedOn()
    {
        string why;
        const sock::Handle holder = sock::listenTcp(0, why);
        QVERIFY(holder != sock::kInvalidSocket);
        const int port = sock::localPort(holder);
        {
            ConsoleRig rig(port);
            ServerEndpoint* server = rig.form()->server;
            QVERIFY(!server->isListening());
            QVERIFY(!server->listenError().empty());
            QVERIFY(rig.form()->isVisible());
            QCOMPARE(rig.log()->text(), "端口" + std::to_string(port) + "无法监听: "
                                            + server->listenError() + ",选手无法连接本控制台!\r\n");
            QCOMPARE(rig.started.size(), size_t(1));
        }
        sock::closeSocket(holder);
    }

    // Contestants dropping out faster than the host closes boxes: every
    // departure is logged, at most eight boxes are stacked, and the console
    // goes on working.
    void departureStorm()
    {
        constexpr int kCycles = 2000;
        ConsoleRig rig;
        const int port = rig.port();
        int cycles = 0;
        int departureBoxes = 0;
        int depth = 0;
        int deepest = 0;
        int mostOpenSeen = 0;
        rig.answer = [&](const ui::BoxRequest& r) {
            if (r.text.rfind("有选手掉线:", 0) != 0)
                return 0;
            ++departureBoxes;
            deepest = std::max(deepest, ++depth);
            mostOpenSeen = std::max(mostOpenSeen, rig.console->roster().openDepartureBoxes());
            // The box stays open while more contestants come and go.
            while (cycles < kCycles) {
                LoopbackPeer(port).close();
                ++cycles;
                QCoreApplication::processEvents();
            }
            --depth;
            return 0;
        };
        {
            LoopbackPeer first(port);
            ++cycles;
        }
        auto departures = [&] {
            const string log = rig.log()->text();
            int n = 0;
            for (size_t at = log.find("有选手掉线:"); at != string::npos;
                 at = log.find("有选手掉线:", at + 1))
                ++n;
            return n;
        };
        QVERIFY(waitUntil([&] { return cycles == kCycles && departures() == kCycles; }, 100000));
        QCOMPARE(depth, 0);
        QCOMPARE(deepest, console::Roster::kMaxOpenDepartureBoxes);
        QCOMPARE(mostOpenSeen, console::Roster::kMaxOpenDepartureBoxes);
        QVERIFY(departureBoxes >= console::Roster::kMaxOpenDepartureBoxes);
        QVERIFY(departureBoxes < kCycles);
        QCOMPARE(rig.console->roster().openDepartureBoxes(), 0);
        QCOMPARE(rig.list()->rowCount(), kCycles);

        // Still listening, naming and sending.
        rig.answer = nullptr;
        auto alive = rig.join("还在");
        QVERIFY(alive);
        // Loopback reuses client ports, so an older row may carry the same
        // address; the name goes to the first such row.
        QCOMPARE(rig.list()->cellText(kCycles, 0), alive->address());
        QCOMPARE(rig.list()->cellText(rig.list()->findRow(alive->address()), 1), string("还在"));
        // However many rows carry its address, the connection hears ST once.
        rig.find<ui::Button>("按钮4")->click();
        QCOMPARE(receivedBy(*alive, 2), string("ST"));
        // And a departure opens a box again once the others are closed.
        const size_t boxes = rig.boxes.size();
        QVERIFY(rig.leave(*alive));
        QCOMPARE(rig.boxes.size(), boxes + 1);
    }
};

QTEST_MAIN(ConsoleLifecycleTest)
#include "tst_console_lifecycle.moc"
