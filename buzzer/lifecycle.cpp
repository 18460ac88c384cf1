#include "lifecycle.h"

#include "backdrop_form.h"
#include "main_form.h"

#include "edit_box.h"
#include "geometry.h"
#include "message_box.h"
#include "picture_box.h"
#include "program_services.h"
#include "timer.h"

namespace lifecycle {

void opening(MainForm& main, BackdropForm& backdrop, const BuzzerSettings& settings)
{
    ui::loadWindow(backdrop);
    const text::Bytes bytes = ui::readWholeFile(text::join({settings.folder, "/ip.txt"}));
    // Taken as it is: the connect button trims spaces, nothing else is checked.
    main.addressBox->setText(text::fromBytes(bytes));
}

void fillScreen(BackdropForm& backdrop, const BuzzerSettings& settings)
{
    backdrop.picture->setPicture(ui::readWholeFile(text::join({settings.folder, "/back.jpg"})));
    const int width = ui::screenWidth();
    const int height = ui::screenHeight();
    backdrop.resizeOuter(width, height);
    backdrop.moveOuter(0, 0);
    ui::place(backdrop.picture, 0, 0, width, height);
}

void handFocus(MainForm& main)
{
    ui::setFocus(&main);
}

void keepOnTop(MainForm& main)
{
    // Written on every tick: another always-on-top window may have come above.
    main.setAlwaysOnTop(true);
}

bool confirmExit(MainForm& main)
{
    // The box must not hide behind the main window, nor the timer push it back.
    main.keepOnTopTimer->setPeriod(0);
    main.setAlwaysOnTop(false);
    const int answer = ui::messageBox("确定要退出吗？", ui::kYesNo, "Kesta简洁抢答器 提醒您:");
    if (answer == ui::kYes) {
        ui::endProgram(0);
        return false;
    }
    main.keepOnTopTimer->setPeriod(MainForm::kKeepOnTopPeriod);
    return false;
}

}  // namespace lifecycle
