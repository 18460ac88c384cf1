// The buzzer's own words that more than one of its files show.
#pragma once

#include <string_view>

namespace buzzer_text {

// The main window's title as the form gives it: the product and version, one
// space, then our contact line.
inline constexpr std::string_view kFormTitle = "Kesta简洁抢答器 beta1.0 局域网抢答 · 回车即抢答";

}  // namespace buzzer_text
