#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

// How a window laid out on the 96-dpi design grid is fitted to a screen: no
// widgets here, only the arithmetic.

enum class TFitMode {
    ShrinkOnly, // a dialog keeps its design size wherever that fits
    Fill        // the exam screen grows to fill the screen, as a full-screen exam does
};

struct TScreenFitPlan
{
    qreal Scale = 1;
    QRect Geometry; // the window's client area, in the screen's coordinates
};

// The uniform scale and centred place of a window of design size within the
// available area, keeping the frame (title bar, borders) inside it too.
TScreenFitPlan PlanScreenFit(QSize design, const QRect &available, const QMargins &frame, TFitMode mode);

// The client area of a window of size centred in the available area, with
// its frame inside that area where the size allows.
QRect PlaceCentred(QSize size, const QRect &available, const QMargins &frame);

// Design lengths, rectangles and sizes at a scale. Rectangles are scaled by
// their edges, so that controls that touch in the design still touch and
// never overlap through rounding.
int ScaledLength(int designLength, qreal scale);
QRect ScaledRect(const QRect &design, qreal scale);
QSize ScaledSize(const QSize &design, qreal scale);

// A pixel font size at a scale, rounded down: text measured to fit its
// control at the design size then still fits the scaled control.
int ScaledFontPixels(int designPixels, qreal scale);
