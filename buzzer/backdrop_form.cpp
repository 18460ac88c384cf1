#include "backdrop_form.h"

#include "geometry.h"
#include "label.h"
#include "picture_box.h"

#include <QColor>
#include <QPalette>

namespace {

void paintBlack(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::black);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}  // namespace

BackdropForm::BackdropForm()
    : ui::Window("背景窗口", Frame::None, 322, 273)
{
    setTitle("");
    paintBlack(this);
    centreOnScreen();

    picture = new ui::PictureBox("图片框1", this);
    ui::place(picture, 0, 0, 120, 100);

    credits = new ui::Label("标签1", "Kesta简洁抢答器 · 祝比赛顺利", this);
    credits->setTextColor(QColor(0, 255, 0));
    credits->setFontPixelHeight(35);
    credits->setWordWrap(true);
    paintBlack(credits);
    ui::place(credits, 8, 24, 32, 16);
    // Earlier controls lie above later ones: the picture covers the credits.
    credits->lower();
}
