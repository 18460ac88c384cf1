#include "console_form.h"

#include "console_icon.h"
#include "footer.h"
#include "form_name.h"
#include "geometry.h"
#include "guide.h"
#include "numbers.h"
#include "socket_sys.h"

#include <QColor>
#include <QIcon>
#include <QPixmap>

namespace console {
namespace {

const QColor kRed(255, 0, 0);

ui::Label* label(QWidget* parent, std::string_view name, std::string_view caption,
                 int left, int top, int width, int height)
{
    auto* l = new ui::Label(name, caption, parent);
    ui::place(l, left, top, width, height);
    return l;
}

ui::Button* button(QWidget* parent, std::string_view name, std::string_view caption,
                   int left, int top, int width, int height)
{
    auto* b = new ui::Button(name, caption, parent);
    ui::place(b, left, top, width, height);
    return b;
}

ui::EditBox* editBox(QWidget* parent, ui::EditBox::Lines lines, std::string_view name,
                     std::string_view content, int left, int top, int width, int height)
{
    auto* e = new ui::EditBox(lines, name, parent);
    ui::place(e, left, top, width, height);
    e->setText(content);
    if (lines == ui::EditBox::Lines::Multi)
        e->setVerticalScrollBar(true);
    return e;
}

}  // namespace

ConsoleForm::ConsoleForm(int port)
    : ui::Window("主窗口", ui::Window::Frame::Fixed, kOuterWidth, kOuterHeight)
{
    using Lines = ui::EditBox::Lines;

    setTitle("Kesta简洁抢答器 beta1.0 主持人控制台");
    setWindowIcon(QIcon(QPixmap::fromImage(consoleIcon(64))));

    roundCaption = label(this, "标签1", "现在的抢答轮数是:", 11, 16, 112, 24);
    roundNumber = label(this, "标签2", "1", 128, 16, 24, 24);
    roundNumber->setTextColor(kRed);
    nextRound = button(this, "按钮1", "下一轮", 159, 12, 80, 32);
    previousRound = button(this, "按钮2", "上一轮", 250, 11, 80, 32);
    scoringHint = label(this, "标签4", "鼠标右键减获胜场数,左键加获胜场数！", 360, 16, 216, 24);

    log = editBox(this, Lines::Multi, "编辑框1", "", 8, 49, 344, 311);

    roster = new ui::ReportList("超级列表框1", this);
    ui::place(roster, 360, 48, 456, 312);
    roster->addColumn("选手IP", 150);
    roster->addColumn("选手名称", 100);
    roster->addColumn("获胜场次", 100);
    roster->addColumn("备注信息", 200);

    countCaption = label(this, "标签5", "已抢答人数:", 8, 368, 80, 24);
    // Reads like a label: the count is the program's, never the host's.
    buzzCount = editBox(this, Lines::Single, "人数标签", "0", 96, 368, 80, 20);
    buzzCount->setReadOnly(true);
    buzzCount->setBorder(false);
    buzzCount->setTextColor(kRed);
    buzzCount->setWindowBackground(true);

    selectedRow = label(this, "标签3", "", 360, 376, 152, 24);
    note = editBox(this, Lines::Single, "编辑框2", "这里输入备注内容,如:该选手违规!", 527, 375, 225, 20);
    writeNote = button(this, "按钮3", "备注↑", 762, 370, 54, 32);

    panel = new ui::GroupBox("分组框1", "功能面板", this);
    ui::place(panel, 7, 404, 815, 120);
    lockAll = button(panel, "按钮4", "全员禁止抢答", 12, 20, 88, 32);
    openAll = button(panel, "按钮5", "全员允许抢答", 110, 20, 96, 32);
    startCountdown = button(panel, "按钮9", "计时开始:", 12, 62, 80, 22);
    stopCountdown = button(panel, "按钮10", "计时结束:", 12, 86, 80, 22);
    // The host may type a starting value; big digits readable across the room.
    countdown = editBox(panel, Lines::Single, "计时", text::integerToText(kCountdownStart),
                        108, 60, 61, 48);
    countdown->setBorder(false);
    countdown->setWindowBackground(true);
    countdown->setFontPixelHeight(48);
    boardNotice = button(panel, "按钮6", "发送全员通知", 261, 11, 96, 25);
    popupNotice = button(panel, "按钮7", "消息框短通知", 261, 46, 96, 22);
    statistics = button(panel, "按钮8", "分数统计", 268, 76, 85, 32);
    notice = editBox(panel, Lines::Multi, "编辑框3", "", 367, 14, 440, 100);

    countdownClock = new ui::Timer("时钟1", 0, this);

    server = new ServerEndpoint(port, this);
    ui::setFormName(server, "服务器1");

    // Contestants type one of these addresses into their ip.txt.
    const int shownPort = server->isListening() ? server->localPort() : port;
    footer = label(this, "标签6", footerText(sock::localIPv4Addresses(), shownPort, guidePath()),
                   8, 536, 816, 32);
    footer->setTextColor(kRed);
}

}  // namespace console
