#include "arbitration.h"

#include "console_form.h"
#include "message_box.h"
#include "numbers.h"
#include "roster.h"
#include "wire.h"

namespace console {

Arbitration::Arbitration(ConsoleForm& form, BuzzOrder& order) : form_(form), order_(order) {}

void Arbitration::takeBuzz(std::string_view peer)
{
    order_.emplace_back(peer);
    const double n = text::textToInteger(form_.buzzCount->text());
    form_.buzzCount->setText(text::numberToText(n + 1));   // decides at "1", nested
}

void Arbitration::countChanged()
{
    if (!text::equals(form_.buzzCount->text(), "1"))
        return;
    BroadcastToRoster(form_, wire::kLockBuzzers);
    // Only a Buzz brings the count to "1", after appending; should the count
    // ever read "1" with nobody in the order, there is no winner to name, so
    // the buzzers stay locked and nobody is announced.
    if (order_.empty())
        return;
    const text::Text first = order_.front();   // copies: the box below runs other handlers
    const text::Text name = form_.roster->cellText(form_.roster->findRow(first), 1);
    form_.notice->setText(text::join({name, " 优先抢到了这道题！"}));
    BroadcastToRoster(form_, wire::compose(wire::kPopupNotice, form_.notice->text()));
    ui::messageBox(text::join({"已有人抢答了:\r\n", first, "\r\n", name}), ui::kIconInformation,
                   "请注意!!");
}

void Arbitration::clearOrder()
{
    order_.clear();
}

}  // namespace console
