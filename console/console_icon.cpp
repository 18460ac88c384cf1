#include "console_icon.h"

QImage consoleIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(200, 30, 30));
    return image;
}
