#include "roster.h"

#include "arbitration.h"
#include "console_form.h"
#include "message_box.h"
#include "wire.h"

#include <unordered_set>

namespace console {

void BroadcastToRoster(ConsoleForm& form, std::string_view message)
{
    // Rows never go away, so a new connection may reuse the address of a row
    // whose contestant left; each address still gets the message once, since
    // two copies in one read would run together at the buzzer.
    const int rows = form.roster->rowCount();
    std::unordered_set<text::Text> sent;
    sent.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        text::Text peer = form.roster->cellText(row, 0);
        if (!sent.insert(peer).second)
            continue;
        form.server->SendData(peer, message);
    }
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
