// The buzzer's two windows: the main form as built, the files read at start,
// the backdrop over the screen, keeping on top, and the exit confirmation.
#include "buzzer_rig.h"

#include "picture_box.h"
#include "texts.h"

#include <QBuffer>
#include <QImage>
#include <QTest>

namespace {

std::string jpegBytes(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes.toStdString();
}

}  // namespace

class tst_BuzzerWindows : public QObject
{
    Q_OBJECT

private slots:
    void mainFormAsBuilt();
    void addressFromIpTxt_data();
    void addressFromIpTxt();
    void backdrop_data();
    void backdrop();
    void timerKeepsMainWindowOnTop();
    void exitYesEndsProgram();
    void exitNoKeepsRunning();
    void escapeAsksToExit();
};

void tst_BuzzerWindows::mainFormAsBuilt()
{
    BuzzerRig rig;
    rig.writeFile("ip.txt", "127.0.0.1");
    rig.start();
    MainForm& main = rig.main();

    QCOMPARE(main.title(), std::string(buzzer_text::kFormTitle));
    QVERIFY(main.title().starts_with("Kesta简洁抢答器 beta1.0 "));
    QCOMPARE(main.outerWidth(), 480);
    QCOMPARE(main.outerHeight(), 235);
    QCOMPARE(main.frameGeometry().topLeft(),
             QPoint((ui::screenWidth() - 480) / 2, (ui::screenHeight() - 235) / 2));
    QVERIFY(main.alwaysOnTop());
    QVERIFY(main.windowIcon().availableSizes().contains(QSize(64, 64)));
    QCOMPARE(rig.timer()->period(), 100);

    // Form order: Enter's search for the default button and Tab follow it.
    const char* order[] = {"时钟1", "标签3", "编辑框2", "标签2", "标签1", "编辑框1", "客户1", "按钮2", "按钮1"};
    QStringList named;
    for (QObject* child : main.children())
        if (!child->objectName().isEmpty() && !child->objectName().startsWith(u"qt_"))
            named << child->objectName();
    QStringList expected;
    for (const char* name : order)
        expected << ui::formName(name);
    QCOMPARE(named, expected);

    struct Shown { const char* name; QRect rect; };
    const Shown shown[] = {
        {"标签3", {18, 172, 80, 24}}, {"编辑框2", {111, 171, 153, 24}}, {"标签2", {292, 18, 164, 142}},
        {"标签1", {15, 13, 56, 24}}, {"编辑框1", {72, 15, 112, 23}}, {"按钮2", {15, 50, 265, 110}},
        {"按钮1", {197, 10, 80, 32}},
    };
    for (const Shown& s : shown) {
        QWidget* w = rig.control<QWidget>(s.name);
        QVERIFY2(w, s.name);
        QCOMPARE(w->geometry(), s.rect);
        QVERIFY(w->isVisible());
    }

    QCOMPARE(rig.control<ui::Label>("标签3")->caption(), std::string("服务器IP地址:"));
    QCOMPARE(rig.control<ui::Label>("标签1")->caption(), std::string("选手姓名"));
    QCOMPARE(rig.noticeLabel()->caption(), std::string());
    QVERIFY(rig.noticeLabel()->wordWrap());
    QCOMPARE(rig.nameBox()->text(), std::string("选手01"));
    QCOMPARE(rig.buzzButton()->caption(), std::string("抢答(回车)"));
    QVERIFY(rig.buzzButton()->isDefaultPush());
    QVERIFY(rig.buzzButton()->disabled());
    QCOMPARE(rig.connectButton()->caption(), std::string("连接服务器"));
    QVERIFY(!rig.connectButton()->isDefaultPush());
    QVERIFY(!rig.connectButton()->disabled());
    QVERIFY(rig.client());
    QVERIFY(!rig.client()->isConnected());
}

void tst_BuzzerWindows::addressFromIpTxt_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("address");
    QTest::newRow("address") << true << QByteArray("192.168.1.20") << QByteArray("192.168.1.20");
    QTest::newRow("line break kept") << true << QByteArray("192.168.1.20\r\n") << QByteArray("192.168.1.20\r\n");
    QTest::newRow("spaces kept") << true << QByteArray(" 10.0.0.5 ") << QByteArray(" 10.0.0.5 ");
    QTest::newRow("zero byte cuts") << true << QByteArray("10.0.0.5\0junk", 13) << QByteArray("10.0.0.5");
    QTest::newRow("zero byte first") << true << QByteArray("\0" "10.0.0.5", 9) << QByteArray();
    QTest::newRow("empty file") << true << QByteArray() << QByteArray();
    QTest::newRow("no file") << false << QByteArray() << QByteArray();
}

void tst_BuzzerWindows::addressFromIpTxt()
{
    QFETCH(bool, present);
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, address);
    BuzzerRig rig;
    if (present)
        rig.writeFile("ip.txt", content.toStdString());
    rig.start();
    QCOMPARE(rig.addressBox()->text(), address.toStdString());
}

