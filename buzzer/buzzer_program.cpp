#include "buzzer_program.h"

#include "commands.h"
#include "connection.h"
#include "lifecycle.h"

#include "button.h"
#include "client_endpoint.h"
#include "timer.h"

#include <utility>

BuzzerProgram::BuzzerProgram(BuzzerSettings settings)
    : settings_(std::move(settings))
{
    main_.onCreated([this] { lifecycle::opening(main_, backdrop_, settings_); });
    main_.onCloseQuery([this] { return lifecycle::confirmExit(main_); });
    main_.keepOnTopTimer->onTick([this] { lifecycle::keepOnTop(main_); });
    main_.connectButton->onClick([this] { connection::connectAndRegister(main_, settings_.port); });
    QObject::connect(main_.client, &ClientEndpoint::ConnectionBroken, &main_,
                     [this] { connection::connectionLost(main_); });
    QObject::connect(main_.client, &ClientEndpoint::DataArrived, &main_,
                     [this] { commands::dispatch(main_, main_.client->GetData()); });
    main_.buzzButton->onClick([this] { commands::buzz(main_); });

    backdrop_.onCreated([this] { lifecycle::fillScreen(backdrop_, settings_); });
    backdrop_.onFocusIn([this] { lifecycle::handFocus(main_); });
}

void BuzzerProgram::start()
{
    ui::loadWindow(main_);
}
