// What the host does from the window: the ten buttons, the scoring clicks on
// the roster and the countdown in 计时 driven by 时钟1.
#pragma once

namespace console {

class Arbitration;
class ConsoleForm;

class HostControls
{
public:
    static constexpr int kCountdownPeriodMs = 1000;

    HostControls(ConsoleForm& form, Arbitration& arbitration);

    void nextRound();         // 按钮1
    void previousRound();     // 按钮2
    void writeNote();         // 按钮3
    void lockAll();           // 按钮4
    void openAll();           // 按钮5
    void boardNotice();       // 按钮6
    void popupNotice();       // 按钮7
    void statistics();        // 按钮8
    void startCountdown();    // 按钮9
    void stopCountdown();     // 按钮10

    // 超级列表框1: left click adds a win to the row it selected, right click
    // takes one away.
    void scoreClick(int winsDelta);

    void countdownTick();     // 时钟1
    void countdownChanged();  // 计时 text-changed

private:
    ConsoleForm& form_;
    Arbitration& arbitration_;
};

}  // namespace console
