#include "manual_clock.h"

#include <algorithm>

namespace ui {

struct ManualClock::Entry
{
    ManualClock* clock = nullptr;  // null once the clock is gone
    std::uint64_t id = 0;
    std::function<void()> fire;
    bool running = false;
    bool firing = false;           // its handler is running now
    std::int64_t period = 0;
    std::int64_t due = 0;
    std::uint64_t order = 0;
};

class ManualSchedule : public TickSchedule
{
public:
    ManualSchedule(ManualClock* clock, std::function<void()> fire)
    {
        entry_.clock = clock;
        entry_.id = clock->nextId_++;
        entry_.fire = std::move(fire);
        clock->entries_.push_back(&entry_);
    }

    ~ManualSchedule() override
    {
        if (ManualClock* clock = entry_.clock) {
            auto& list = clock->entries_;
            list.erase(std::remove(list.begin(), list.end(), &entry_), list.end());
        }
    }

    void start(int periodMs) override
    {
        if (!entry_.clock || periodMs <= 0) {
            stop();
            return;
        }
        entry_.running = true;
        entry_.period = periodMs;
        entry_.due = entry_.clock->now_ + periodMs;
        entry_.order = entry_.clock->nextOrder_++;
    }

    void stop() override { entry_.running = false; }

private:
    ManualClock::Entry entry_;
};

ManualClock::ManualClock() { installClock(this); }

ManualClock::~ManualClock()
{
    for (Entry* e : entries_)
        e->clock = nullptr;
    if (&currentClock() == this)
        installClock(nullptr);
}

std::unique_ptr<TickSchedule> ManualClock::schedule(std::function<void()> fire)
{
    return std::make_unique<ManualSchedule>(this, std::move(fire));
}

ManualClock::Entry* ManualClock::nextDue(std::int64_t until) const
{
    Entry* best = nullptr;
    for (Entry* e : entries_) {
        if (!e->running || e->firing || e->due > until)
            continue;
        if (!best || e->due < best->due || (e->due == best->due && e->order < best->order))
            best = e;
    }
    return best;
}

ManualClock::Entry* ManualClock::find(std::uint64_t id) const
{
    for (Entry* e : entries_)
        if (e->id == id)
            return e;
    return nullptr;
}

void ManualClock::advance(std::int64_t ms)
{
    const std::int64_t target = now_ + std::max<std::int64_t>(ms, 0);
    // A nested advance() may have moved time past this call's target.
    while (Entry* e = nextDue(std::max(target, now_))) {
        now_ = std::max(now_, e->due);
        // The next tick is armed before the handler runs, so a handler that
        // stops or restarts the timer overrides it. A tick that came late
        // (its handler held the clock) does not bring the missed ones along.
        e->due += e->period;
        if (e->due <= now_)
            e->due = now_ + e->period;
        e->order = nextOrder_++;
        e->firing = true;
        const std::uint64_t id = e->id;
        // The handler may destroy the schedule, and with it `e` and `fire`.
        auto fire = e->fire;
        fire();
        if (Entry* still = find(id))
            still->firing = false;
    }
    now_ = std::max(now_, target);
}

}  // namespace ui
