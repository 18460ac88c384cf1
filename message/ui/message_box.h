// Message boxes: text, flags, title; fixed result codes.
//
// Flags are a button code plus an icon code (0 OK, 1 OK/Cancel,
// 2 Abort/Retry/Ignore, 3 Yes/No/Cancel, 4 Yes/No, 5 Retry/Cancel;
// 16 stop, 32 question, 48 warning, 64 information; +256/+512 make the
// second/third button the default). The box belongs to no window and is
// modal to the whole program, while timers and network events keep being
// handled inside the call; a box shown from such a handler stacks on top and
// returns first. A box with only OK gives 0 however it closes; Esc or the
// close box give Cancel where the box has one; a Yes/No (and an
// Abort/Retry/Ignore) box closes only with one of its buttons; a box that
// cannot be shown (no QApplication, no screen) gives 0.
//
// The buttons speak Chinese (确定, 取消, 是(Y), 否(N), …) and keep the order
// of the button code; Y and N (also with Alt) press Yes and No, likewise A, R
// and I.
#pragma once

#include "text.h"

#include <functional>
#include <string_view>

namespace ui {

enum BoxResult : int {
    kOk = 0, kCancel = 1, kAbort = 2, kRetry = 3, kIgnore = 4, kYes = 5, kNo = 6,
};

enum BoxFlags : int {
    kOkOnly = 0, kOkCancel = 1, kAbortRetryIgnore = 2, kYesNoCancel = 3, kYesNo = 4,
    kRetryCancel = 5,
    kIconStop = 16, kIconQuestion = 32, kIconWarning = 48, kIconInformation = 64,
};

// "信息：", the title of a box shown without one.
extern const std::string_view kDefaultBoxTitle;

int messageBox(std::string_view text, int flags = 0,
               std::string_view title = kDefaultBoxTitle);

// Test seam: while installed, messageBox() calls the answerer instead of
// showing a box and returns its result, mapped like a real box: a result that
// is no button of the box counts as closing it (0 for OK alone, Cancel where
// there is one), and a Yes/No or Abort/Retry/Ignore box asks again. An
// answerer that gives no button of such a box 100 times in a row ends the
// program with qFatal: a broken test, not a result. The answerer runs where
// the box would have run, so it may process events to see what happens while
// a box is open.
struct BoxRequest {
    text::Text text;
    int flags = 0;
    text::Text title;
    int depth = 1;   // 2 for a box shown while another is open
};
using BoxAnswerer = std::function<int(const BoxRequest&)>;
void installBoxAnswerer(BoxAnswerer answerer);   // empty: real boxes again

}  // namespace ui
