// Windows: frame and size, placement, title, always on top without
// re-creating the native window, the close query, the Enter and Esc rules,
// loading and activation.
#include "window.h"

#include "button.h"
#include "edit_box.h"
#include "geometry.h"
#include "program_services.h"

#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QWindow>
#include <QtTest>

#include <memory>
#include <string>

using ui::Window;

namespace {

std::string_view view(const QByteArray& bytes) { return {bytes.constData(), size_t(bytes.size())}; }
QByteArray bytesOf(const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); }

// Counts the events that would show a window being hidden, re-shown or
// re-created.
struct NativeEvents : QObject {
    int hides = 0;
    int shows = 0;
    int winIdChanges = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::Hide: ++hides; break;
        case QEvent::Show: ++shows; break;
        case QEvent::WinIdChange: ++winIdChanges; break;
        default: break;
        }
        return false;
    }
};

// A main window like the buzzer's: a name box, a connect button, the buzz
// button (the default push button), a multi-line box; Enter and Esc rules on.
struct KeyForm {
    KeyForm()
        : window("主窗口", Window::Frame::Fixed, 480, 235)
    {
        connect = new ui::Button("按钮1", "连接服务器", &window);
        ui::place(connect, 197, 10, 80, 32);
        name = new ui::EditBox(ui::EditBox::Lines::Single, "编辑框1", &window);
        ui::place(name, 72, 15, 112, 23);
        notes = new ui::EditBox(ui::EditBox::Lines::Multi, "编辑框3", &window);
        ui::place(notes, 300, 50, 150, 100);
        buzz = new ui::Button("按钮2", "抢答(回车)", &window);
        ui::place(buzz, 15, 50, 265, 110);
        buzz->setDefaultPush(true);
        connect->onClick([this] { ++connectClicks; });
        buzz->onClick([this] { ++buzzClicks; });
        window.onCloseQuery([this] {
            ++closeQueries;
            return false;
        });
        window.setEnterClicksDefault(true);
    }
    bool load()
    {
        ui::loadWindow(window);
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }

    Window window;
    ui::Button* connect = nullptr;
    ui::EditBox* name = nullptr;
    ui::EditBox* notes = nullptr;
    ui::Button* buzz = nullptr;
    int connectClicks = 0;
    int buzzClicks = 0;
    int closeQueries = 0;
};

void pressKey(QWidget* receiver, int key, Qt::KeyboardModifiers mods, bool autoRepeat)
{
    if (!autoRepeat) {
        QTest::keyClick(receiver, Qt::Key(key), mods);
        return;
    }
    QKeyEvent press(QEvent::KeyPress, key, mods, QString(), true);
    QApplication::sendEvent(receiver, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, QString(), true);
    QApplication::sendEvent(receiver, &release);
}

}  // namespace

class TestWindow : public QObject {
    Q_OBJECT

private slots:
    void fixedFrameKeepsItsSize();
    void framelessWindowTakesAnySize();
    void positionsAreClamped_data();
    void positionsAreClamped();
    void centresOnScreen();
    void titleKeepsExactBytes_data();
    void titleKeepsExactBytes();
    void alwaysOnTopBeforeCreation();
    void alwaysOnTopKeepsTheNativeWindow();
    void alwaysOffKeepsOtherTopWindows();
    void closeQueryDecides_data();
    void closeQueryDecides();
    void keyRules_data();
    void keyRules();
    void enterPrefersFocusedDefaultButton();
    void enterFollowsFormOrderNotStacking();
    void keyRulesComeBeforeShortcuts();
    void keyRulesWaitForModalBox();
    void keyRulesStayInTheirWindow();
    void loadWindowRaisesCreatedOnce();
    void activationRaisesFocusIn();
};

void TestWindow::fixedFrameKeepsItsSize()
{
    Window w("主窗口", Window::Frame::Fixed, 480, 235);
    const Qt::WindowFlags flags = w.windowFlags();
    QVERIFY(flags.testFlag(Qt::Window));
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::FramelessWindowHint));

    const QSize client(480 - 2 * Window::kFrameWidth, 235 - Window::kCaptionHeight - Window::kFrameWidth);
    QCOMPARE(w.size(), client);
    QCOMPARE(w.outerWidth(), 480);
    QCOMPARE(w.outerHeight(), 235);
    QCOMPARE(w.minimumSize(), client);
    QCOMPARE(w.maximumSize(), client);

    ui::loadWindow(w);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.resize(1000, 800);
    w.resizeOuter(1000, 800);
    w.showMaximized();
    QCOMPARE(w.size(), client);
    w.close();
}

