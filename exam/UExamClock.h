#pragma once

#include <QObject>

class QTimer;

// The exam's count-down: a timer of one second that runs from the start of
// the screen until it is stopped at hand-in, and the seconds left on the
// paper. What a tick means is the screen's affair.
class TExamClock : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TExamClock)

public:
    explicit TExamClock(QObject *parent = nullptr);

    // Takes one second off; false, with nothing taken, when none was left.
    bool CountDown();
    int SecondsLeft() const { return FSecondsLeft; }
    void SetSecondsLeft(int seconds) { FSecondsLeft = seconds; }

    bool IsRunning() const;
    void Stop();

signals:
    void Tick();

private:
    QTimer *FTimer;
    int FSecondsLeft = 0;
};
