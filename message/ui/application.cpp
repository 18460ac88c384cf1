#include "application.h"

#include "program_services.h"

#include <QFont>
#include <QStringList>

namespace ui {

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setQuitOnLastWindowClosed(true);
    enterProgramFolder();

    // The system's face first; Chinese faces behind it for the characters it
    // lacks, wherever one of them is installed.
    QFont gui = font();
    QStringList families{gui.family()};
    for (const char* face : {"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Source Han Sans SC",
                             "Droid Sans Fallback", "Microsoft YaHei", "SimSun"}) {
        if (!families.contains(QLatin1String(face)))
            families << QLatin1String(face);
    }
    gui.setFamilies(families);
    setFont(gui);
}

}  // namespace ui
