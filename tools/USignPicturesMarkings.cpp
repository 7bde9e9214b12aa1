// Road markings beyond the first set, seen from above with traffic on the right.

#include <QPainterPath>

#include "USignPictures.h"
#include "USignPicturesKit.h"

namespace SignKit {

namespace {

const QColor KRedCar(0xe0, 0x4a, 0x3b);
const QColor KBlueCar(0x3b, 0x7d, 0xd8);
const QColor KPavement(0xc8, 0xc4, 0xbc);

// A two-way road split by the centre line drawn by line, one car each way.
template <typename TCentre>
QImage CentreLineMarking(TCentre line)
{
    return RoadMarking([&](QPainter &p) {
        line(p);
        CarFromAbove(p, QPointF(222, 150), KRedCar, true);
        CarFromAbove(p, QPointF(98, 64), KBlueCar, false);
    });
}

// A zigzag line along the whole road at x, as variable lanes are bounded.
void ZigzagLine(QPainter &p, qreal x, const QColor &colour)
{
    QPolygonF zigzag;
    for (int i = 0; i <= 14; ++i)
        zigzag << QPointF(x + (i % 2 == 0 ? -6 : 6), i * 16.0);
    StrokePolyline(p, zigzag, colour, 3);
}

// Text painted along a lane, read by a driver coming up from below; the
// glyphs are stretched lengthwise, as road lettering is.
void RoadText(QPainter &p, const QString &text, const QPointF &centre, qreal width, qreal height, const QColor &colour)
{
    p.save();
    p.translate(centre);
    p.scale(width / 2, height / 2);
    TextSymbol(text, 2, 2)(p, colour);
    p.restore();
}

// A kerb and pavement on the right of a one-lane street, with the kerb
// line drawn by line.
template <typename TKerbLine>
QImage KerbMarking(TKerbLine line)
{
    return Paint([&](QPainter &p) {
        p.fillRect(WholePicture(), KAsphalt);
        p.fillRect(QRectF(236, 0, 84, KSignPictureHeight), KPavement);
        p.fillRect(QRectF(232, 0, 6, KSignPictureHeight), QColor(0xe8, 0xe6, 0xe0));
        StrokeLine(p, QLineF(40, 0, 40, KSignPictureHeight), KLineYellow, 4);
        line(p);
        CarFromAbove(p, QPointF(150, 120), KBlueCar, true);
    });
}

// The last stretch before a stop line across the top, with lane lines below.
void ApproachToStopLine(QPainter &p, const QList<qreal> &laneLines)
{
    StrokeLine(p, QLineF(160, 44, 160, 224), KLineYellow, 4);
    p.fillRect(QRectF(0, 0, KSignPictureWidth, 34), KAsphalt);
    StrokeLine(p, QLineF(162, 40, KRoadRight - 6, 40), KWhite, 6);
    for (qreal x : laneLines)
        StrokeLine(p, QLineF(x, 40, x, 224), KWhite, 4);
}

// ---- lane arrow shapes (unit coordinates, pointing up) -------------------

void StraightOrLeftArrow(QPainter &p, const QColor &colour)
{
    StrokeLine(p, QLineF(0.2, 0.9, 0.2, -0.3), colour, 0.3);
    FillPolygon(p, {{0.2, -0.9}, {-0.22, -0.3}, {0.62, -0.3}}, colour);
    QPainterPath branch;
    branch.moveTo(0.2, 0.5);
    branch.quadTo(0.2, 0.05, -0.3, -0.05);
    StrokePath(p, branch, colour, 0.26);
    FillPolygon(p, {{-0.9, -0.12}, {-0.32, -0.42}, {-0.26, 0.26}}, colour);
}

void LeftOrUTurnArrow(QPainter &p, const QColor &colour)
{
    p.save();
    p.translate(0, -0.2);
    LeftArrow(p, colour);
    p.restore();
    QPainterPath hook;
    hook.moveTo(0.3, 0.35);
    hook.cubicTo(0.3, 0.0, -0.4, 0.0, -0.4, 0.4);
    StrokePath(p, hook, colour, 0.2);
    FillPolygon(p, {{-0.4, 0.85}, {-0.7, 0.4}, {-0.1, 0.4}}, colour);
}

void CrossedUTurnArrow(QPainter &p, const QColor &colour)
{
    p.save();
    p.scale(0.7, 0.8);
    UTurnArrow(p, colour);
    p.restore();
    StrokeLine(p, QLineF(-1.0, -0.9, 1.0, 0.9), colour, 0.12);
    StrokeLine(p, QLineF(-1.0, 0.9, 1.0, -0.9), colour, 0.12);
}

template <typename TArrow>
QImage LaneArrowPicture(TArrow arrow, const QColor &colour)
{
    return RoadMarking([&](QPainter &p) {
        ApproachToStopLine(p, {220});
        RoadArrow(p, QPointF(190, 140), QSizeF(26, 60), arrow, colour);
        CarFromAbove(p, QPointF(250, 180), KBlueCar, true);
    });
}

// ---- the markings ----------------------------------------------------------

// Where a lane parts from the road, a hatched island no car may enter.
QImage ChannelizingMarking()
{
    return RoadMarking([](QPainter &p) {
        DashedLine(p, QLineF(120, -10, 120, 224), KWhite, 4, 30, 22);
        const QPolygonF island{{200, 224}, {212, 0}, {268, 0}};
        p.save();
        QPainterPath clip;
        clip.addPolygon(island);
        p.setClipPath(clip);
        for (qreal y = -60; y < 300; y += 18)
            StrokeLine(p, QLineF(190, y + 40, 280, y), KWhite, 4);
        p.restore();
        StrokePolyline(p, {{200, 224}, {212, 0}}, KWhite, 4);
        StrokePolyline(p, {{200, 224}, {268, 0}}, KWhite, 4);
        CarFromAbove(p, QPointF(160, 140), KRedCar, true);
        CarFromAbove(p, QPointF(252, 190), KBlueCar, true);
    });
}

// Beyond the stop line of a left-turn lane, broken lines lead the waiting
// cars into the junction up to a second, broken stop line.
QImage LeftTurnWaitingZoneMarking()
{
    return Paint([](QPainter &p) {
        p.fillRect(WholePicture(), KAsphalt);
        StrokeLine(p, QLineF(110, 150, 110, 224), KLineYellow, 4);
        StrokeLine(p, QLineF(112, 150, 300, 150), KWhite, 6);
        StrokeLine(p, QLineF(175, 150, 175, 224), KWhite, 4);
        RoadArrow(p, QPointF(143, 192), QSizeF(18, 30), LeftArrow, KWhite);
        RoadArrow(p, QPointF(210, 192), QSizeF(18, 30), StraightArrow, KWhite);
        QPainterPath inner;
        inner.moveTo(112, 146);
        inner.quadTo(104, 96, 76, 64);
        QPainterPath outer;
        outer.moveTo(175, 146);
        outer.quadTo(160, 88, 124, 44);
        for (const QPainterPath &edge : {inner, outer}) {
            QPen pen(KWhite, 4, Qt::CustomDashLine, Qt::FlatCap);
            pen.setDashPattern({4, 3});
            p.strokePath(edge, pen);
        }
        DashedLine(p, QLineF(76, 64, 124, 44), KWhite, 5, 8, 6);
        p.save();
        p.translate(124, 98);
        p.rotate(-24);
        TextSymbol(QStringLiteral("待转区"), 46, 14)(p, KWhite);
        p.restore();
        CarFromAbove(p, QPointF(143, 230), KRedCar, true);
    });
}

QImage BusLaneMarking()
{
    return RoadMarking([](QPainter &p) {
        DashedLine(p, QLineF(120, -10, 120, 224), KWhite, 4, 30, 22);
        DashedLine(p, QLineF(200, -10, 200, 224), KLineYellow, 5, 30, 22);
        RoadText(p, QStringLiteral("公交"), QPointF(240, 70), 60, 56, KLineYellow);
        RoadText(p, QStringLiteral("专用"), QPointF(240, 140), 60, 56, KLineYellow);
        CarFromAbove(p, QPointF(160, 150), KRedCar, true);
    });
}

// The middle lane between zigzag lines changes its direction with the sign above it.
QImage VariableLaneMarking()
{
    return RoadMarking([](QPainter &p) {
        ZigzagLine(p, 120, KWhite);
        ZigzagLine(p, 200, KWhite);
        CarFromAbove(p, QPointF(160, 120), KRedCar, true);
        CarFromAbove(p, QPointF(80, 170), KBlueCar, true);
    });
}

// A reversible lane between two broken yellow lines.
QImage TidalLaneMarking()
{
    return CentreLineMarking([](QPainter &p) {
        DashedLine(p, QLineF(136, -10, 136, 224), KLineYellow, 4, 30, 22);
        DashedLine(p, QLineF(146, -10, 146, 224), KLineYellow, 4, 30, 22);
        DashedLine(p, QLineF(174, -10, 174, 224), KLineYellow, 4, 30, 22);
        DashedLine(p, QLineF(184, -10, 184, 224), KLineYellow, 4, 30, 22);
    });
}

QImage CrossingAheadMarking()
{
    return RoadMarking([](QPainter &p) {
        StrokeLine(p, QLineF(160, 0, 160, 224), KLineYellow, 4);
        for (qreal x = 170; x + 12 <= KRoadRight - 8; x += 22)
            p.fillRect(QRectF(x, 8, 12, 36), KWhite);
        for (qreal y : {100.0, 180.0}) {
            FillPolygon(p, {{220, y - 30}, {238, y}, {220, y + 30}, {202, y}}, KWhite);
            FillPolygon(p, {{220, y - 20}, {231, y}, {220, y + 20}, {209, y}}, KAsphalt);
        }
    });
}

// Rows of small white diamonds inside both lane edges narrow the lane to the eye.
QImage LongitudinalSlowingMarking()
{
    return RoadMarking([](QPainter &p) {
        StrokeLine(p, QLineF(160, 0, 160, 224), KLineYellow, 4);
        for (qreal x : {174.0, 260.0}) {
            for (qreal y = 6; y < 224; y += 22)
                FillPolygon(p, {{x, y}, {x + 5, y + 8}, {x, y + 16}, {x - 5, y + 8}}, KWhite);
        }
        CarFromAbove(p, QPointF(217, 130), KRedCar, true);
    });
}

// Groups of broken white lines across the lane.
QImage TransverseSlowingMarking()
{
    return RoadMarking([](QPainter &p) {
        StrokeLine(p, QLineF(160, 0, 160, 224), KLineYellow, 4);
        for (qreal group : {30.0, 120.0}) {
            for (int i = 0; i < 3; ++i)
                DashedLine(p, QLineF(166, group + i * 12, KRoadRight - 10, group + i * 12), KWhite, 5, 16, 8);
        }
        CarFromAbove(p, QPointF(217, 196), KRedCar, true);
    });
}

} // namespace

QList<TPicture> MarkingPictures()
{
    return {
        {"mark-channelizing", ChannelizingMarking},
        {"mark-left-turn-waiting", LeftTurnWaitingZoneMarking},
        {"mark-bus-lane", BusLaneMarking},
        {"mark-variable-lane", VariableLaneMarking},
        {"mark-tidal-lane", TidalLaneMarking},
        {"mark-crossing-ahead", CrossingAheadMarking},
        {"mark-slowing-longitudinal", LongitudinalSlowingMarking},
        {"mark-slowing-transverse", TransverseSlowingMarking},
        {"mark-kerb-yellow-solid",
         [] { return KerbMarking([](QPainter &p) { StrokeLine(p, QLineF(224, 0, 224, 224), KLineYellow, 5); }); }},
        {"mark-kerb-yellow-broken",
         [] {
             return KerbMarking([](QPainter &p) { DashedLine(p, QLineF(224, -10, 224, 224), KLineYellow, 5, 30, 22); });
         }},
        {"mark-solid-white",
         [] {
             return RoadMarking([](QPainter &p) {
                 StrokeLine(p, QLineF(160, 0, 160, 224), KWhite, 4);
                 CarFromAbove(p, QPointF(100, 150), KRedCar, true);
                 CarFromAbove(p, QPointF(220, 80), KBlueCar, true);
             });
         }},
        {"mark-broken-yellow",
         [] {
             return CentreLineMarking(
                 [](QPainter &p) { DashedLine(p, QLineF(160, -10, 160, 224), KLineYellow, 4, 30, 22); });
         }},
        {"mark-single-yellow",
         [] { return CentreLineMarking([](QPainter &p) { StrokeLine(p, QLineF(160, 0, 160, 224), KLineYellow, 4); }); }},
        {"mark-arrow-straight-left", [] { return LaneArrowPicture(StraightOrLeftArrow, KWhite); }},
        {"mark-arrow-left-u-turn", [] { return LaneArrowPicture(LeftOrUTurnArrow, KWhite); }},
        {"mark-arrow-u-turn", [] { return LaneArrowPicture(UTurnArrow, KWhite); }},
        {"mark-no-u-turn", [] { return LaneArrowPicture(CrossedUTurnArrow, KLineYellow); }},
    };
}

} // namespace SignKit
