// Periodic timers: period writes (same value keeps the rhythm, 0 and negatives
// stop, a new value restarts from the write), tick order, handlers that stop,
// restart or delete timers, and ticks that do not pile up behind a slow
// handler. Time is a ManualClock except for one short real-clock check.
#include "form_name.h"
#include "manual_clock.h"
#include "timer.h"

#include <QTest>

#include <memory>
#include <vector>

using Times = QList<qint64>;

class tst_Timer : public QObject
{
    Q_OBJECT

private slots:
    void writePeriod_data();
    void writePeriod();
    void negativeFormPeriodIsStopped();
    void ticksOverSpan_data();
    void ticksOverSpan();
    void equalDueTimesFireInStartOrder();
    void handlerStopsItsOwnTimer();
    void handlerRestartsItsOwnTimer();
    void handlerStopsAnotherTimerDueNow();
    void handlerDeletesItsOwnTimer();
    void handlerDeletesAnotherTimerDueNow();
    void slowHandlerDoesNotPileUpTicks();
    void timerOutlivingTheClock();
    void clockInstallsAndRestores();
    void systemClockTicks();
};

namespace {
// Records the clock's time at each tick of a timer.
struct Recorder
{
    ui::ManualClock& clock;
    Times times;
    void attach(ui::Timer& t)
    {
        t.onTick([this] { times << clock.now(); });
    }
};
}  // namespace

void tst_Timer::writePeriod_data()
{
    QTest::addColumn<int>("initial");
    QTest::addColumn<int>("writeAt");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("period");
    QTest::addColumn<Times>("ticks");  // all ticks in 0..3000

    QTest::newRow("same period keeps the rhythm") << 1000 << 700 << 1000 << 1000
                                                  << Times{1000, 2000, 3000};
    QTest::newRow("same period after a tick") << 1000 << 1500 << 1000 << 1000
                                              << Times{1000, 2000, 3000};
    QTest::newRow("zero stops") << 1000 << 1500 << 0 << 0 << Times{1000};
    QTest::newRow("negative stops") << 1000 << 1500 << -5 << 0 << Times{1000};
    QTest::newRow("shorter restarts from the write") << 1000 << 700 << 500 << 500
                                                     << Times{1200, 1700, 2200, 2700};
    QTest::newRow("longer restarts from the write") << 1000 << 700 << 2000 << 2000
                                                    << Times{2700};
    QTest::newRow("start a stopped timer") << 0 << 300 << 1000 << 1000
                                           << Times{1300, 2300};
    QTest::newRow("zero on a stopped timer") << 0 << 300 << 0 << 0 << Times{};
    QTest::newRow("negative on a stopped timer") << 0 << 300 << -1 << 0 << Times{};
}

void tst_Timer::writePeriod()
{
    QFETCH(int, initial);
    QFETCH(int, writeAt);
    QFETCH(int, value);
    QFETCH(int, period);
    QFETCH(Times, ticks);

    ui::ManualClock clock;
    ui::Timer timer("时钟1", initial, nullptr);
    Recorder rec{clock, {}};
    rec.attach(timer);
    QCOMPARE(timer.period(), initial);

    clock.advance(writeAt);
    timer.setPeriod(value);
    QCOMPARE(timer.period(), period);
    clock.advance(3000 - writeAt);
    QCOMPARE(rec.times, ticks);
}

void tst_Timer::negativeFormPeriodIsStopped()
{
    ui::ManualClock clock;
    ui::Timer timer("时钟1", -100, nullptr);
    Recorder rec{clock, {}};
    rec.attach(timer);
    QCOMPARE(timer.period(), 0);
    clock.advance(10000);
    QVERIFY(rec.times.isEmpty());
    QCOMPARE(timer.objectName(), ui::formName("时钟1"));
}

void tst_Timer::ticksOverSpan_data()
{
    QTest::addColumn<int>("step");
    QTest::newRow("one advance") << 1000;
    QTest::newRow("small steps") << 30;
    QTest::newRow("exact steps") << 100;
}

void tst_Timer::ticksOverSpan()
{
    QFETCH(int, step);
    ui::ManualClock clock;
    ui::Timer timer("时钟1", 100, nullptr);
    Recorder rec{clock, {}};
    rec.attach(timer);
    for (int t = 0; t < 1000; t += step)
        clock.advance(std::min(step, 1000 - t));
    QCOMPARE(clock.now(), 1000);
    QCOMPARE(rec.times, (Times{100, 200, 300, 400, 500, 600, 700, 800, 900, 1000}));
}

