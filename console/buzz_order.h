// The buzz order: the peer addresses that buzzed since the last next round,
// in the order taken. Owned by the program from start to exit; only its first
// entry is ever read.
#pragma once

#include "text.h"

#include <vector>

namespace console {

using BuzzOrder = std::vector<text::Text>;

}  // namespace console
