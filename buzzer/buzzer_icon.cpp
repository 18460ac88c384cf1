#include "buzzer_icon.h"

QImage buzzerIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(30, 90, 200));
    return image;
}