void TestWindow::framelessWindowTakesAnySize()
{
    Window w("窗口1", Window::Frame::None, 322, 273);
    QVERIFY(w.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(w.size(), QSize(322, 273));
    w.resizeOuter(1920, 1080);
    QCOMPARE(w.size(), QSize(1920, 1080));
    QCOMPARE(w.outerWidth(), 1920);
    w.resizeOuter(-5, 40000);
    QCOMPARE(w.size(), QSize(0, ui::kMaxCoordinate));
}

void TestWindow::positionsAreClamped_data()
{
    QTest::addColumn<QPoint>("requested");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("inside") << QPoint(0, 0) << QPoint(0, 0);
    QTest::newRow("negative inside") << QPoint(-100, -32627) << QPoint(-100, -32627);
    QTest::newRow("too far right and up") << QPoint(40000, -40000) << QPoint(32627, -32627);
    QTest::newRow("extremes") << QPoint(INT_MIN, INT_MAX) << QPoint(-32627, 32627);
}

void TestWindow::positionsAreClamped()
{
    QFETCH(QPoint, requested);
    QFETCH(QPoint, expected);
    Window w("主窗口", Window::Frame::Fixed, 480, 235);
    w.moveOuter(requested.x(), requested.y());
    QCOMPARE(w.pos(), expected);
}

void TestWindow::centresOnScreen()
{
    const int sw = ui::screenWidth();
    const int sh = ui::screenHeight();
    QVERIFY(sw > 0 && sh > 0);
    Window main("主窗口", Window::Frame::Fixed, 480, 235);
    main.centreOnScreen();
    QCOMPARE(main.pos(), QPoint((sw - 480) / 2, (sh - 235) / 2));
    Window console("主窗口", Window::Frame::Fixed, 835, 603);
    console.centreOnScreen();
    QCOMPARE(console.pos(), QPoint((sw - 835) / 2, (sh - 603) / 2));
    Window odd("窗口1", Window::Frame::None, 321, 273);
    odd.centreOnScreen();
    QCOMPARE(odd.pos(), QPoint((sw - 321) / 2, (sh - 273) / 2));
}

void TestWindow::titleKeepsExactBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Chinese") << QByteArray("Kesta简洁抢答器 beta1.0") << QStringLiteral(u"Kesta简洁抢答器 beta1.0");
    QTest::newRow("lone 80") << QByteArray("a\x80" "b") << QStringLiteral(u"a\uFFFDb");
    QTest::newRow("lead byte at the end") << QByteArray("x\xD1") << QStringLiteral(u"x\uFFFD");
    QTest::newRow("modified marker") << QByteArray("[*] 选手") << QStringLiteral(u"[*] 选手");
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestWindow::titleKeepsExactBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    Window w("主窗口", Window::Frame::Fixed, 480, 235);
    w.setTitle(view(bytes));
    QCOMPARE(bytesOf(w.title()), bytes);
    w.winId();  // the title bar shows what the native window has
    QCOMPARE(w.windowHandle()->title(), shown);
    w.setTitle("x");
    w.setTitle(view(bytes));
    QCOMPARE(w.windowHandle()->title(), shown);
}

