// A console on a loopback port chosen by the system, with every seam in place:
// a manual clock for 时钟1, a box answerer that records each box, a program
// starter that records each command line. Contestants are raw loopback peers.
#pragma once

#include "console_app.h"
#include "console_form.h"
#include "form_name.h"
#include "loopback_peer.h"
#include "manual_clock.h"
#include "message_box.h"
#include "program_services.h"
#include "test_strings.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct StartedProgram {
    std::string commandLine;
    bool wait = false;
};

template <class Condition>
bool waitUntil(Condition condition, int timeoutMs = 5000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(1);
    }
    return true;
}

class ConsoleRig
{
public:
    ui::ManualClock clock;   // before the form, so 时钟1 ticks on it
    std::vector<ui::BoxRequest> boxes;
    std::vector<StartedProgram> started;
    // How boxes are answered; by default OK, and No to a Yes/No box.
    std::function<int(const ui::BoxRequest&)> answer;

    explicit ConsoleRig(int port = 0)
    {
        ui::installBoxAnswerer([this](const ui::BoxRequest& r) {
            boxes.push_back(r);
            if (answer)
                return answer(r);
            return (r.flags & 15) == ui::kYesNo ? int(ui::kNo) : int(ui::kOk);
        });
        ui::installProgramStarter([this](const text::Text& commandLine, bool wait) {
            started.push_back({commandLine, wait});
            return true;
        });
        console = std::make_unique<console::Console>(port);
        console->start();
    }

    ~ConsoleRig()
    {
        console.reset();
        ui::installBoxAnswerer({});
        ui::installProgramStarter({});
    }

    console::ConsoleForm* form() const { return console->form(); }

    template <class T>
    T* find(std::string_view formName) const
    {
        return form()->findChild<T*>(ui::formName(formName));
    }

    int port() const { return form()->server->localPort(); }
    ui::EditBox* log() const { return find<ui::EditBox>("编辑框1"); }
    ui::ReportList* list() const { return find<ui::ReportList>("超级列表框1"); }
    std::string count() const { return find<ui::EditBox>("人数标签")->text(); }

    // A contestant that connected and is listed; named when `name` is given
    // (with a NameReport, as a buzzer does).
    std::unique_ptr<LoopbackPeer> join(const char* name = nullptr)
    {
        const int rows = list()->rowCount();
        auto peer = std::make_unique<LoopbackPeer>(port());
        if (!peer->isOpen() || !waitUntil([&] { return list()->rowCount() == rows + 1; }))
            return nullptr;
        if (name && !send(*peer, std::string("XS") + name))
            return nullptr;
        return peer;
    }

    // Sends raw bytes and waits until the console has handled them (every
    // message is logged before it is dispatched).
    bool send(LoopbackPeer& peer, std::string_view bytes)
    {
        const size_t before = log()->text().size();
        return peer.send(bytes) && waitUntil([&] { return log()->text().size() > before; });
    }

    // Closes the contestant's end and waits until the departure is logged.
    bool leave(LoopbackPeer& peer)
    {
        const size_t before = log()->text().size();
        peer.close();
        return waitUntil([&] { return log()->text().size() > before; });
    }

    std::unique_ptr<console::Console> console;
};

// Everything the peer has been sent by now, expecting exactly `expected`.
inline std::string receivedBy(LoopbackPeer& peer, size_t expected)
{
    std::string got = expected ? peer.receive(expected, 2000) : std::string();
    return got + peer.receiveNow();
}
