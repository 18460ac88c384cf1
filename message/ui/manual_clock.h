// A clock for tests: time moves only when the test calls advance(). Ticks that
// fall due are fired in time order, one at a time, each handler running to its
// end before the next tick; a timer stopped or restarted by a handler is
// honoured at once.
#pragma once

#include "clock.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace ui {

class ManualClock : public Clock
{
public:
    ManualClock();   // installs itself
    ~ManualClock() override;  // puts the system clock back

    std::unique_ptr<TickSchedule> schedule(std::function<void()> fire) override;

    std::int64_t now() const { return now_; }
    void advance(std::int64_t ms);

    struct Entry;

private:
    std::int64_t now_ = 0;
    std::vector<Entry*> entries_;
    friend struct Entry;
};

}  // namespace ui
