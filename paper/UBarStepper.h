#pragma once

#include <QElapsedTimer>

class QProgressBar;

// Steps a progress bar once per question but paints it at most once a
// frame: a progress bar repaints itself at once on every change, which costs
// more than copying a question. The first and the last step always show.
class TBarStepper
{
public:
    explicit TBarStepper(QProgressBar *bar);

    void StepIt();
    int Position() const { return FPosition; }

    static constexpr int FrameMilliseconds = 16;

private:
    QProgressBar *FBar;
    int FPosition;
    QElapsedTimer FShown;
};
