#include "guide.h"

#include "program_services.h"

namespace console {

text::Text guidePath()
{
    return text::join({ui::programFolder(), "/guide/index.html"});
}

text::Text guideCommandLine()
{
    return text::join({ui::desktopOpener(), " \"", guidePath(), "\""});
}

void openGuide()
{
    ui::startProgram(guideCommandLine(), false);
}

}  // namespace console
