// The roster 超级列表框1 (one row per accepted connection, keyed by peer
// address, never shrinking), the handlers of 服务器1's three events, the log
// 编辑框1 and BroadcastToRoster, the console's only way of sending.
#pragma once

#include <string_view>

namespace console {

class Arbitration;
class ConsoleForm;

// Sends `message` to the peer address of every roster row, top to bottom.
// Rows whose contestant has gone get nothing; results are not looked at.
void BroadcastToRoster(ConsoleForm& form, std::string_view message);

class Roster
{
public:
    // Departure boxes stacked at most this deep. Each box runs the event loop
    // inside it, so a room of buzzers dropping out together would otherwise
    // nest one box per departure until the stack gives out; later departures
    // are still logged.
    static constexpr int kMaxOpenDepartureBoxes = 8;

    Roster(ConsoleForm& form, Arbitration& arbitration);

    void clientConnected();
    void clientLeft();
    void dataArrived();

    int openDepartureBoxes() const { return openDepartureBoxes_; }

private:
    ConsoleForm& form_;
    Arbitration& arbitration_;
    int openDepartureBoxes_ = 0;
};

}  // namespace console
