#include "commands.h"

#include "main_form.h"

#include "button.h"
#include "client_endpoint.h"
#include "label.h"
#include "program_services.h"
#include "wire.h"

namespace commands {

namespace {

void lockBuzzers(MainForm& main)
{
    main.buzzButton->setDisabledState(true);
}

void boardNotice(MainForm& main, const text::Text& payload)
{
    main.noticeLabel->setCaption(payload);
}

void openBuzzers(MainForm& main, const text::Text& payload)
{
    main.buzzButton->setDisabledState(false);
    main.noticeLabel->setCaption(payload);
}

void popupNotice(MainForm& main, const text::Text& payload)
{
    // 0 then 1 brings the window to the top of the always-on-top windows
    // without taking the focus from whatever the contestant is doing.
    main.setAlwaysOnTop(false);
    main.noticeLabel->setCaption(payload);
    ui::beep();
    main.setAlwaysOnTop(true);
}

}  // namespace

void dispatch(MainForm& main, std::string_view received)
{
    text::Text rest = text::fromBytes(received);
    for (;;) {
        const wire::Message message = wire::split(rest);
        if (text::equals(message.code, wire::kLockBuzzers)) {
            lockBuzzers(main);
            if (rest.size() <= wire::kLockBuzzers.size())
                return;
            rest.erase(0, wire::kLockBuzzers.size());
            continue;
        }
        if (text::equals(message.code, wire::kBoardNotice))
            boardNotice(main, message.payload);
        else if (text::equals(message.code, wire::kOpenBuzzers))
            openBuzzers(main, message.payload);
        else if (text::equals(message.code, wire::kPopupNotice))
            popupNotice(main, message.payload);
        return;
    }
}

void buzz(MainForm& main)
{
    // Locked before sending: a second click or a repeated Enter finds it disabled.
    main.buzzButton->setDisabledState(true);
    main.client->SendData(wire::compose(wire::kBuzz));
}

}  // namespace commands
