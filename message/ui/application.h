// The program's start: the Qt application, which ends when the last window
// closes, the program folder as current directory, and the system's default
// GUI font with Chinese faces to fall back on. Both programs' main() create
// one first.
#pragma once

#include <QApplication>

namespace ui {

class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int& argc, char** argv);
};

}  // namespace ui
