#include <QSignalSpy>
#include <QTest>

#include "UExamClock.h"

class TestUExamClock : public QObject
{
    Q_OBJECT

private slots:
    void TicksEverySecondUntilStopped();
    void CountsDownToZeroAndNoFurther();
};

void TestUExamClock::TicksEverySecondUntilStopped()
{
    TExamClock clock;
    QVERIFY(clock.IsRunning());
    QSignalSpy ticks(&clock, &TExamClock::Tick);
    QVERIFY(ticks.wait(1500));
    clock.Stop();
    QVERIFY(!clock.IsRunning());
    const qsizetype sofar = ticks.count();
    QTest::qWait(1200);
    QCOMPARE(ticks.count(), sofar);
}

void TestUExamClock::CountsDownToZeroAndNoFurther()
{
    TExamClock clock;
    clock.Stop();
    // Ticks count nothing down by themselves: the screen decides.
    clock.SetSecondsLeft(2);
    emit clock.Tick();
    QCOMPARE(clock.SecondsLeft(), 2);
    QVERIFY(clock.CountDown());
    QVERIFY(clock.CountDown());
    QCOMPARE(clock.SecondsLeft(), 0);
    QVERIFY(!clock.CountDown());
    QCOMPARE(clock.SecondsLeft(), 0);
}

QTEST_GUILESS_MAIN(TestUExamClock)
#include "tst_UExamClock.moc"
