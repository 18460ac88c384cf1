// The console program: the buzz order, the main window with its handlers
// bound, the guide opened at start and the confirmation before closing.
#pragma once

#include "buzz_order.h"
#include "wire.h"

#include <QPointer>

#include <memory>

namespace console {

class Arbitration;
class ConsoleForm;
class HostControls;
class Roster;

class Console
{
public:
    // `port`: where contestants connect (0 lets the system choose, for tests).
    explicit Console(int port = wire::kPort);
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // Loads the main window: shown centred, its created event opens the guide.
    void start();

    // The main window; null once the host has closed it.
    ConsoleForm* form() const;
    const BuzzOrder& buzzOrder() const { return order_; }
    const Roster& roster() const { return *roster_; }

private:
    void bindHandlers();
    void reportListening();
    bool closeQuery();

    BuzzOrder order_;   // lives until the program ends, past the window
    int port_;
    QPointer<ConsoleForm> form_;
    std::unique_ptr<Arbitration> arbitration_;
    std::unique_ptr<Roster> roster_;
    std::unique_ptr<HostControls> controls_;
};

}  // namespace console
