// Program services both programs' handlers use: starting another program,
// the program's folder, reading a file, processing pending events, ending the
// program, beeping, the screen's size and the keyboard focus.
//
// Paths and command lines are texts (GBK). Paths use "/" (accepted on every
// platform this builds for).
#pragma once

#include "text.h"

#include <functional>
#include <string_view>

class QWidget;

namespace ui {

// Starts a command line as a new process. The first word is the program
// (double quotes group words). wait=false returns at once; wait=true returns
// when it ended. False when it could not be started.
bool startProgram(std::string_view commandLine, bool wait = false);
// The platform's opener for addresses and documents: "xdg-open" on Linux,
// "explorer.exe" on Windows.
text::Text desktopOpener();

// The folder holding the running program, without a trailing separator (the
// empty text for a program at the top of the file system).
text::Text programFolder();
// Makes the program folder the current directory; called once at start.
void enterProgramFolder();

// The whole file; empty bytes when it cannot be opened or is empty.
text::Bytes readWholeFile(std::string_view path);

// Delivers every waiting event (input, painting, timers, network) and runs
// their handlers.
void processPendingEvents();

// Ends the program at once with the exit code; no handler runs after it.
// Under a test ender it records and returns, so callers return right after.
void endProgram(int exitCode);

void beep();

int screenWidth();
int screenHeight();

// Gives the keyboard focus to a window (activating it) or a control.
void setFocus(QWidget* windowOrControl);

// Test seams. Each replaces the service while installed; an empty function
// restores the real one.
using ProgramStarter = std::function<bool(const text::Text& commandLine, bool wait)>;
void installProgramStarter(ProgramStarter starter);
using ProgramEnder = std::function<void(int exitCode)>;
void installProgramEnder(ProgramEnder ender);
using Beeper = std::function<void()>;
void installBeeper(Beeper beeper);

}  // namespace ui
