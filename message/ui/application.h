// The program's start: the Qt application, the program folder as current
// directory, the system's default GUI font with a CJK face, and Chinese
// texts for Qt's own dialogs. Both programs' main() create one first.
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
