#include "label.h"

#include "form_name.h"
#include "gbk.h"

#include <QPalette>

namespace ui {

Label::Label(std::string_view formName, std::string_view caption, QWidget* parent)
    : QLabel(parent)
{
    setFormName(this, formName);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setCaption(caption);
}

void Label::setCaption(std::string_view caption)
{
    caption_.assign(caption);
    // CR LF, and a lone CR or LF, each start a new line.
    QString shown = gbk::toQString(caption_);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setText(shown);
}

void Label::setTextColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

void Label::setFontPixelHeight(int pixels)
{
    QFont f = font();
    f.setPixelSize(pixels > 0 ? pixels : 1);
    f.setWeight(QFont::Normal);
    setFont(f);
}

void Label::setWordWrap(bool on)
{
    QLabel::setWordWrap(on);
    setAlignment(Qt::AlignLeft | (on ? Qt::AlignTop : Qt::AlignVCenter));
}

}  // namespace ui