void TestWindow::alwaysOnTopBeforeCreation()
{
    Window w("主窗口", Window::Frame::Fixed, 480, 235);
    w.setAlwaysOnTop(true);
    QVERIFY(w.alwaysOnTop());
    ui::loadWindow(w);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    // The rest of the frame is what the form asked for.
    QVERIFY(!w.windowHandle()->flags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(w.windowHandle()->flags().testFlag(Qt::WindowMinimizeButtonHint));
    w.close();
}

void TestWindow::alwaysOnTopKeepsTheNativeWindow()
{
    Window other("其他", Window::Frame::Fixed, 300, 200);
    Window w("主窗口", Window::Frame::Fixed, 480, 235);
    w.moveOuter(100, 120);
    ui::loadWindow(w);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    ui::loadWindow(other);
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));

    NativeEvents events;
    w.installEventFilter(&events);
    const WId id = w.winId();
    QWindow* const native = w.windowHandle();
    const QRect geometry = w.geometry();

    for (bool on : {true, true, false, false, true}) {
        w.setAlwaysOnTop(on);
        QCOMPARE(w.alwaysOnTop(), on);
        QCOMPARE(w.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), on);
        QCOMPARE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
        QCoreApplication::processEvents();
    }
    QVERIFY(w.isVisible());
    QCOMPARE(w.winId(), id);
    QCOMPARE(w.windowHandle(), native);
    QCOMPARE(w.geometry(), geometry);
    QCOMPARE(events.hides, 0);
    QCOMPARE(events.shows, 0);
    QCOMPARE(events.winIdChanges, 0);
    // Neither write took the activation from the other window.
    QVERIFY(!w.isActiveWindow());
    QVERIFY(other.isActiveWindow());
    w.removeEventFilter(&events);
    w.close();
    other.close();
}

void TestWindow::alwaysOffKeepsOtherTopWindows()
{
    Window main("主窗口", Window::Frame::Fixed, 480, 235);
    Window backdrop("窗口1", Window::Frame::None, 322, 273);
    main.setAlwaysOnTop(true);
    ui::loadWindow(main);
    ui::loadWindow(backdrop);
    backdrop.setAlwaysOnTop(true);
    backdrop.setAlwaysOnTop(false);
    QVERIFY(!backdrop.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(main.alwaysOnTop());
    QVERIFY(main.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    main.close();
    backdrop.close();
}

void TestWindow::closeQueryDecides_data()
{
    QTest::addColumn<int>("answer");  // -1: no handler
    QTest::addColumn<bool>("stays");
    QTest::newRow("refused") << 0 << true;
    QTest::newRow("accepted") << 1 << false;
    QTest::newRow("no handler") << -1 << false;
}

void TestWindow::closeQueryDecides()
{
    QFETCH(int, answer);
    QFETCH(bool, stays);
    Window w("主窗口", Window::Frame::Fixed, 480, 235);
    int queries = 0;
    if (answer >= 0) {
        w.onCloseQuery([&] {
            ++queries;
            return answer == 1;
        });
    }
    ui::loadWindow(w);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.close(), !stays);
    QCOMPARE(w.isVisible(), stays);
    QCOMPARE(queries, answer >= 0 ? 1 : 0);
    w.onCloseQuery({});
    w.close();
}

void TestWindow::keyRules_data()
{
    QTest::addColumn<QString>("focus");  // "name", "notes" (multi-line), "connect"
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("mods");
    QTest::addColumn<bool>("autoRepeat");
    QTest::addColumn<bool>("buzzEnabled");
    QTest::addColumn<bool>("rules");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("queries");
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    QTest::newRow("Enter in the name box") << "name" << int(Qt::Key_Return) << none << false << true << true << 1 << 0;
    QTest::newRow("keypad Enter") << "name" << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << false << true << true << 1 << 0;
    QTest::newRow("Enter in a multi-line box") << "notes" << int(Qt::Key_Return) << none << false << true << true << 1 << 0;
    QTest::newRow("Enter on another button") << "connect" << int(Qt::Key_Return) << none << false << true << true << 1 << 0;
    QTest::newRow("Enter, buzz disabled") << "name" << int(Qt::Key_Return) << none << false << false << true << 0 << 0;
    QTest::newRow("Shift+Enter") << "name" << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ShiftModifier) << false << true << true << 0 << 0;
    QTest::newRow("Ctrl+Enter") << "name" << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ControlModifier) << false << true << true << 0 << 0;
    QTest::newRow("Alt+Enter") << "name" << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::AltModifier) << false << true << true << 0 << 0;
    QTest::newRow("held Enter repeats") << "name" << int(Qt::Key_Return) << none << true << true << true << 1 << 0;
    QTest::newRow("Esc") << "name" << int(Qt::Key_Escape) << none << false << true << true << 0 << 1;
    QTest::newRow("Esc in a multi-line box") << "notes" << int(Qt::Key_Escape) << none << false << true << true << 0 << 1;
    QTest::newRow("Shift+Esc") << "name" << int(Qt::Key_Escape) << Qt::KeyboardModifiers(Qt::ShiftModifier) << false << true << true << 0 << 0;
    QTest::newRow("rules off: Enter") << "name" << int(Qt::Key_Return) << none << false << true << false << 0 << 0;
    QTest::newRow("rules off: Esc") << "name" << int(Qt::Key_Escape) << none << false << true << false << 0 << 0;
}