void tst_BuzzerWindows::backdrop_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("shown");
    QTest::newRow("picture") << true << QByteArray::fromStdString(jpegBytes(40, 30, Qt::red)) << true;
    QTest::newRow("no file") << false << QByteArray() << false;
    QTest::newRow("empty file") << true << QByteArray() << false;
    QTest::newRow("not a picture") << true << QByteArray("not a picture at all") << false;
    QTest::newRow("cut-off picture")
        << true << QByteArray::fromStdString(jpegBytes(40, 30, Qt::red).substr(0, 40)) << false;
}

void tst_BuzzerWindows::backdrop()
{
    QFETCH(bool, present);
    QFETCH(QByteArray, content);
    QFETCH(bool, shown);
    BuzzerRig rig;
    if (present)
        rig.writeFile("back.jpg", content.toStdString());
    rig.start();
    BackdropForm& backdrop = rig.backdrop();
    const QSize screen(ui::screenWidth(), ui::screenHeight());

    QVERIFY(backdrop.isVisible());
    QVERIFY(!backdrop.alwaysOnTop());
    QCOMPARE(backdrop.title(), std::string());
    QCOMPARE(backdrop.frameGeometry(), QRect(QPoint(0, 0), screen));
    auto* picture = backdrop.findChild<ui::PictureBox*>(ui::formName("图片框1"));
    QVERIFY(picture);
    QCOMPARE(picture->geometry(), QRect(QPoint(0, 0), screen));
    QCOMPARE(picture->hasPicture(), shown);
    if (shown)
        QCOMPARE(picture->image().size(), QSize(40, 30));

    // Stretched red over the whole screen, or black.
    const QImage drawn = backdrop.grab().toImage();
    const QColor middle = drawn.pixelColor(drawn.width() / 2, drawn.height() / 2);
    const QColor corner = drawn.pixelColor(drawn.width() - 2, drawn.height() - 2);
    for (const QColor& c : {middle, corner}) {
        if (shown)
            QVERIFY2(c.red() > 200 && c.green() < 60 && c.blue() < 60, qPrintable(c.name()));
        else
            QCOMPARE(c, QColor(Qt::black));
    }

    auto* credits = backdrop.findChild<ui::Label*>(ui::formName("标签1"));
    QVERIFY(credits);
    QVERIFY(!credits->caption().empty());
    QVERIFY(credits->wordWrap());
    QVERIFY(picture->geometry().contains(credits->geometry()));
}

void tst_BuzzerWindows::timerKeepsMainWindowOnTop()
{
    BuzzerRig rig;
    rig.start();
    rig.main().setAlwaysOnTop(false);
    rig.clock.advance(99);
    QVERIFY(!rig.main().alwaysOnTop());
    rig.clock.advance(1);
    QVERIFY(rig.main().alwaysOnTop());
}

void tst_BuzzerWindows::exitYesEndsProgram()
{
    BuzzerRig rig;
    rig.start();
    rig.answers.push_back(ui::kYes);

    QVERIFY(!rig.main().close());

    QCOMPARE(rig.boxes.size(), size_t(1));
    QCOMPARE(rig.boxes[0].request.text, std::string("确定要退出吗？"));
    QCOMPARE(rig.boxes[0].request.flags, 4);
    QCOMPARE(rig.boxes[0].request.title, std::string("Kesta简洁抢答器 提醒您:"));
    QVERIFY(!rig.boxes[0].onTop);
    QCOMPARE(rig.boxes[0].timerPeriod, 0);
    QCOMPARE(rig.exitCodes, std::vector<int>{0});
}

void tst_BuzzerWindows::exitNoKeepsRunning()
{
    BuzzerRig rig;
    rig.start();
    rig.answers.push_back(ui::kNo);

    QVERIFY(!rig.main().close());

    QCOMPARE(rig.boxes.size(), size_t(1));
    QCOMPARE(rig.boxes[0].timerPeriod, 0);
    QVERIFY(rig.exitCodes.empty());
    QVERIFY(rig.main().isVisible());
    QCOMPARE(rig.timer()->period(), 100);
    QVERIFY(!rig.main().alwaysOnTop());   // until the next tick
    rig.clock.advance(100);
    QVERIFY(rig.main().alwaysOnTop());
}

void tst_BuzzerWindows::escapeAsksToExit()
{
    BuzzerRig rig;
    rig.start();
    rig.answers.push_back(ui::kNo);
    QWidget* typing = rig.nameBox()->editor();
    typing->setFocus();

    QTest::keyClick(typing, Qt::Key_Escape);

    QCOMPARE(rig.boxes.size(), size_t(1));
    QCOMPARE(rig.boxes[0].request.text, std::string("确定要退出吗？"));
    QVERIFY(rig.exitCodes.empty());
    QVERIFY(rig.main().isVisible());
}

QTEST_MAIN(tst_BuzzerWindows)
#include "tst_buzzer_windows.moc"
