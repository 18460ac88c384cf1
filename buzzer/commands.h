// What the console tells the buzzer, and the buzz itself.
//
// One read is one message (its first two bytes the code, the payload the read
// with every occurrence of the code removed), with one exception: a read that
// starts with LockBuzzers and goes on is the lock followed by whatever came
// after it. The console sends LockBuzzers and the winner's PopupNotice back to
// back, and a contestant must still see who won.
#pragma once

#include <string_view>

class MainForm;

namespace commands {

// DataArrived of 客户1, with the bytes of that read.
void dispatch(MainForm& main, std::string_view received);

// Click on 按钮2 (or Enter): lock the button, then send one Buzz.
void buzz(MainForm& main);

}  // namespace commands
