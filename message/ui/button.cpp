#include "button.h"

#include "form_name.h"
#include "gbk.h"

namespace ui {
namespace {

quint64 nextFormOrder = 0;

}  // namespace

Button::Button(std::string_view formName, std::string_view caption, QWidget* parent)
    : QPushButton(parent), formOrder_(++nextFormOrder)
{
    setFormName(this, formName);
    // Enter is Window's business (its default push rule), not the button's.
    setAutoDefault(false);
    setDefault(false);
    setCaption(caption);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (auto handler = clicked_)  // a copy: the handler may replace itself
            handler();
    });
}

void Button::setCaption(std::string_view caption)
{
    caption_.assign(caption);
    setText(gbk::toQString(caption_));
}

void Button::onClick(std::function<void()> handler) { clicked_ = std::move(handler); }

void Button::setDefaultPush(bool on) { defaultPush_ = on; }

}  // namespace ui
