// The host's guide: an HTML page shipped in guide/ beside the console and
// opened in the desktop's browser once at every start.
#pragma once

#include "text.h"

namespace console {

// <program folder>/guide/index.html
text::Text guidePath();

// The command line that opens the guide: the desktop's opener and the quoted
// path.
text::Text guideCommandLine();

// Starts the opener without waiting. Whether it could be started does not
// matter to the quiz, so the result is dropped.
void openGuide();

}  // namespace console
