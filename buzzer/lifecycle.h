// The buzzer's start, its windows' upkeep and its end: reading ip.txt and
// back.jpg, stretching the backdrop over the screen, keeping the main window
// above everything, and asking before the program ends.
#pragma once

#include "settings.h"

class BackdropForm;
class MainForm;

namespace lifecycle {

// Main window created: load the backdrop, then put ip.txt's text, exactly as
// read up to the first zero byte, into the address box (empty when missing).
void opening(MainForm& main, BackdropForm& backdrop, const BuzzerSettings& settings);

// Backdrop created: show back.jpg and cover the whole screen from 0,0.
void fillScreen(BackdropForm& backdrop, const BuzzerSettings& settings);

// The backdrop got the focus: the main window takes it, so Enter still buzzes.
void handFocus(MainForm& main);

// Each tick of 时钟1.
void keepOnTop(MainForm& main);

// Close query of the main window: Yes ends the program with 0; the window
// itself never closes this way.
bool confirmExit(MainForm& main);

}  // namespace lifecycle
