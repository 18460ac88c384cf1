// Periodic timer. setPeriod(v): a negative v counts as 0; the same period as
// now does nothing (a running timer keeps its rhythm); another period stops
// the timer and, above 0, starts it again so the first tick comes v ms after
// the write. Ticks never pile up: while the handler runs at most one more
// tick waits.
#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <string_view>

namespace ui {

class TickSchedule;

class Timer : public QObject
{
    Q_OBJECT

public:
    Timer(std::string_view formName, int periodMs, QObject* parent);
    ~Timer() override;

    int period() const { return period_; }
    void setPeriod(int periodMs);

    void onTick(std::function<void()> handler);

private:
    void tick();

    int period_ = 0;
    std::unique_ptr<TickSchedule> schedule_;
    std::function<void()> tick_;
};

}  // namespace ui