void tst_Timer::equalDueTimesFireInStartOrder()
{
    ui::ManualClock clock;
    QStringList order;
    ui::Timer a("A", 200, nullptr);
    ui::Timer b("B", 100, nullptr);
    a.onTick([&] { order << QStringLiteral("a%1").arg(clock.now()); });
    b.onTick([&] { order << QStringLiteral("b%1").arg(clock.now()); });
    clock.advance(400);
    QCOMPARE(order, (QStringList{"b100", "a200", "b200", "b300", "a400", "b400"}));
}

void tst_Timer::handlerStopsItsOwnTimer()
{
    ui::ManualClock clock;
    ui::Timer timer("时钟1", 1000, nullptr);
    int ticks = 0;
    timer.onTick([&] {
        ++ticks;
        timer.setPeriod(0);
    });
    clock.advance(10000);
    QCOMPARE(ticks, 1);
    QCOMPARE(timer.period(), 0);
}

void tst_Timer::handlerRestartsItsOwnTimer()
{
    ui::ManualClock clock;
    ui::Timer timer("时钟1", 1000, nullptr);
    Times times;
    timer.onTick([&] {
        times << clock.now();
        if (timer.period() == 1000)
            timer.setPeriod(300);
    });
    clock.advance(2000);
    QCOMPARE(times, (Times{1000, 1300, 1600, 1900}));
}

void tst_Timer::handlerStopsAnotherTimerDueNow()
{
    ui::ManualClock clock;
    ui::Timer a("A", 1000, nullptr);
    ui::Timer b("B", 1000, nullptr);
    int aTicks = 0, bTicks = 0;
    a.onTick([&] {
        ++aTicks;
        b.setPeriod(0);
    });
    b.onTick([&] { ++bTicks; });
    clock.advance(5000);
    QCOMPARE(aTicks, 5);
    QCOMPARE(bTicks, 0);
}

void tst_Timer::handlerDeletesItsOwnTimer()
{
    ui::ManualClock clock;
    auto* doomed = new ui::Timer("A", 100, nullptr);
    ui::Timer other("B", 100, nullptr);
    int doomedTicks = 0, otherTicks = 0;
    doomed->onTick([&] {
        ++doomedTicks;
        delete doomed;
        doomed = nullptr;
    });
    other.onTick([&] { ++otherTicks; });
    clock.advance(1000);
    QCOMPARE(doomedTicks, 1);
    QCOMPARE(otherTicks, 10);
}

void tst_Timer::handlerDeletesAnotherTimerDueNow()
{
    ui::ManualClock clock;
    ui::Timer killer("A", 100, nullptr);
    auto victim = std::make_unique<ui::Timer>("B", 100, nullptr);
    int victimTicks = 0;
    victim->onTick([&] { ++victimTicks; });
    killer.onTick([&] { victim.reset(); });
    clock.advance(1000);
    QCOMPARE(victimTicks, 0);
}

// A handler that keeps the thread for 5.5 periods: other timers tick inside
// it, its own ticks do not re-enter it and the missed ones come as one.
void tst_Timer::slowHandlerDoesNotPileUpTicks()
{
    ui::ManualClock clock;
    ui::Timer slow("A", 100, nullptr);
    ui::Timer other("B", 200, nullptr);
    Times slowTimes, otherTimes;
    bool first = true;
    slow.onTick([&] {
        slowTimes << clock.now();
        if (first) {
            first = false;
            clock.advance(550);
        }
    });
    other.onTick([&] { otherTimes << clock.now(); });
    clock.advance(1000);
    QCOMPARE(slowTimes, (Times{100, 650, 750, 850, 950}));
    QCOMPARE(otherTimes, (Times{200, 400, 600, 800, 1000}));
    QCOMPARE(clock.now(), 1000);
}

void tst_Timer::timerOutlivingTheClock()
{
    std::unique_ptr<ui::Timer> timer;
    {
        ui::ManualClock clock;
        timer = std::make_unique<ui::Timer>("A", 100, nullptr);
        clock.advance(50);
    }
    timer->setPeriod(0);
    timer->setPeriod(300);
    timer.reset();
}

void tst_Timer::clockInstallsAndRestores()
{
    ui::Clock* system = &ui::currentClock();
    {
        ui::ManualClock clock;
        QCOMPARE(&ui::currentClock(), static_cast<ui::Clock*>(&clock));
    }
    QCOMPARE(&ui::currentClock(), system);
}

void tst_Timer::systemClockTicks()
{
    ui::Timer timer("时钟1", 10, nullptr);
    int ticks = 0;
    timer.onTick([&] { ++ticks; });
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 3, 3000);
    timer.setPeriod(0);
    const int stoppedAt = ticks;
    QTest::qWait(50);
    QCOMPARE(ticks, stoppedAt);
}

QTEST_MAIN(tst_Timer)
#include "tst_timer.moc"
