#include "UScreenFitPlan.h"

#include <algorithm>
#include <cmath>

#include <QtGlobal>

TScreenFitPlan PlanScreenFit(QSize design, const QRect &available, const QMargins &frame, TFitMode mode)
{
    const QRect room = available.marginsRemoved(frame);
    if (design.isEmpty() || room.isEmpty())
        return TScreenFitPlan{1, QRect(available.topLeft(), design)};
    const qreal fit = std::min(qreal(room.width()) / design.width(), qreal(room.height()) / design.height());
    const qreal scale = mode == TFitMode::Fill ? fit : std::min<qreal>(1, fit);
    return TScreenFitPlan{scale, PlaceCentred(ScaledSize(design, scale).boundedTo(room.size()), available, frame)};
}

QRect PlaceCentred(QSize size, const QRect &available, const QMargins &frame)
{
    const QRect room = available.marginsRemoved(frame);
    return QRect(room.topLeft() + QPoint((room.width() - size.width()) / 2, (room.height() - size.height()) / 2), size);
}

int ScaledLength(int designLength, qreal scale)
{
    return qRound(designLength * scale);
}

QRect ScaledRect(const QRect &design, qreal scale)
{
    const int left = ScaledLength(design.x(), scale);
    const int top = ScaledLength(design.y(), scale);
    return QRect(left, top, ScaledLength(design.x() + design.width(), scale) - left,
                 ScaledLength(design.y() + design.height(), scale) - top);
}

QSize ScaledSize(const QSize &design, qreal scale)
{
    return QSize(ScaledLength(design.width(), scale), ScaledLength(design.height(), scale));
}

int ScaledFontPixels(int designPixels, qreal scale)
{
    // The small allowance keeps an exact product (13 × 2 = 26) from
    // falling a pixel short through the binary fraction of the scale.
    return std::max(1, int(std::floor(designPixels * scale + 1e-6)));
}
