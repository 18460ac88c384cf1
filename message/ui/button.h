// Push button with a GBK caption. The click handler runs when the user clicks
// it while enabled (and through Window's Enter rule for a default push
// button); a disabled button raises nothing. click() from code behaves the
// same way, for tests.
#pragma once

#include "text.h"

#include <QPushButton>

#include <functional>
#include <string_view>

namespace ui {

class Button : public QPushButton
{
    Q_OBJECT

public:
    Button(std::string_view formName, std::string_view caption, QWidget* parent);

    const text::Text& caption() const { return caption_; }
    void setCaption(std::string_view caption);

    void onClick(std::function<void()> handler);

    // The "disabled" property of the forms: 1 greys the button and it ignores
    // mouse and keyboard.
    bool disabled() const { return !isEnabled(); }
    void setDisabledState(bool disabled) { setEnabled(!disabled); }

    // A default push button is the one Enter clicks (Window::setEnterClicksDefault).
    void setDefaultPush(bool on);
    bool isDefaultPush() const { return defaultPush_; }
    // Order of creation among all buttons: the form's order, which stacking
    // changes (raise, lower) leave alone.
    quint64 formOrder() const { return formOrder_; }

private:
    text::Text caption_;
    bool defaultPush_ = false;
    quint64 formOrder_ = 0;
    std::function<void()> clicked_;
};

}  // namespace ui
