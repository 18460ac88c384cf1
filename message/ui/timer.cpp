#include "timer.h"

#include "clock.h"
#include "form_name.h"

namespace ui {

Timer::Timer(std::string_view formName, int periodMs, QObject* parent)
    : QObject(parent), schedule_(currentClock().schedule([this] { tick(); }))
{
    setFormName(this, formName);
    setPeriod(periodMs);
}

Timer::~Timer() = default;

void Timer::setPeriod(int periodMs)
{
    if (periodMs < 0)
        periodMs = 0;
    if (periodMs == period_)
        return;  // a running timer keeps its rhythm
    schedule_->stop();
    period_ = periodMs;
    if (period_ > 0)
        schedule_->start(period_);
}

void Timer::onTick(std::function<void()> handler) { tick_ = std::move(handler); }

void Timer::tick()
{
    if (period_ <= 0)
        return;
    // A copy: the handler may delete this timer or bind a new handler.
    if (auto handler = tick_)
        handler();
}

}  // namespace ui