void TestWindow::keyRules()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, mods);
    QFETCH(bool, autoRepeat);
    QFETCH(bool, buzzEnabled);
    QFETCH(bool, rules);
    QFETCH(int, clicks);
    QFETCH(int, queries);

    KeyForm form;
    form.window.setEnterClicksDefault(rules);
    form.buzz->setDisabledState(!buzzEnabled);
    form.notes->setText("x");
    QVERIFY(form.load());
    QWidget* target = focus == "name"    ? form.name->editor()
                      : focus == "notes" ? form.notes->editor()
                                         : static_cast<QWidget*>(form.connect);
    target->setFocus();
    QTRY_VERIFY(target->hasFocus());

    pressKey(target, key, mods, autoRepeat);
    QCOMPARE(form.buzzClicks, clicks);
    QCOMPARE(form.connectClicks, 0);
    QCOMPARE(form.closeQueries, queries);
    // Enter never moves the focus, and the window took the key from the box.
    QVERIFY(target->hasFocus());
    if (rules && mods == Qt::NoModifier)
        QCOMPARE(form.notes->text(), std::string("x"));

    if (autoRepeat) {
        // The first repeat that finds the button enabled clicks it.
        form.buzz->setDisabledState(true);
        pressKey(target, key, mods, true);
        QCOMPARE(form.buzzClicks, 1);
        form.buzz->setDisabledState(false);
        pressKey(target, key, mods, true);
        pressKey(target, key, mods, true);
        QCOMPARE(form.buzzClicks, 3);
    }
    form.window.onCloseQuery({});
    form.window.close();
}

void TestWindow::enterPrefersFocusedDefaultButton()
{
    KeyForm form;
    auto* second = new ui::Button("按钮3", "备注↑", &form.window);
    second->setDefaultPush(true);
    int secondClicks = 0;
    second->onClick([&] { ++secondClicks; });
    QVERIFY(form.load());

    second->setFocus();
    QTRY_VERIFY(second->hasFocus());
    QTest::keyClick(second, Qt::Key_Return);
    QCOMPARE(secondClicks, 1);
    QCOMPARE(form.buzzClicks, 0);

    // Focused but disabled: the first enabled one in form order instead.
    second->setDisabledState(true);
    QTest::keyClick(second, Qt::Key_Return);
    QCOMPARE(secondClicks, 1);
    QCOMPARE(form.buzzClicks, 1);

    // The first one disabled: the next enabled one.
    second->setDisabledState(false);
    form.buzz->setDisabledState(true);
    form.name->setFocus();
    QTest::keyClick(form.name->editor(), Qt::Key_Return);
    QCOMPARE(secondClicks, 2);
    QCOMPARE(form.buzzClicks, 1);

    // None enabled: nothing.
    second->setDisabledState(true);
    QTest::keyClick(form.name->editor(), Qt::Key_Return);
    QCOMPARE(secondClicks, 2);
    QCOMPARE(form.buzzClicks, 1);
    QCOMPARE(form.connectClicks, 0);
    form.window.onCloseQuery({});
    form.window.close();
}

void TestWindow::enterFollowsFormOrderNotStacking()
{
    KeyForm form;
    auto* later = new ui::Button("按钮3", "备注↑", &form.window);
    later->setDefaultPush(true);
    int laterClicks = 0;
    later->onClick([&] { ++laterClicks; });
    // Restacking reorders Qt's children; the form's order stays.
    form.buzz->raise();
    later->lower();
    QVERIFY(form.load());
    form.name->setFocus();
    QTRY_VERIFY(form.name->editor()->hasFocus());
    QTest::keyClick(form.name->editor(), Qt::Key_Return);
    QCOMPARE(form.buzzClicks, 1);
    QCOMPARE(laterClicks, 0);
    form.window.onCloseQuery({});
    form.window.close();
}

