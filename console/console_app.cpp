#include "console_app.h"

#include "arbitration.h"
#include "console_form.h"
#include "guide.h"
#include "host_controls.h"
#include "message_box.h"
#include "numbers.h"
#include "roster.h"

namespace console {

Console::Console(int port) : port_(port)
{
    form_ = new ConsoleForm(port);
    // Closing the window ends the endpoint with it, so every buzzer sees its
    // connection broken.
    form_->setAttribute(Qt::WA_DeleteOnClose);
    arbitration_ = std::make_unique<Arbitration>(*form_, order_);
    roster_ = std::make_unique<Roster>(*form_, *arbitration_);
    controls_ = std::make_unique<HostControls>(*form_, *arbitration_);
    reportListening();
    bindHandlers();
}

Console::~Console()
{
    delete form_.data();
}

ConsoleForm* Console::form() const
{
    return form_;
}

void Console::start()
{
    form_->centreOnScreen();
    ui::loadWindow(*form_);
}

void Console::bindHandlers()
{
    ConsoleForm& f = *form_;
    Roster& r = *roster_;
    Arbitration& a = *arbitration_;
    HostControls& c = *controls_;

    f.onCreated([] { openGuide(); });
    f.onCloseQuery([this] { return closeQuery(); });

    QObject::connect(f.server, &ServerEndpoint::ClientConnected, f.server, [&r] { r.clientConnected(); });
    QObject::connect(f.server, &ServerEndpoint::ClientLeft, f.server, [&r] { r.clientLeft(); });
    QObject::connect(f.server, &ServerEndpoint::DataArrived, f.server, [&r] { r.dataArrived(); });

    f.buzzCount->onTextChanged([&a] { a.countChanged(); });

    f.nextRound->onClick([&c] { c.nextRound(); });
    f.previousRound->onClick([&c] { c.previousRound(); });
    f.writeNote->onClick([&c] { c.writeNote(); });
    f.lockAll->onClick([&c] { c.lockAll(); });
    f.openAll->onClick([&c] { c.openAll(); });
    f.boardNotice->onClick([&c] { c.boardNotice(); });
    f.popupNotice->onClick([&c] { c.popupNotice(); });
    f.statistics->onClick([&c] { c.statistics(); });
    f.startCountdown->onClick([&c] { c.startCountdown(); });
    f.stopCountdown->onClick([&c] { c.stopCountdown(); });
    f.roster->onLeftClick([&c] { c.scoreClick(+1); });
    f.roster->onRightClick([&c] { c.scoreClick(-1); });
    f.countdownClock->onTick([&c] { c.countdownTick(); });
    f.countdown->onTextChanged([&c] { c.countdownChanged(); });
}

// The window opens either way; without this line a host whose port is taken
// would wait for contestants that can never arrive.
void Console::reportListening()
{
    if (form_->server->isListening())
        return;
    form_->log->append(text::join({"端口", text::integerToText(port_), "无法监听: ",
                                   form_->server->listenError(),
                                   ",选手无法连接本控制台!\r\n"}));
}

bool Console::closeQuery()
{
    return ui::messageBox("确定要关闭吗?如果有选手连接会掉线的~", ui::kYesNo, "提示") != ui::kNo;
}

}  // namespace console
