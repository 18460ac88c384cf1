// The buzzer's two windows with every handler bound to its control.
#pragma once

#include "backdrop_form.h"
#include "main_form.h"
#include "settings.h"

class BuzzerProgram
{
public:
    explicit BuzzerProgram(BuzzerSettings settings);

    MainForm& mainForm() { return main_; }
    BackdropForm& backdropForm() { return backdrop_; }

    // Loads the main window; its created handler loads the backdrop.
    void start();

private:
    BuzzerSettings settings_;
    MainForm main_;
    BackdropForm backdrop_;
};
