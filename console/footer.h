// The red two-line footer 标签6: where contestants find this console and where
// the host finds the guide.
#pragma once

#include "text.h"

#include <string>
#include <string_view>
#include <vector>

namespace console {

// Line 1: the machine's LAN addresses (what each buzzer's ip.txt holds) and
// the port; line 2: the guide's path. Lines are separated by CR LF.
text::Text footerText(const std::vector<std::string>& addresses, int port,
                      std::string_view guidePath);

}  // namespace console
