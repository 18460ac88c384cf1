#include "roster.h"

#include "arbitration.h"
#include "console_form.h"
#include "message_box.h"
#include "wire.h"

namespace console {

void BroadcastToRoster(ConsoleForm& form, std::string_view message)
{
    const int rows = form.roster->rowCount();
    for (int row = 0; row < rows; ++row)
        form.server->SendData(form.roster->cellText(row, 0), message);
}

Roster::Roster(ConsoleForm& form, Arbitration& arbitration)
    : form_(form), arbitration_(arbitration)
{
}

void Roster::clientConnected()
{
    form_.roster->addRow(form_.server->GetClient());
}

void Roster::clientLeft()
{
    // Copied first: a box runs other events, which replace the endpoint's.
    const text::Text peer = form_.server->GetClient();
    form_.log->append(text::join({"\r\n有选手掉线:", peer}));
    if (openDepartureBoxes_ >= kMaxOpenDepartureBoxes)
        return;
    ++openDepartureBoxes_;
    ui::messageBox(text::join({"有选手掉线:", peer}), ui::kIconStop);
    --openDepartureBoxes_;
}

void Roster::dataArrived()
{
    const text::Text peer = form_.server->GetClient();
    const wire::Message m = wire::split(form_.server->GetData());
    form_.log->append(text::join({m.code, " :", peer, m.payload, "\r\n"}));

    if (text::equals(m.code, wire::kNameReport)) {
        form_.roster->setCellText(form_.roster->findRow(peer), 1, m.payload);
    } else if (!text::equals(m.code, wire::kBuzz)) {
        BroadcastToRoster(form_, wire::kLockBuzzers);
    } else {
        arbitration_.takeBuzz(peer);
    }
}

}  // namespace console
