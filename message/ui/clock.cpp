#include "clock.h"

#include <QTimer>

namespace ui {
namespace {

// A Qt timer on the GUI thread. Qt posts at most one timer event per timer,
// so ticks never pile up behind a slow handler.
class SystemSchedule : public TickSchedule
{
public:
    explicit SystemSchedule(std::function<void()> fire)
    {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, std::move(fire));
    }
    void start(int periodMs) override { timer_.start(periodMs); }
    void stop() override { timer_.stop(); }

private:
    QTimer timer_;
};

class SystemClock : public Clock
{
public:
    std::unique_ptr<TickSchedule> schedule(std::function<void()> fire) override
    {
        return std::make_unique<SystemSchedule>(std::move(fire));
    }
};

SystemClock systemClock;
Clock* installed = nullptr;

}  // namespace

Clock& currentClock() { return installed ? *installed : systemClock; }
void installClock(Clock* clock) { installed = clock; }

}  // namespace ui
