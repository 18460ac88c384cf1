#include "host_controls.h"

#include "arbitration.h"
#include "console_form.h"
#include "message_box.h"
#include "numbers.h"
#include "roster.h"
#include "wire.h"

namespace console {

HostControls::HostControls(ConsoleForm& form, Arbitration& arbitration)
    : form_(form), arbitration_(arbitration)
{
}

void HostControls::nextRound()
{
    const double round = text::textToNumber(form_.roundNumber->caption());
    form_.roundNumber->setCaption(text::numberToText(round + 1));
    form_.buzzCount->setText("0");
    arbitration_.clearOrder();
    BroadcastToRoster(form_, text::join({wire::kOpenBuzzers, "当前的抢答轮数是:",
                                         form_.roundNumber->caption(),
                                         "\r\n请认真思考后开始抢答!"}));
}

void HostControls::previousRound()
{
    const double round = text::textToNumber(form_.roundNumber->caption());
    form_.roundNumber->setCaption(text::numberToText(round - 1));
}

void HostControls::writeNote()
{
    form_.roster->setCellText(form_.roster->currentRow(), 3, form_.note->text());
}

void HostControls::lockAll()
{
    BroadcastToRoster(form_, wire::kLockBuzzers);
}

void HostControls::openAll()
{
    BroadcastToRoster(form_, wire::kOpenBuzzers);
}

void HostControls::boardNotice()
{
    BroadcastToRoster(form_, wire::compose(wire::kBoardNotice, form_.notice->text()));
}

void HostControls::popupNotice()
{
    BroadcastToRoster(form_, wire::compose(wire::kPopupNotice, form_.notice->text()));
}

void HostControls::statistics()
{
    form_.notice->setText("答题统计如下:");
    const int rows = form_.roster->rowCount();
    for (int row = 0; row < rows; ++row)
        form_.notice->append(text::join({"\r\n", form_.roster->cellText(row, 1), "  获胜:",
                                         form_.roster->cellText(row, 2)}));
}

void HostControls::startCountdown()
{
    form_.countdownClock->setPeriod(kCountdownPeriodMs);
}

void HostControls::stopCountdown()
{
    form_.countdownClock->setPeriod(0);
    form_.countdown->setText(text::integerToText(ConsoleForm::kCountdownStart));
}

void HostControls::scoreClick(int winsDelta)
{
    const int row = form_.roster->currentRow();
    form_.selectedRow->setCaption(text::join({"当前选中的是第", text::integerToText(row), "项"}));
    const double wins = text::textToInteger(form_.roster->cellText(row, 2));
    form_.roster->setCellText(row, 2, text::numberToText(wins + winsDelta));
}

void HostControls::countdownTick()
{
    const double seconds = text::textToInteger(form_.countdown->text());
    form_.countdown->setText(text::numberToText(seconds - 1));
}

void HostControls::countdownChanged()
{
    if (!text::equals(form_.countdown->text(), "0"))
        return;
    // Stopped before the box, so no tick arrives while the host reads it.
    form_.countdownClock->setPeriod(0);
    ui::messageBox("时间到了！！", ui::kIconStop);
}

}  // namespace console
