#include "geometry.h"

#include <QWidget>

#include <algorithm>

namespace ui {

int clampPosition(int v) { return std::clamp(v, -kMaxCoordinate, kMaxCoordinate); }
int clampSize(int v) { return std::clamp(v, 0, kMaxCoordinate); }

void place(QWidget* control, int left, int top, int width, int height)
{
    control->setGeometry(clampPosition(left), clampPosition(top), clampSize(width),
                         clampSize(height));
}

}  // namespace ui
