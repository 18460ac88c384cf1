#include "window.h"

#include "button.h"
#include "form_name.h"
#include "gbk.h"
#include "geometry.h"
#include "program_services.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QWindow>

#include <algorithm>

namespace ui {
namespace {

constexpr Qt::WindowFlags kFixedFrameFlags = Qt::Window | Qt::WindowTitleHint
                                             | Qt::WindowSystemMenuHint
                                             | Qt::WindowMinimizeButtonHint
                                             | Qt::WindowCloseButtonHint;
constexpr Qt::WindowFlags kNoFrameFlags = Qt::Window | Qt::FramelessWindowHint;

bool isEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// The key rules count a key only without Ctrl, Shift and Alt; the keypad
// flag of the keypad's Enter does not matter.
bool plainKey(const QKeyEvent* key)
{
    return (key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)) == 0;
}

// Qt reads "[*]" in a title as the modified marker and hides it; "[*][*]"
// shows one "[*]".
QString shownTitle(std::string_view title)
{
    QString shown = gbk::toQString(title);
    shown.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    return shown;
}

// Windowless platforms (the tests' offscreen one) have no stacking order and
// warn on every raise; the keep-on-top timer would fill their logs.
void raiseNative(QWindow* native)
{
    static const bool stacking = QGuiApplication::platformName() != QLatin1String("offscreen")
                                 && QGuiApplication::platformName() != QLatin1String("minimal");
    if (stacking)
        native->raise();
}

}  // namespace

Window::Window(std::string_view formName, Frame frame, int outerWidth, int outerHeight)
    : QWidget(nullptr, frame == Frame::Fixed ? kFixedFrameFlags : kNoFrameFlags), frame_(frame)
{
    setFormName(this, formName);
    const int width = clampSize(outerWidth);
    const int height = clampSize(outerHeight);
    if (frame_ == Frame::Fixed)
        setFixedSize(std::max(0, width - 2 * kFrameWidth),
                     std::max(0, height - kCaptionHeight - kFrameWidth));
    else
        setFixedSize(width, height);
}

Window::~Window() = default;

void Window::setTitle(std::string_view title)
{
    title_.assign(title);
    setWindowTitle(shownTitle(title_));
}

int Window::outerWidth() const
{
    return frame_ == Frame::Fixed ? width() + 2 * kFrameWidth : width();
}

int Window::outerHeight() const
{
    return frame_ == Frame::Fixed ? height() + kCaptionHeight + kFrameWidth : height();
}

void Window::moveOuter(int left, int top)
{
    // For a window, move() places the frame's top-left corner.
    move(clampPosition(left), clampPosition(top));
}

void Window::resizeOuter(int width, int height)
{
    if (frame_ == Frame::Fixed)
        return;  // a fixed frame keeps the size the form gave it
    setFixedSize(clampSize(width), clampSize(height));
}

void Window::centreOnScreen()
{
    moveOuter((screenWidth() - outerWidth()) / 2, (screenHeight() - outerHeight()) / 2);
}

void Window::setAlwaysOnTop(bool on)
{
    onTop_ = on;
    // Only the flag the widget keeps; re-creating the window (setWindowFlags)
    // would hide it.
    overrideWindowFlags(on ? windowFlags() | Qt::WindowStaysOnTopHint
                           : windowFlags() & ~Qt::WindowStaysOnTopHint);
    QWindow* native = windowHandle();
    if (!native)
        return;  // created later with the flag
    if (native->flags().testFlag(Qt::WindowStaysOnTopHint) != on)
        native->setFlag(Qt::WindowStaysOnTopHint, on);
    if (on) {
        raiseNative(native);
        return;
    }
    // Leaving the top band must not drop the program's other top windows.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* other = qobject_cast<Window*>(widget);
        if (other && other != this && other->isLoaded() && other->alwaysOnTop())
            other->applyOnTop();
    }
}

void Window::applyOnTop()
{
    if (QWindow* native = windowHandle()) {
        if (!native->flags().testFlag(Qt::WindowStaysOnTopHint))
            native->setFlag(Qt::WindowStaysOnTopHint, true);
        raiseNative(native);
    }
}

void Window::setEnterClicksDefault(bool on)
{
    if (on == enterRules_)
        return;
    enterRules_ = on;
    // On the application: the rules take the key before the focused control.
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

void Window::onCreated(std::function<void()> handler) { created_ = std::move(handler); }
void Window::onCloseQuery(std::function<bool()> handler) { closeQuery_ = std::move(handler); }
void Window::onFocusIn(std::function<void()> handler) { focusIn_ = std::move(handler); }

void Window::raiseCreated()
{
    if (auto handler = created_)
        handler();
}

void Window::closeEvent(QCloseEvent* event)
{
    if (auto handler = closeQuery_) {
        if (!handler()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

bool Window::event(QEvent* event)
{
    const bool activated = event->type() == QEvent::WindowActivate;
    // The window itself taking the focus other than through activation
    // (which was already reported just above).
    const bool focused = event->type() == QEvent::FocusIn
                         && static_cast<QFocusEvent*>(event)->reason()
                                != Qt::ActiveWindowFocusReason;
    const bool result = QWidget::event(event);
    if (activated || focused) {
        if (auto handler = focusIn_)
            handler();
    }
    return result;
}

bool Window::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (!enterRules_ || (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        || !watched->isWidgetType())
        return QWidget::eventFilter(watched, event);
    auto* receiver = static_cast<QWidget*>(watched);
    if (receiver != this && !isAncestorOf(receiver))
        return false;
    if (QApplication::activeModalWidget())
        return false;  // a modal box holds the input
    auto* key = static_cast<QKeyEvent*>(event);
    if (!plainKey(key) || (!isEnterKey(key->key()) && key->key() != Qt::Key_Escape))
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Accepted: no shortcut takes the key, and it comes back as a key press.
        event->accept();
        return true;
    }
    return handleKey(receiver, key);
}

bool Window::handleKey(QWidget* receiver, QKeyEvent* key)
{
    if (key->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    auto clickable = [](const Button* b) { return b && b->isDefaultPush() && b->isEnabled(); };
    // The key goes to the control with the focus.
    Button* target = qobject_cast<Button*>(receiver);
    if (!clickable(target)) {
        target = nullptr;
        for (Button* b : findChildren<Button*>()) {
            if (clickable(b) && (!target || b->formOrder() < target->formOrder()))
                target = b;
        }
    }
    if (target)
        target->click();
    return true;
}

bool loadWindow(Window& window)
{
    if (window.loaded_) {
        if (QWindow* native = window.windowHandle())
            raiseNative(native);
        window.activateWindow();
        return true;
    }
    window.show();
    window.loaded_ = true;
    window.raiseCreated();
    return true;
}

}  // namespace ui
