// Positions and sizes of controls and windows, with the range every control
// accepts: left and top within -32627..32627, width and height within
// 0..32627. Called by the forms of both programs and by Window.
#pragma once

class QWidget;

namespace ui {

inline constexpr int kMaxCoordinate = 32627;

int clampPosition(int v);
int clampSize(int v);

// Places a control at (left, top) of its parent's client area, or of the
// group box that holds it, with the given size.
void place(QWidget* control, int left, int top, int width, int height);

}  // namespace ui
