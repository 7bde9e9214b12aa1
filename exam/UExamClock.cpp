#include "UExamClock.h"

#include <QTimer>

TExamClock::TExamClock(QObject *parent)
    : QObject(parent),
      FTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("ExamClock"));
    FTimer->setInterval(1000);
    connect(FTimer, &QTimer::timeout, this, &TExamClock::Tick);
    FTimer->start();
}

bool TExamClock::CountDown()
{
    if (FSecondsLeft <= 0)
        return false;
    --FSecondsLeft;
    return true;
}

bool TExamClock::IsRunning() const
{
    return FTimer->isActive();
}

void TExamClock::Stop()
{
    FTimer->stop();
}
