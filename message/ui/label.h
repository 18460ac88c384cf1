// Label: shows a caption (a GBK text); CR LF starts a new line. Raises no
// event. Reading the caption gives the exact bytes last written.
//
// Left-aligned; one line is centred vertically, while a word-wrapped label
// draws its lines from its top edge.
#pragma once

#include "text.h"

#include <QLabel>

#include <string_view>

namespace ui {

class Label : public QLabel
{
    Q_OBJECT

public:
    Label(std::string_view formName, std::string_view caption, QWidget* parent);

    const text::Text& caption() const { return caption_; }
    void setCaption(std::string_view caption);

    void setTextColor(const QColor& color);
    void setFontPixelHeight(int pixels);
    // Breaks lines at word boundaries and moves the text to the top edge.
    void setWordWrap(bool on);

private:
    text::Text caption_;
};

}  // namespace ui
