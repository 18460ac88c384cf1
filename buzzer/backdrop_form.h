// The backdrop: a frameless black window that the opening stretches over the
// whole screen, showing back.jpg behind the main window.
#pragma once

#include "window.h"

namespace ui {
class Label;
class PictureBox;
}

class BackdropForm : public ui::Window
{
    Q_OBJECT

public:
    BackdropForm();

    ui::PictureBox* picture;   // 图片框1
    ui::Label* credits;        // 标签1, beneath the picture
};
