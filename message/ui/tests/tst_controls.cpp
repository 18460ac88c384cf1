// Labels, buttons and group boxes: exact captions, line breaks, alignment,
// clicks only while enabled, and positions inside a group box.
#include "button.h"
#include "form_name.h"
#include "geometry.h"
#include "group_box.h"
#include "label.h"

#include <QSignalSpy>
#include <QtTest>

#include <string>

namespace {

std::string_view view(const QByteArray& bytes) { return {bytes.constData(), size_t(bytes.size())}; }
QByteArray bytesOf(const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); }

}  // namespace

class TestControls : public QObject {
    Q_OBJECT

private slots:
    void captionsKeepExactBytes_data();
    void captionsKeepExactBytes();
    void labelShowsLineBreaks_data();
    void labelShowsLineBreaks();
    void labelIsPlainText();
    void labelAlignmentFollowsWordWrap();
    void labelSettings();
    void buttonClicksOnlyWhileEnabled();
    void buttonIgnoresEnterAndCanReplaceItsHandler();
    void groupBoxPlacesChildrenFromItsCorner();
};

void TestControls::captionsKeepExactBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Chinese") << QByteArray("下一轮") << QStringLiteral(u"下一轮");
    QTest::newRow("full-width arrow") << QByteArray("备注↑") << QStringLiteral(u"备注↑");
    QTest::newRow("lone 80") << QByteArray("a\x80" "b") << QStringLiteral(u"a\uFFFDb");
    QTest::newRow("lead byte at the end") << QByteArray("1\xD1") << QStringLiteral(u"1\uFFFD");
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestControls::captionsKeepExactBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QWidget host;

    auto* label = new ui::Label("标签1", view(bytes), &host);
    QCOMPARE(bytesOf(label->caption()), bytes);
    QCOMPARE(label->text(), shown);
    label->setCaption("x");
    label->setCaption(view(bytes));
    QCOMPARE(bytesOf(label->caption()), bytes);

    auto* button = new ui::Button("按钮1", view(bytes), &host);
    QCOMPARE(bytesOf(button->caption()), bytes);
    QCOMPARE(button->text(), shown);
    button->setCaption("x");
    button->setCaption(view(bytes));
    QCOMPARE(bytesOf(button->caption()), bytes);

    auto* group = new ui::GroupBox("分组框1", view(bytes), &host);
    QCOMPARE(group->title(), shown);

    // Form names find the controls.
    QCOMPARE(host.findChild<ui::Label*>(ui::formName("标签1")), label);
    QCOMPARE(host.findChild<ui::Button*>(ui::formName("按钮1")), button);
    QCOMPARE(host.findChild<ui::GroupBox*>(ui::formName("分组框1")), group);
}

void TestControls::labelShowsLineBreaks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("CR LF") << QByteArray("第1轮\r\n开始") << QStringLiteral(u"第1轮\n开始");
    QTest::newRow("two CR LF") << QByteArray("a\r\n\r\nb") << QStringLiteral(u"a\n\nb");
    QTest::newRow("lone LF") << QByteArray("a\nb") << QStringLiteral(u"a\nb");
    QTest::newRow("lone CR") << QByteArray("a\rb") << QStringLiteral(u"a\nb");
}

void TestControls::labelShowsLineBreaks()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    ui::Label label("标签2", view(bytes), nullptr);
    QCOMPARE(label.text(), shown);
    QCOMPARE(bytesOf(label.caption()), bytes);
}

void TestControls::labelIsPlainText()
{
    // A notice from the network is shown as it is, never as markup.
    ui::Label label("标签2", "<b>x</b> &amp;", nullptr);
    QCOMPARE(label.textFormat(), Qt::PlainText);
    QCOMPARE(label.text(), QStringLiteral(u"<b>x</b> &amp;"));
}

void TestControls::labelAlignmentFollowsWordWrap()
{
    ui::Label label("标签2", "", nullptr);
    QCOMPARE(label.alignment(), Qt::AlignLeft | Qt::AlignVCenter);
    label.setWordWrap(true);
    QVERIFY(label.wordWrap());
    QCOMPARE(label.alignment(), Qt::AlignLeft | Qt::AlignTop);
    label.setWordWrap(false);
    QCOMPARE(label.alignment(), Qt::AlignLeft | Qt::AlignVCenter);
}

void TestControls::labelSettings()
{
    ui::Label label("标签6", "", nullptr);
    label.setTextColor(QColor(255, 0, 0));
    QCOMPARE(label.palette().color(QPalette::WindowText), QColor(255, 0, 0));
    label.setFontPixelHeight(35);
    QCOMPARE(label.font().pixelSize(), 35);
    QCOMPARE(label.font().weight(), QFont::Normal);
}

void TestControls::buttonClicksOnlyWhileEnabled()
{
    QWidget host;
    host.resize(200, 100);
    auto* button = new ui::Button("按钮2", "抢答(回车)", &host);
    ui::place(button, 10, 10, 100, 40);
    int clicks = 0;
    button->onClick([&] { ++clicks; });
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    button->setDisabledState(true);
    QVERIFY(button->disabled());
    QTest::mouseClick(button, Qt::LeftButton);
    button->click();
    QTest::keyClick(button, Qt::Key_Space);
    QCOMPARE(clicks, 0);

    button->setDisabledState(false);
    QVERIFY(!button->disabled());
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicks, 1);
    QTest::mouseClick(button, Qt::RightButton);
    QCOMPARE(clicks, 1);
    button->click();
    QCOMPARE(clicks, 2);

    // A button in a disabled group box is disabled too.
    auto* group = new ui::GroupBox("分组框1", "功能面板", &host);
    auto* inner = new ui::Button("按钮4", "全员禁止抢答", group);
    int innerClicks = 0;
    inner->onClick([&] { ++innerClicks; });
    group->show();
    group->setEnabled(false);
    QTest::mouseClick(inner, Qt::LeftButton);
    QCOMPARE(innerClicks, 0);
}

void TestControls::buttonIgnoresEnterAndCanReplaceItsHandler()
{
    QWidget host;
    auto* button = new ui::Button("按钮2", "抢答(回车)", &host);
    button->setDefaultPush(true);
    QVERIFY(button->isDefaultPush());
    // Enter belongs to the window's rules, not to Qt's dialog defaults.
    QVERIFY(!button->autoDefault());
    QVERIFY(!button->isDefault());
    int first = 0;
    int second = 0;
    button->onClick([&] {
        ++first;
        button->onClick([&] { ++second; });  // replaces itself while running
    });
    host.show();
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(first, 0);
    button->click();
    button->click();
    QCOMPARE(first, 1);
    QCOMPARE(second, 1);

    // Buttons remember the order they were made in, whatever the stacking.
    auto* later = new ui::Button("按钮1", "连接服务器", &host);
    later->lower();
    QVERIFY(button->formOrder() < later->formOrder());
}

void TestControls::groupBoxPlacesChildrenFromItsCorner()
{
    QWidget window;
    window.resize(835, 603);
    auto* group = new ui::GroupBox("分组框1", "功能面板", &window);
    ui::place(group, 7, 404, 815, 120);
    auto* button = new ui::Button("按钮4", "全员禁止抢答", group);
    ui::place(button, 12, 20, 88, 32);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(button->parentWidget(), group);
    QCOMPARE(button->geometry(), QRect(12, 20, 88, 32));
    QCOMPARE(button->mapTo(&window, QPoint(0, 0)), QPoint(7 + 12, 404 + 20));
    QCOMPARE(group->title(), QStringLiteral(u"功能面板"));
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
