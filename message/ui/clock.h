// Where periodic timers get their ticks from. The program uses the system
// clock (Qt timers on the GUI thread); tests install a ManualClock and move
// time themselves, so no test waits for real seconds.
//
// Install a clock before creating the timers that should use it.
#pragma once

#include <functional>
#include <memory>

namespace ui {

// One timer's schedule: after start(ms), fire() runs every `ms` milliseconds
// until stop(); start() again begins a new rhythm from now.
class TickSchedule
{
public:
    virtual ~TickSchedule() = default;
    virtual void start(int periodMs) = 0;
    virtual void stop() = 0;
};

class Clock
{
public:
    virtual ~Clock() = default;
    virtual std::unique_ptr<TickSchedule> schedule(std::function<void()> fire) = 0;
};

// The clock new timers use: the system clock unless a test installed another.
Clock& currentClock();
// nullptr goes back to the system clock. The caller keeps ownership.
void installClock(Clock* clock);

}  // namespace ui
