#include "message_box.h"

#include "gbk.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QThread>

#include <algorithm>
#include <utility>
#include <vector>

namespace ui {

const std::string_view kDefaultBoxTitle = "信息：";

namespace {

BoxAnswerer& installedAnswerer()
{
    static BoxAnswerer answerer;
    return answerer;
}

int openBoxes = 0;  // boxes (real or answered) open now, for BoxRequest::depth

struct Depth
{
    Depth() { ++openBoxes; }
    ~Depth() { --openBoxes; }
    Depth(const Depth&) = delete;
    Depth& operator=(const Depth&) = delete;
};

// An answerer that never presses a button of the box would keep the test
// asking for ever.
constexpr int kMaxAsks = 100;

std::vector<BoxResult> buttonsOf(int flags)
{
    switch (flags & 0xF) {
    case kOkCancel: return {kOk, kCancel};
    case kAbortRetryIgnore: return {kAbort, kRetry, kIgnore};
    case kYesNoCancel: return {kYes, kNo, kCancel};
    case kYesNo: return {kYes, kNo};
    case kRetryCancel: return {kRetry, kCancel};
    default: return {kOk};
    }
}

// The result of closing the box without a button (Esc, close box): Cancel
// where there is one, OK for a lone OK; -1 where the box only ends with one of
// its buttons (Yes/No, Abort/Retry/Ignore).
int closeResult(const std::vector<BoxResult>& buttons)
{
    if (std::find(buttons.begin(), buttons.end(), kCancel) != buttons.end())
        return kCancel;
    if (buttons.size() == 1)
        return buttons.front();
    return -1;
}

QString caption(BoxResult button)
{
    switch (button) {
    case kOk: return QStringLiteral(u"确定");
    case kCancel: return QStringLiteral(u"取消");
    case kAbort: return QStringLiteral(u"中止(&A)");
    case kRetry: return QStringLiteral(u"重试(&R)");
    case kIgnore: return QStringLiteral(u"忽略(&I)");
    case kYes: return QStringLiteral(u"是(&Y)");
    case kNo: return QStringLiteral(u"否(&N)");
    }
    return {};
}

QMessageBox::Icon iconOf(int flags)
{
    switch (flags & 0xF0) {
    case kIconStop: return QMessageBox::Critical;
    case kIconQuestion: return QMessageBox::Question;
    case kIconWarning: return QMessageBox::Warning;
    case kIconInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// Line breaks in texts are CR LF; the box breaks lines at LF.
QString boxText(std::string_view text)
{
    QString shown = gbk::toQString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

// A QMessageBox that closes only through its buttons where the flags say so,
// presses a button at once for its mnemonic letter (with or without Alt),
// and ends the caller's event loop when it hides.
class Box : public QMessageBox
{
public:
    bool closable = true;
    QEventLoop* loop = nullptr;
    static constexpr int kHidden = 0x5EB0;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (!closable && (event->key() == Qt::Key_Escape || event->matches(QKeySequence::Cancel))) {
            event->accept();
            return;
        }
        const auto mods = event->modifiers() & ~(Qt::KeypadModifier | Qt::AltModifier);
        if (mods == Qt::NoModifier && event->key() != 0) {
            for (QAbstractButton* button : buttons()) {
                const QKeySequence mnemonic = QKeySequence::mnemonic(button->text());
                if (!mnemonic.isEmpty() && mnemonic[0].key() == Qt::Key(event->key())) {
                    event->accept();
                    button->click();
                    return;
                }
            }
        }
        QMessageBox::keyPressEvent(event);
    }

    void closeEvent(QCloseEvent* event) override
    {
        if (!closable) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }

    void hideEvent(QHideEvent* event) override
    {
        QMessageBox::hideEvent(event);
        if (loop)
            loop->exit(kHidden);
    }
};

bool canShowBoxes()
{
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    return app && !QCoreApplication::closingDown() && QThread::currentThread() == app->thread()
           && QGuiApplication::primaryScreen();
}

int answered(const BoxRequest& request, const std::vector<BoxResult>& buttons)
{
    const int onClose = closeResult(buttons);
    for (int ask = 1;; ++ask) {
        // A copy: the answerer may install another one.
        BoxAnswerer answerer = installedAnswerer();
        const int result = answerer(request);
        if (std::find(buttons.begin(), buttons.end(), result) != buttons.end())
            return result;
        if (onClose >= 0)
            return onClose;
        if (ask == kMaxAsks)
            qFatal("message box answerer gave %d answers that are no button of a box with "
                   "flags %d",
                   kMaxAsks, request.flags);
    }
}

// A box sizes itself to its text and buttons only, so a long title ("… 提醒您:"
// above a short question) would be cut off in the title bar. Widening the
// text keeps the whole title readable.
void fitTitle(QMessageBox& box)
{
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label)
        return;
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    // Room for the window manager's icon and buttons beside the title.
    const int buttonsAndIcon = 120;
    const int wanted = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + buttonsAndIcon;
    label->setMinimumWidth(std::min(wanted, 600));
}

int shown(std::string_view text, int flags, std::string_view title,
          const std::vector<BoxResult>& buttons)
{
    Box box;
    box.setWindowTitle(gbk::toQString(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(boxText(text));
    box.setIcon(iconOf(flags));
    fitTitle(box);
    // The box belongs to no window; it must not vanish behind the buzzer's
    // always-on-top window while every window ignores input.
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.setWindowModality(Qt::ApplicationModal);
    // Closing a box is never the program's last window closing.
    box.setAttribute(Qt::WA_QuitOnClose, false);

    std::vector<std::pair<QAbstractButton*, BoxResult>> codes;
    for (BoxResult code : buttons) {
        // One role for all keeps the buttons in the order given.
        QPushButton* button = box.addButton(caption(code), QMessageBox::ActionRole);
        codes.emplace_back(button, code);
    }
    const size_t defaultIndex = size_t((flags >> 8) & 3);
    box.setDefaultButton(static_cast<QPushButton*>(
        codes[defaultIndex < codes.size() ? defaultIndex : 0].first));

    const int onClose = closeResult(buttons);
    box.closable = onClose >= 0;
    if (box.closable)
        box.setEscapeButton(std::find_if(codes.begin(), codes.end(), [&](const auto& c) {
                                return c.second == onClose;
                            })->first);

    for (;;) {
        QEventLoop loop;
        box.loop = &loop;
        box.show();
        box.activateWindow();
        // Timers, network events and queued calls keep running in here.
        const int how = loop.exec(QEventLoop::DialogExec);
        box.loop = nullptr;
        if (QAbstractButton* clicked = box.clickedButton()) {
            for (const auto& [button, code] : codes)
                if (button == clicked)
                    return code;
        }
        if (how != Box::kHidden)
            return 0;  // the program is ending
        if (box.closable)
            return onClose;
        // Hidden without a button, which only code can do: a Yes/No box
        // stays until it is answered.
    }
}

}  // namespace

int messageBox(std::string_view text, int flags, std::string_view title)
{
    const std::vector<BoxResult> buttons = buttonsOf(flags);
    Depth depth;
    if (installedAnswerer())
        return answered(BoxRequest{text::Text(text), flags, text::Text(title), openBoxes},
                        buttons);
    if (!canShowBoxes())
        return 0;
    return shown(text, flags, title, buttons);
}

void installBoxAnswerer(BoxAnswerer answerer) { installedAnswerer() = std::move(answerer); }

}  // namespace ui
