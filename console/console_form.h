// The console's main window as the host sees it: every control at its place
// with its initial text and settings, the countdown timer 时钟1 and the server
// endpoint 服务器1. No behaviour lives here; console_app binds the handlers.
#pragma once

#include "button.h"
#include "edit_box.h"
#include "group_box.h"
#include "label.h"
#include "report_list.h"
#include "server_endpoint.h"
#include "timer.h"
#include "window.h"

namespace console {

class ConsoleForm : public ui::Window
{
    Q_OBJECT

public:
    static constexpr int kOuterWidth = 835;
    static constexpr int kOuterHeight = 603;
    static constexpr int kCountdownStart = 30;

    // `port`: where 服务器1 listens (6767 in the program; 0 lets the system
    // choose, for tests). Listening starts here.
    explicit ConsoleForm(int port);

    // Round number and the controls around it.
    ui::Label* roundCaption;      // 标签1
    ui::Label* roundNumber;       // 标签2
    ui::Button* nextRound;        // 按钮1
    ui::Button* previousRound;    // 按钮2
    ui::Label* scoringHint;       // 标签4

    ui::EditBox* log;             // 编辑框1
    ui::ReportList* roster;       // 超级列表框1

    ui::Label* countCaption;      // 标签5
    ui::EditBox* buzzCount;       // 人数标签
    ui::Label* selectedRow;       // 标签3
    ui::EditBox* note;            // 编辑框2
    ui::Button* writeNote;        // 按钮3

    ui::GroupBox* panel;          // 分组框1
    ui::Button* lockAll;          // 按钮4
    ui::Button* openAll;          // 按钮5
    ui::Button* startCountdown;   // 按钮9
    ui::Button* stopCountdown;    // 按钮10
    ui::EditBox* countdown;       // 计时
    ui::Button* boardNotice;      // 按钮6
    ui::Button* popupNotice;      // 按钮7
    ui::Button* statistics;       // 按钮8
    ui::EditBox* notice;          // 编辑框3

    ui::Label* footer;            // 标签6

    ui::Timer* countdownClock;    // 时钟1
    ServerEndpoint* server;       // 服务器1
};

}  // namespace console
