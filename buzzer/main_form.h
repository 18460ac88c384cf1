// The buzzer's main window: the contestant's name, the console's address,
// the connect button, the big buzz button and the notice label.
//
// Controls are created in form order (时钟1 first, 按钮1 last), which is also
// the order in which Enter looks for the default push button and the order
// Tab walks. The form only builds the controls; the handlers are bound by
// BuzzerProgram.
#pragma once

#include "window.h"

class ClientEndpoint;

namespace ui {
class Button;
class EditBox;
class Label;
class Timer;
}

class MainForm : public ui::Window
{
    Q_OBJECT

public:
    static constexpr int kKeepOnTopPeriod = 100;   // ms

    MainForm();

    ui::Timer* keepOnTopTimer;    // 时钟1
    ui::Label* addressCaption;    // 标签3
    ui::EditBox* addressBox;      // 编辑框2
    ui::Label* noticeLabel;       // 标签2
    ui::Label* nameCaption;       // 标签1
    ui::EditBox* nameBox;         // 编辑框1
    ClientEndpoint* client;       // 客户1
    ui::Button* buzzButton;       // 按钮2
    ui::Button* connectButton;    // 按钮1
};
