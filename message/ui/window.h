// Top-level window of a form: title, frame, size, placement, the created and
// close-query events, always on top, and the key rules of a window.
//
// Sizes are outer sizes, frame included, as the forms give them. A fixed
// frame has a caption, a system menu with close, a minimise box and no
// maximise box, and cannot be resized; its client area is the outer size less
// a nominal frame (kFrameWidth on each side, kCaptionHeight above), so the
// controls fit whatever the window manager draws.
//
// Always on top is changed through the native window (QWindow), never by
// re-creating it: writing 1 again only raises the window above the other
// always-on-top windows; no write moves, resizes or activates it.
#pragma once

#include "text.h"

#include <QWidget>

#include <functional>
#include <string_view>

namespace ui {

class Window : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kFrameWidth = 3;
    static constexpr int kCaptionHeight = 26;

    enum class Frame { Fixed, None };

    Window(std::string_view formName, Frame frame, int outerWidth, int outerHeight);
    ~Window() override;

    const text::Text& title() const { return title_; }
    void setTitle(std::string_view title);

    int outerWidth() const;
    int outerHeight() const;
    // Left and top of the frame on the screen, clamped like every position.
    void moveOuter(int left, int top);
    // Width and height of a frameless window (clamped); fixed frames keep theirs.
    void resizeOuter(int width, int height);
    // Left = (screen width - outer width) / 2, top likewise.
    void centreOnScreen();

    bool alwaysOnTop() const { return onTop_; }
    void setAlwaysOnTop(bool on);

    // Enter (without Ctrl, Shift, Alt) clicks the focused control if it is an
    // enabled default push button, else the first enabled default push button
    // in form order; Esc asks the window to close. Taken before the focused
    // control sees the key. Off by default: Enter and Esc then mean nothing
    // to the window.
    void setEnterClicksDefault(bool on);

    // Raised by loadWindow() once the window and its controls exist and show.
    void onCreated(std::function<void()> handler);
    // Raised when the user asks to close (close box, system menu, Alt+F4, Esc
    // with the key rules). Returning false keeps the window open.
    void onCloseQuery(std::function<bool()> handler);
    // Raised when the window itself receives the keyboard focus (activated).
    void onFocusIn(std::function<void()> handler);

    bool isLoaded() const { return loaded_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend bool loadWindow(Window& window);
    void raiseCreated();
    void applyOnTop();
    bool handleKey(QWidget* receiver, QKeyEvent* key);

    Frame frame_;
    text::Text title_;
    bool onTop_ = false;
    bool loaded_ = false;
    bool enterRules_ = false;
    std::function<void()> created_;
    std::function<bool()> closeQuery_;
    std::function<void()> focusIn_;
};

// Creates and shows the window and raises its created event, then returns
// true without waiting for it to close; a loaded window is only brought to
// the front.
bool loadWindow(Window& window);

}  // namespace ui
