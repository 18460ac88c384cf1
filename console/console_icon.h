// The console's window icon, drawn in code so the program needs no file for it.
#pragma once

#include <QImage>

QImage consoleIcon(int size);
