// Edit box: a single- or multi-line text box whose content is a GBK text.
//
// The box keeps the exact bytes the program wrote (or appended) and returns
// them unchanged until the user edits it; from then on reading gives what the
// box shows, converted to GBK. Line breaks are CR LF in the text and shown as
// line breaks in a multi-line box.
//
// Text-changed handler: raised exactly once, synchronously, before setText()
// returns, also when the text is unchanged; once per text given to append();
// and after every change the user makes. Qt's own change signals are not used
// for program writes: they skip same-text writes and differ between widgets.
// The handler may write this or other boxes; those writes nest.
#pragma once

#include "text.h"

#include <QWidget>

#include <functional>
#include <initializer_list>
#include <string_view>

class QColor;
class QLineEdit;
class QPlainTextEdit;

namespace ui {

class EditBox : public QWidget
{
    Q_OBJECT

public:
    enum class Lines { Single, Multi };

    EditBox(Lines lines, std::string_view formName, QWidget* parent);
    ~EditBox() override;

    text::Text text() const;
    void setText(std::string_view content);
    // For each text in order: caret to the end, scroll to it, insert; not
    // undoable by the user. One text-changed per text.
    void append(std::string_view piece);
    void append(std::initializer_list<std::string_view> pieces);

    void onTextChanged(std::function<void()> handler);

    // Settings the forms give.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const;
    void setBorder(bool sunken);             // default: sunken border
    void setTextColor(const QColor& color);
    // The background of the window behind the box instead of white.
    void setWindowBackground(bool on);
    void setFontPixelHeight(int pixels);      // normal weight, default face
    void setVerticalScrollBar(bool on);       // multi-line boxes only

    // The widget that takes typing (a QLineEdit or a QPlainTextEdit), for
    // tests that type as a user would.
    QWidget* editor() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void raiseTextChanged();
    void userEdited();
    // Brings written_ up to what the box shows after the user's edits.
    void takeUserEdits();

    Lines lines_;
    QLineEdit* line_ = nullptr;
    QPlainTextEdit* multi_ = nullptr;
    text::Text written_;        // what the program wrote, exact
    bool userChanged_ = false;  // the user edited after the last write
    int programWriting_ = 0;    // Qt signals during our own writes are ignored
    std::function<void()> textChanged_;
};

}  // namespace ui
