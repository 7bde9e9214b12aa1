#include "UBarStepper.h"

#include <QProgressBar>

TBarStepper::TBarStepper(QProgressBar *bar)
    : FBar(bar),
      FPosition(bar->value())
{
}

void TBarStepper::StepIt()
{
    // The bar holds its position within its range, as the classic bar does.
    FPosition = qMin(qMax(FPosition, FBar->minimum()) + 1, FBar->maximum());
    const bool last = FPosition == FBar->maximum();
    if (FShown.isValid() && FShown.elapsed() < FrameMilliseconds && !last)
        return;
    FBar->setValue(FPosition);
    FShown.start();
}
