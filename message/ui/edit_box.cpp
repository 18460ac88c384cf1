#include "edit_box.h"

#include "form_name.h"
#include "gbk.h"

#include <QApplication>
#include <QColor>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QTextCursor>
#include <QTextDocument>

#include <limits>

namespace ui {
namespace {

// A multi-line box shows CR LF, and a lone CR or LF, as one line break.
QString multiLineDisplay(std::string_view bytes)
{
    QString shown = gbk::toQString(bytes);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

// A single-line box cannot show a line break; each CR and LF shows as a space
// (the box still holds the bytes).
QString singleLineDisplay(std::string_view bytes)
{
    QString shown = gbk::toQString(bytes);
    shown.replace(QLatin1Char('\r'), QLatin1Char(' '));
    shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return shown;
}

// Reverses the multi-line display: line breaks are CR LF in a text.
text::Text fromMultiLine(QString shown)
{
    shown.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return gbk::fromQString(shown);
}

}  // namespace

EditBox::EditBox(Lines lines, std::string_view formName, QWidget* parent)
    : QWidget(parent), lines_(lines)
{
    setFormName(this, formName);
    QWidget* child = nullptr;
    if (lines_ == Lines::Single) {
        line_ = new QLineEdit(this);
        // The box has no length limit; QLineEdit's default is 32767.
        line_->setMaxLength(std::numeric_limits<int>::max());
        connect(line_, &QLineEdit::textEdited, this, [this] { userEdited(); });
        child = line_;
    } else {
        multi_ = new QPlainTextEdit(this);
        multi_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        multi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        multi_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        connect(multi_, &QPlainTextEdit::textChanged, this, [this] {
            if (programWriting_ == 0)
                userEdited();
        });
        child = multi_;
    }
    child->setGeometry(rect());
    setFocusProxy(child);
    setFocusPolicy(child->focusPolicy());
    setBorder(true);
}

EditBox::~EditBox() = default;

text::Text EditBox::text() const
{
    if (!userChanged_)
        return written_;
    if (line_)
        return gbk::fromQString(line_->text());
    return fromMultiLine(multi_->toPlainText());
}

void EditBox::setText(std::string_view content)
{
    written_.assign(content);
    userChanged_ = false;
    ++programWriting_;
    if (line_) {
        line_->setText(singleLineDisplay(written_));  // also clears undo
    } else {
        // With undo off the document also forgets its undo history, so the
        // user cannot take the program's write back.
        QTextDocument* doc = multi_->document();
        doc->setUndoRedoEnabled(false);
        multi_->setPlainText(multiLineDisplay(written_));
        doc->setUndoRedoEnabled(true);
        multi_->moveCursor(QTextCursor::End);
    }
    --programWriting_;
    raiseTextChanged();
}

void EditBox::append(std::string_view piece)
{
    takeUserEdits();
    // A CR LF split between two pieces is already on screen as a break.
    const bool splitBreak = !piece.empty() && piece.front() == '\n' && !written_.empty()
                            && written_.back() == '\r';
    written_.append(piece);
    ++programWriting_;
    if (line_) {
        // setText clears the undo history, so the append cannot be undone.
        line_->setText(line_->text() + singleLineDisplay(piece));
        line_->end(false);
    } else {
        const QString shown = multiLineDisplay(splitBreak ? piece.substr(1) : piece);
        QTextDocument* doc = multi_->document();
        doc->setUndoRedoEnabled(false);
        QTextCursor cursor(doc);
        cursor.movePosition(QTextCursor::End);
        multi_->setTextCursor(cursor);
        multi_->insertPlainText(shown);
        doc->setUndoRedoEnabled(true);
        multi_->ensureCursorVisible();
    }
    --programWriting_;
    raiseTextChanged();
}

void EditBox::append(std::initializer_list<std::string_view> pieces)
{
    for (std::string_view piece : pieces)
        append(piece);
}

void EditBox::onTextChanged(std::function<void()> handler) { textChanged_ = std::move(handler); }

void EditBox::raiseTextChanged()
{
    // A copy: the handler may replace itself while it runs.
    if (auto handler = textChanged_)
        handler();
}

void EditBox::userEdited()
{
    userChanged_ = true;
    raiseTextChanged();
}

void EditBox::takeUserEdits()
{
    if (!userChanged_)
        return;
    written_ = text();
    userChanged_ = false;
}

void EditBox::setReadOnly(bool readOnly)
{
    if (line_)
        line_->setReadOnly(readOnly);
    else
        multi_->setReadOnly(readOnly);
}

bool EditBox::isReadOnly() const { return line_ ? line_->isReadOnly() : multi_->isReadOnly(); }

void EditBox::setBorder(bool sunken)
{
    if (line_) {
        line_->setFrame(sunken);
    } else {
        multi_->setFrameStyle(sunken ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
    }
}

void EditBox::setTextColor(const QColor& color)
{
    QWidget* e = editor();
    QPalette p = e->palette();
    p.setColor(QPalette::Text, color);
    e->setPalette(p);
}

void EditBox::setWindowBackground(bool on)
{
    QWidget* e = editor();
    QPalette p = e->palette();
    const QPalette standard = QApplication::palette(e);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base,
                   on ? p.color(group, QPalette::Window) : standard.color(group, QPalette::Base));
    }
    e->setPalette(p);
}

void EditBox::setFontPixelHeight(int pixels)
{
    QFont f = font();
    f.setPixelSize(pixels > 0 ? pixels : 1);
    f.setWeight(QFont::Normal);
    setFont(f);
}

void EditBox::setVerticalScrollBar(bool on)
{
    if (multi_)
        multi_->setVerticalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

QWidget* EditBox::editor() const
{
    if (line_)
        return line_;
    return multi_;
}

void EditBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    editor()->setGeometry(rect());
}

}  // namespace ui
