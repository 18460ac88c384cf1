// A clock for tests: time moves only when the test calls advance(). Ticks that
// fall due are fired in time order, one at a time, each handler running to its
// end before the next tick; a timer stopped or restarted by a handler is
// honoured at once.
//
// Like the system clock, a timer's tick never re-enters its own handler: if a
// handler moves time on (advance() from inside it, standing in for a handler
// that takes long), the ticks it missed collapse into one that fires when the
// handler has returned, and the rhythm goes on from there.
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
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    std::unique_ptr<TickSchedule> schedule(std::function<void()> fire) override;

    std::int64_t now() const { return now_; }
    // Moves time on by ms (negative counts as 0), firing every tick that falls
    // due on the way; while a handler runs, now() is that tick's time.
    void advance(std::int64_t ms);

    struct Entry;

private:
    Entry* nextDue(std::int64_t until) const;
    Entry* find(std::uint64_t id) const;

    std::int64_t now_ = 0;
    std::uint64_t nextId_ = 1;    // identifies entries across a handler
    std::uint64_t nextOrder_ = 1; // ties of equal due times: first armed first
    std::vector<Entry*> entries_;
    friend struct Entry;
    friend class ManualSchedule;
};

}  // namespace ui
