// The buzzer's window icon, drawn in code so the program needs no file for it.
#pragma once

#include <QImage>

QImage buzzerIcon(int size);