void TestWindow::keyRulesComeBeforeShortcuts()
{
    KeyForm form;
    int shortcuts = 0;
    for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
        auto* shortcut = new QShortcut(QKeySequence(key), &form.window);
        QObject::connect(shortcut, &QShortcut::activated, [&] { ++shortcuts; });
    }
    QVERIFY(form.load());
    form.name->setFocus();
    QTRY_VERIFY(form.name->editor()->hasFocus());
    QTest::keyClick(form.name->editor(), Qt::Key_Return);
    QTest::keyClick(form.name->editor(), Qt::Key_Escape);
    QCOMPARE(shortcuts, 0);
    QCOMPARE(form.buzzClicks, 1);
    QCOMPARE(form.closeQueries, 1);
    form.window.onCloseQuery({});
    form.window.close();
}

void TestWindow::keyRulesWaitForModalBox()
{
    KeyForm form;
    QVERIFY(form.load());
    form.name->setFocus();
    QDialog box;
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(QApplication::activeModalWidget(), &box);
    pressKey(form.name->editor(), Qt::Key_Return, Qt::NoModifier, true);
    pressKey(form.name->editor(), Qt::Key_Escape, Qt::NoModifier, true);
    QCOMPARE(form.buzzClicks, 0);
    QCOMPARE(form.closeQueries, 0);
    box.hide();
    pressKey(form.name->editor(), Qt::Key_Return, Qt::NoModifier, true);
    QCOMPARE(form.buzzClicks, 1);
    form.window.onCloseQuery({});
    form.window.close();
}

void TestWindow::keyRulesStayInTheirWindow()
{
    KeyForm form;
    QVERIFY(form.load());
    Window console("主窗口", Window::Frame::Fixed, 835, 603);
    auto* box = new ui::EditBox(ui::EditBox::Lines::Single, "编辑框2", &console);
    int closes = 0;
    console.onCloseQuery([&] {
        ++closes;
        return false;
    });
    ui::loadWindow(console);
    console.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&console));
    box->setFocus();
    QTest::keyClick(box->editor(), Qt::Key_Return);
    QTest::keyClick(box->editor(), Qt::Key_Escape);
    QCOMPARE(form.buzzClicks, 0);
    QCOMPARE(form.closeQueries, 0);
    QCOMPARE(closes, 0);
    console.onCloseQuery({});
    console.close();
    form.window.onCloseQuery({});
    form.window.close();
}

void TestWindow::loadWindowRaisesCreatedOnce()
{
    Window main("主窗口", Window::Frame::Fixed, 480, 235);
    Window backdrop("窗口1", Window::Frame::None, 322, 273);
    std::vector<std::string> order;
    backdrop.onCreated([&] {
        QVERIFY(backdrop.isVisible());
        order.push_back("backdrop created");
    });
    main.onCreated([&] {
        QVERIFY(main.isVisible());
        QVERIFY(main.isLoaded());
        order.push_back("main created");
        QVERIFY(ui::loadWindow(backdrop));  // nests inside
        order.push_back("main created end");
    });
    QVERIFY(!main.isLoaded());
    QVERIFY(ui::loadWindow(main));
    const std::vector<std::string> expected{"main created", "backdrop created", "main created end"};
    QCOMPARE(order, expected);
    QVERIFY(main.isLoaded());
    QVERIFY(backdrop.isLoaded());

    QVERIFY(ui::loadWindow(main));
    QVERIFY(ui::loadWindow(backdrop));
    QCOMPARE(order.size(), size_t(3));
    QVERIFY(main.isVisible());
    main.close();
    backdrop.close();
}

void TestWindow::activationRaisesFocusIn()
{
    Window main("主窗口", Window::Frame::Fixed, 480, 235);
    Window backdrop("窗口1", Window::Frame::None, 322, 273);
    auto* name = new ui::EditBox(ui::EditBox::Lines::Single, "编辑框1", &main);
    int backdropFocus = 0;
    // The buzzer's rule: the backdrop hands the focus to the main window.
    backdrop.onFocusIn([&] {
        ++backdropFocus;
        ui::setFocus(&main);
    });
    ui::loadWindow(main);
    name->setFocus();
    ui::loadWindow(backdrop);
    backdrop.activateWindow();
    QTRY_COMPARE(backdropFocus, 1);
    QTRY_VERIFY(main.isActiveWindow());
    // The main window's control keeps its focus.
    QTRY_VERIFY(name->editor()->hasFocus());
    QCOMPARE(backdropFocus, 1);
    main.close();
    backdrop.close();
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
