// Prohibition, warning, indication and guide signs beyond the first set.

#include <QPainterPath>

#include "USignPicturesKit.h"

namespace SignKit {

namespace {

// ---- symbols -------------------------------------------------------------

// The straight-on arrow with a branch to the left, as on combined signs.
void StraightLeftArrow(QPainter &p, const QColor &colour)
{
    StraightArrow(p, colour);
    QPainterPath branch;
    branch.moveTo(0, 0.5);
    branch.quadTo(0, 0.12, -0.4, 0.12);
    StrokePath(p, branch, colour, 0.22);
    FillPolygon(p, {{-0.86, 0.12}, {-0.4, -0.18}, {-0.4, 0.42}}, colour);
}

// One stem parting to the left and to the right.
void LeftRightArrow(QPainter &p, const QColor &colour)
{
    StrokeLine(p, QLineF(0, 0.8, 0, -0.1), colour, 0.24);
    StrokeLine(p, QLineF(-0.5, -0.1, 0.5, -0.1), colour, 0.24);
    FillPolygon(p, {{-0.9, -0.1}, {-0.46, -0.44}, {-0.46, 0.24}}, colour);
    FillPolygon(p, {{0.9, -0.1}, {0.46, -0.44}, {0.46, 0.24}}, colour);
}

void Wheel(QPainter &p, const QPointF &centre, qreal radius, const QColor &colour)
{
    FillCircle(p, centre, radius, colour);
    FillCircle(p, centre, radius * 0.4, KWhite);
}

// Side view of a lorry, cab to the left.
void Lorry(QPainter &p, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(QRectF(-0.35, -0.5, 1.2, 0.72));
    FillPolygon(p, {{-0.85, 0.22}, {-0.85, -0.12}, {-0.7, -0.38}, {-0.42, -0.38}, {-0.42, 0.22}}, colour);
    FillPolygon(p, {{-0.76, -0.12}, {-0.66, -0.3}, {-0.5, -0.3}, {-0.5, -0.12}}, KWhite);
    Wheel(p, QPointF(-0.6, 0.3), 0.16, colour);
    Wheel(p, QPointF(0.3, 0.3), 0.16, colour);
    Wheel(p, QPointF(0.64, 0.3), 0.16, colour);
}

// Side view of a motorcycle with its rider, riding to the left.
void Motorcycle(QPainter &p, const QColor &colour)
{
    OpenWheels(p, colour, 0.38, 0.56, 0.26);
    FillPolygon(p, {{-0.3, 0.2}, {0.4, 0.2}, {0.5, -0.02}, {-0.1, -0.1}}, colour);
    StrokeLine(p, QLineF(-0.56, 0.38, -0.36, -0.2), colour, 0.1);
    StrokeLine(p, QLineF(-0.42, -0.24, -0.2, -0.28), colour, 0.1);
    FillCircle(p, QPointF(0.08, -0.72), 0.15, colour);
    StrokePolyline(p, {{0.1, -0.55}, {0.16, -0.12}, {-0.1, 0.12}}, colour, 0.16);
    StrokeLine(p, QLineF(0.1, -0.45, -0.3, -0.26), colour, 0.1);
}

// Side view of a bus, front to the left.
void Bus(QPainter &p, const QColor &colour, const QColor &windows)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(-0.9, -0.42, 1.8, 0.7), 0.1, 0.1);
    for (int i = 0; i < 5; ++i)
        p.fillRect(QRectF(-0.78 + i * 0.32, -0.32, 0.22, 0.24), windows);
    Wheel(p, QPointF(-0.52, 0.3), 0.15, colour);
    Wheel(p, QPointF(0.52, 0.3), 0.15, colour);
}

// Two cars side by side: the overtaking one on the left.
TSymbol TwoCars(const QColor &left)
{
    return [left](QPainter &p, const QColor &colour) {
        DrawSymbol(p, QPointF(-0.42, 0.05), 0.55, CarFront, left);
        DrawSymbol(p, QPointF(0.42, 0.05), 0.55, CarFront, colour);
    };
}

// A figure between two wedges pointing at it: a limit of size or mass.
TSymbol LimitFigure(const QString &text, bool acrossSides)
{
    return [text, acrossSides](QPainter &p, const QColor &colour) {
        TextSymbol(text, acrossSides ? 1.0 : 1.5, 0.75)(p, colour);
        if (!acrossSides)
            return;
        FillPolygon(p, {{-1.02, -0.22}, {-1.02, 0.22}, {-0.66, 0}}, colour);
        FillPolygon(p, {{1.02, -0.22}, {1.02, 0.22}, {0.66, 0}}, colour);
    };
}

void Children(QPainter &p, const QColor &colour)
{
    DrawSymbol(p, QPointF(-0.34, 0.2), 0.72, Pedestrian, colour);
    DrawSymbol(p, QPointF(0.36, 0.36), 0.56, Pedestrian, colour);
}

// A wedge of ground seen from the side, with a car climbing or descending it.
TSymbol Slope(bool uphill)
{
    return [uphill](QPainter &p, const QColor &colour) {
        p.save();
        if (!uphill)
            p.scale(-1, 1);
        FillPolygon(p, {{-1.0, 0.9}, {0.95, 0.9}, {0.95, -0.3}}, colour);
        p.translate(-0.1, 0.36);
        p.rotate(-31.6);
        // The car faces the top of the slope going up, its foot going down.
        if (!uphill)
            p.scale(-1, 1);
        p.setBrush(colour);
        p.drawRoundedRect(QRectF(-0.46, -0.38, 0.92, 0.24), 0.06, 0.06);
        FillPolygon(p, {{-0.28, -0.38}, {-0.16, -0.6}, {0.2, -0.6}, {0.34, -0.38}}, colour);
        FillPolygon(p, {{0.06, -0.4}, {0.06, -0.54}, {0.17, -0.54}, {0.26, -0.4}}, KYellow);
        FillCircle(p, QPointF(-0.28, -0.1), 0.1, colour);
        FillCircle(p, QPointF(0.28, -0.1), 0.1, colour);
        p.restore();
        DrawSymbol(p, QPointF(uphill ? 0.52 : -0.52, 0.66), 1, TextSymbol(QStringLiteral("10%"), 0.56, 0.28), KYellow);
    };
}

void WindingRoad(QPainter &p, const QColor &colour)
{
    QPainterPath road;
    road.moveTo(-0.1, 0.9);
    road.cubicTo(0.6, 0.6, 0.6, 0.3, 0.0, 0.15);
    road.cubicTo(-0.6, 0.0, -0.6, -0.3, 0.0, -0.45);
    road.lineTo(0.14, -0.5);
    StrokePath(p, road, colour, 0.22);
    FillPolygon(p, {{0.5, -0.66}, {0.0, -0.82}, {0.24, -0.26}}, colour);
}

void ReverseBend(QPainter &p, const QColor &colour)
{
    QPainterPath road;
    road.moveTo(0.35, 0.9);
    road.lineTo(0.35, 0.45);
    road.cubicTo(0.35, 0.0, -0.35, 0.1, -0.35, -0.3);
    road.lineTo(-0.35, -0.45);
    StrokePath(p, road, colour, 0.24);
    FillPolygon(p, {{-0.35, -0.95}, {-0.7, -0.42}, {0.0, -0.42}}, colour);
}

// The edges of the road drawn from below: each side either straight or stepping in.
TSymbol Narrowing(bool leftIn, bool rightIn)
{
    return [leftIn, rightIn](QPainter &p, const QColor &colour) {
        const qreal leftTop = leftIn ? -0.2 : -0.5;
        const qreal rightTop = rightIn ? 0.2 : 0.5;
        StrokePolyline(p, {{-0.5, 0.9}, {-0.5, 0.3}, {leftTop, -0.1}, {leftTop, -0.8}}, colour, 0.18);
        StrokePolyline(p, {{0.5, 0.9}, {0.5, 0.3}, {rightTop, -0.1}, {rightTop, -0.8}}, colour, 0.18);
    };
}

// Wide approaches pinched to the width of the bridge between them.
void NarrowBridge(QPainter &p, const QColor &colour)
{
    for (qreal side : {-1.0, 1.0}) {
        StrokePolyline(p, {{side * 0.55, 0.9}, {side * 0.2, 0.45}, {side * 0.2, -0.35}, {side * 0.55, -0.8}}, colour,
                       0.16);
    }
}

// A car with the wavy tracks of a skid behind it.
void Slippery(QPainter &p, const QColor &colour)
{
    DrawSymbol(p, QPointF(0, -0.5), 0.62, CarFront, colour);
    for (qreal side : {-1.0, 1.0}) {
        QPainterPath track;
        track.moveTo(side * 0.22, -0.08);
        track.cubicTo(side * 0.7, 0.2, side * -0.2, 0.5, side * 0.3, 0.9);
        StrokePath(p, track, colour, 0.1);
    }
}

// A cliff on the left with stones falling towards the road.
void FallingRocks(QPainter &p, const QColor &colour)
{
    FillPolygon(p, {{-0.7, 0.9}, {-0.7, -0.5}, {-0.45, -0.8}, {-0.3, -0.2}, {-0.42, 0.3}, {-0.25, 0.9}}, colour);
    FillPolygon(p, {{-0.2, -0.5}, {0.0, -0.62}, {0.12, -0.42}, {-0.06, -0.3}}, colour);
    FillPolygon(p, {{0.05, 0.0}, {0.3, -0.12}, {0.42, 0.12}, {0.16, 0.24}}, colour);
    FillPolygon(p, {{0.3, 0.55}, {0.6, 0.45}, {0.7, 0.78}, {0.36, 0.86}}, colour);
}

// A tunnel mouth in a hillside.
void Tunnel(QPainter &p, const QColor &colour)
{
    FillPolygon(p, {{-1.0, 0.9}, {-0.75, -0.55}, {0.75, -0.55}, {1.0, 0.9}}, colour);
    QPainterPath mouth;
    mouth.moveTo(-0.45, 0.9);
    mouth.lineTo(-0.45, 0.1);
    mouth.arcTo(QRectF(-0.45, -0.35, 0.9, 0.9), 180, -180);
    mouth.lineTo(0.45, 0.9);
    mouth.closeSubpath();
    p.setBrush(KYellow);
    p.drawPath(mouth);
}

// A worker digging beside a heap.
void Roadworks(QPainter &p, const QColor &colour)
{
    FillCircle(p, QPointF(-0.12, -0.7), 0.14, colour);
    StrokeLine(p, QLineF(-0.12, -0.52, 0.0, 0.1), colour, 0.2);
    StrokePolyline(p, {{0.0, 0.1}, {-0.3, 0.45}, {-0.3, 0.88}}, colour, 0.16);
    StrokePolyline(p, {{0.0, 0.1}, {0.25, 0.5}, {0.2, 0.88}}, colour, 0.16);
    StrokePolyline(p, {{-0.1, -0.4}, {0.2, -0.15}, {0.42, -0.05}}, colour, 0.12);
    StrokeLine(p, QLineF(0.1, -0.4, 0.55, 0.55), colour, 0.08);
    FillPolygon(p, {{0.46, 0.5}, {0.66, 0.44}, {0.7, 0.7}, {0.56, 0.72}}, colour);
    FillPolygon(p, {{0.55, 0.9}, {0.8, 0.45}, {1.05, 0.9}}, colour);
}

// A steam locomotive: a crossing without barriers.
void Locomotive(QPainter &p, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(QRectF(-0.7, -0.1, 1.1, 0.45));
    p.drawRect(QRectF(0.2, -0.5, 0.5, 0.85));
    p.drawRect(QRectF(0.12, -0.58, 0.66, 0.1));
    p.drawRect(QRectF(-0.55, -0.45, 0.18, 0.35));
    FillPolygon(p, {{-0.7, 0.35}, {-0.95, 0.35}, {-0.7, 0.05}}, colour);
    for (qreal x : {-0.45, -0.05, 0.45})
        Wheel(p, QPointF(x, 0.5), 0.17, colour);
    p.fillRect(QRectF(0.32, -0.38, 0.26, 0.2), KYellow);
}

// Opposite arrows side by side: traffic in both directions ahead.
void TwoWay(QPainter &p, const QColor &colour)
{
    DrawSymbol(p, QPointF(-0.3, 0.05), 0.9, Rotated(StraightArrow, 180), colour);
    DrawSymbol(p, QPointF(0.3, 0.05), 0.9, StraightArrow, colour);
}

// The main road with a slip road joining it from the right.
void Merge(QPainter &p, const QColor &colour)
{
    StrokeLine(p, QLineF(-0.15, 0.9, -0.15, -0.4), colour, 0.26);
    FillPolygon(p, {{-0.15, -0.92}, {-0.52, -0.36}, {0.22, -0.36}}, colour);
    QPainterPath slip;
    slip.moveTo(0.7, 0.9);
    slip.quadTo(0.62, 0.1, -0.05, -0.12);
    StrokePath(p, slip, colour, 0.2);
}

void YJunction(QPainter &p, const QColor &colour)
{
    StrokeLine(p, QLineF(0, 0.9, 0, 0.05), colour, 0.26);
    StrokeLine(p, QLineF(0, 0.1, -0.55, -0.75), colour, 0.24);
    StrokeLine(p, QLineF(0, 0.1, 0.55, -0.75), colour, 0.24);
}

// A windsock blowing out from its pole.
void Windsock(QPainter &p, const QColor &colour)
{
    StrokeLine(p, QLineF(-0.6, 0.9, -0.6, -0.85), colour, 0.1);
    for (int band = 0; band < 3; ++band) {
        const qreal x0 = -0.55 + band * 0.45;
        const qreal x1 = x0 + 0.45;
        const qreal h0 = 0.3 - band * 0.06;
        const qreal h1 = h0 - 0.06;
        FillPolygon(p, {{x0, -0.62 - h0}, {x1, -0.62 - h1}, {x1, -0.62 + h1}, {x0, -0.62 + h0}},
                    band % 2 == 0 ? colour : KRed);
    }
}

// ---- sign kinds ----------------------------------------------------------

// The end of a restriction: white disc, black rim, the symbol in grey under
// five thin black diagonals.
QImage EndOfRestrictionSign(const TSymbol &symbol)
{
    return Paint([&](QPainter &p) {
        DrawSkyAndPost(p, KSignCentre.y());
        FillCircle(p, KSignCentre, KSignRadius, KBlack);
        FillCircle(p, KSignCentre, KSignRadius - 5, KWhite);
        const qreal inner = KSignRadius - 5;
        DrawSymbol(p, KSignCentre, inner * 0.62, symbol, KGrey);
        p.save();
        p.setClipRegion(
            QRegion(QRect(KSignCentre.x() - inner, KSignCentre.y() - inner, 2 * inner, 2 * inner), QRegion::Ellipse));
        for (int i = -2; i <= 2; ++i) {
            const QPointF shift(i * 9.0, -i * 9.0);
            StrokeLine(p,
                       QLineF(KSignCentre + shift + QPointF(-inner, -inner), KSignCentre + shift + QPointF(inner, inner)),
                       KBlack, 3);
        }
        p.restore();
    });
}

// A blue rectangle, as lane and one-way signs are; a lane sign points down
// at the lane it stands over.
QImage BlueBoardSign(const TSymbol &symbol, qreal symbolScale, bool overLane)
{
    return Paint([&](QPainter &p) {
        DrawSkyAndPost(p, 170);
        const QRectF board(60, 16, 200, 154);
        GuideBoard(p, board, KBlue);
        const QPointF centre = overLane ? QPointF(160, 74) : board.center();
        DrawSymbol(p, centre, symbolScale, symbol, KWhite);
        if (overLane)
            DrawSymbol(p, QPointF(160, 138), 24, Rotated(StraightArrow, 180), KWhite);
    });
}

// The pedestrian crossing sign: a walker on the stripes in a white triangle.
QImage CrossingSign()
{
    return Paint([](QPainter &p) {
        DrawSkyAndPost(p, 170);
        const QRectF board(78, 10, 164, 164);
        GuideBoard(p, board, KBlue);
        FillPolygon(p, {{160, 26}, {228, 158}, {92, 158}}, KWhite);
        for (int i = 0; i < 5; ++i)
            p.fillRect(QRectF(110 + i * 21, 140, 12, 14), KBlack);
        DrawSymbol(p, QPointF(160, 104), 34, Pedestrian, KBlack);
    });
}

// A guide board of lines of text; the first line is the largest.
QImage TextBoardSign(const QColor &colour, const QStringList &lines, const TSymbol &emblem)
{
    return Paint([&](QPainter &p) {
        DrawSkyAndPost(p, 170);
        const QRectF board(20, 14, 280, 156);
        GuideBoard(p, board, colour);
        const qreal textLeft = emblem ? 150 : 50;
        const qreal rowHeight = 120.0 / lines.size();
        for (int i = 0; i < lines.size(); ++i) {
            const qreal width = (270 - textLeft) / 2;
            // A list of places has lines alike; otherwise the name stands out.
            const bool larger = i == 0 && lines.size() < 3;
            const qreal height = larger ? rowHeight * 0.32 : rowHeight * 0.26;
            const QPointF centre((textLeft + 270) / 2, 34 + rowHeight * (i + 0.5));
            DrawSymbol(p, centre, 1, TextSymbol(lines[i], 2 * width, 2 * height), KWhite);
        }
        if (emblem)
            DrawSymbol(p, QPointF(86, 92), 50, emblem, KWhite);
    });
}

// Knife and fork beside a fuel pump: the facilities of a service area.
void ServiceFacilities(QPainter &p, const QColor &colour)
{
    DrawSymbol(p, QPointF(-0.35, 0), 0.7, FuelPump, colour);
    StrokeLine(p, QLineF(0.5, -0.8, 0.5, 0.8), colour, 0.1);
    StrokeLine(p, QLineF(0.82, -0.8, 0.82, 0.8), colour, 0.1);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QPointF(0.82, -0.45), 0.1, 0.3);
    for (qreal x : {0.42, 0.5, 0.58})
        StrokeLine(p, QLineF(x, -0.8, x, -0.5), colour, 0.05);
}

// The lay-by beside the carriageway where a broken-down car may stand.
void LayBy(QPainter &p, const QColor &colour)
{
    StrokeLine(p, QLineF(-0.6, 0.95, -0.6, -0.95), colour, 0.08);
    QPainterPath bay;
    bay.moveTo(0.2, 0.95);
    bay.lineTo(0.2, 0.6);
    bay.lineTo(0.7, 0.3);
    bay.lineTo(0.7, -0.3);
    bay.lineTo(0.2, -0.6);
    bay.lineTo(0.2, -0.95);
    StrokePath(p, bay, colour, 0.08);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(0.28, -0.3, 0.3, 0.6), 0.08, 0.08);
}

void TollBooth(QPainter &p, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(QRectF(-0.9, -0.75, 1.8, 0.22));
    for (qreal x : {-0.75, -0.15, 0.45})
        p.drawRect(QRectF(x, -0.5, 0.3, 1.2));
    p.drawRect(QRectF(-0.9, 0.7, 1.8, 0.1));
}

// A pagoda, the emblem of a scenic area.
void Pagoda(QPainter &p, const QColor &colour)
{
    for (int storey = 0; storey < 3; ++storey) {
        const qreal y = 0.55 - storey * 0.45;
        const qreal w = 0.8 - storey * 0.18;
        FillPolygon(p, {{-w, y}, {w, y}, {w * 0.6, y - 0.16}, {-w * 0.6, y - 0.16}}, colour);
        p.drawRect(QRectF(-w * 0.45, y - 0.02, w * 0.9, 0.3));
    }
    FillPolygon(p, {{0, -0.95}, {0.12, -0.6}, {-0.12, -0.6}}, colour);
}

// A slip road joining a divided road, with the arrow of the way in.
void ExpresswayEntrance(QPainter &p, const QColor &colour)
{
    StrokeLine(p, QLineF(-0.2, 0.95, -0.2, -0.95), colour, 0.12);
    StrokeLine(p, QLineF(0.2, 0.95, 0.2, -0.95), colour, 0.12);
    QPainterPath slip;
    slip.moveTo(0.9, 0.9);
    slip.quadTo(0.85, 0.0, 0.42, -0.3);
    StrokePath(p, slip, colour, 0.16);
    FillPolygon(p, {{0.28, -0.5}, {0.6, -0.5}, {0.44, -0.1}}, colour);
}

void BusOverText(QPainter &p, const QColor &colour)
{
    DrawSymbol(
        p, QPointF(0, -0.3), 0.9, [](QPainter &q, const QColor &c) { Bus(q, c, KBlue); }, colour);
    DrawSymbol(p, QPointF(0, 0.52), 1, TextSymbol(QStringLiteral("专用"), 1.0, 0.36), colour);
}

} // namespace

QList<TPicture> SignPictures()
{
    return {
        {"ban-overtaking", [] { return ProhibitionSign(TwoCars(KRed), false, 1.15); }},
        {"ban-overtaking-end", [] { return EndOfRestrictionSign(TwoCars(KGrey)); }},
        {"ban-width-3", [] { return ProhibitionSign(LimitFigure(QStringLiteral("3m"), true), false, 0.9); }},
        {"ban-mass-10t", [] { return ProhibitionSign(LimitFigure(QStringLiteral("10t"), false), false, 0.9); }},
        {"ban-non-motor", [] { return ProhibitionSign(Bicycle, true, 0.8); }},
        {"ban-pedestrians", [] { return ProhibitionSign(Pedestrian, true, 0.8); }},
        {"ban-right-turn", [] { return ProhibitionSign(RightArrow, true); }},
        {"ban-straight", [] { return ProhibitionSign(StraightArrow, true); }},
        {"ban-left-right-turn", [] { return ProhibitionSign(LeftRightArrow, true); }},
        {"ban-straight-left", [] { return ProhibitionSign(StraightLeftArrow, true); }},
        {"ban-lorries", [] { return ProhibitionSign(Lorry, true, 0.85); }},
        {"ban-motorcycles", [] { return ProhibitionSign(Motorcycle, true, 0.85); }},
        {"ban-speed-30", [] { return ProhibitionSign(TextSymbol(QStringLiteral("30"), 1.5, 1.0), false); }},
        {"ban-speed-60", [] { return ProhibitionSign(TextSymbol(QStringLiteral("60"), 1.5, 1.0), false); }},
        {"ban-speed-40-end", [] { return EndOfRestrictionSign(TextSymbol(QStringLiteral("40"), 1.5, 1.0)); }},
        {"warn-pedestrians", [] { return WarningSign(Pedestrian, 44); }},
        {"warn-children", [] { return WarningSign(Children, 46); }},
        {"warn-steep-up", [] { return WarningSign(Slope(true), 44); }},
        {"warn-steep-down", [] { return WarningSign(Slope(false), 44); }},
        {"warn-winding", [] { return WarningSign(WindingRoad, 46); }},
        {"warn-reverse-bend", [] { return WarningSign(ReverseBend, 46); }},
        {"warn-sharp-right", [] { return WarningSign(RightArrow, 50); }},
        {"warn-narrow-bridge", [] { return WarningSign(NarrowBridge, 46); }},
        {"warn-narrows-both", [] { return WarningSign(Narrowing(true, true), 46); }},
        {"warn-narrows-right", [] { return WarningSign(Narrowing(false, true), 46); }},
        {"warn-slippery", [] { return WarningSign(Slippery, 44); }},
        {"warn-falling-rocks", [] { return WarningSign(FallingRocks, 44); }},
        {"warn-tunnel", [] { return WarningSign(Tunnel, 40); }},
        {"warn-roadworks", [] { return WarningSign(Roadworks, 48); }},
        {"warn-non-motor", [] { return WarningSign(Bicycle, 46); }},
        {"warn-unguarded-railway", [] { return WarningSign(Locomotive, 46); }},
        {"warn-two-way", [] { return WarningSign(TwoWay, 46); }},
        {"warn-merge", [] { return WarningSign(Merge, 46); }},
        {"warn-y-junction", [] { return WarningSign(YJunction, 44); }},
        {"warn-roundabout", [] { return WarningSign(RoundaboutArrows, 56); }},
        {"warn-crosswind", [] { return WarningSign(Windsock, 44); }},
        {"must-right", [] { return MandatorySign(RightArrow); }},
        {"must-keep-left", [] { return MandatorySign(Mirrored(KeepRightArrow())); }},
        {"must-straight-left", [] { return MandatorySign(StraightLeftArrow); }},
        {"must-straight-right", [] { return MandatorySign(Mirrored(StraightLeftArrow)); }},
        {"must-left-right", [] { return MandatorySign(LeftRightArrow); }},
        {"must-u-turn", [] { return MandatorySign(UTurnArrow); }},
        {"must-walk", [] { return MandatorySign(Pedestrian, 0.62); }},
        {"must-motor", [] { return MandatorySign(CarFront, 0.62); }},
        {"must-non-motor", [] { return MandatorySign(Bicycle, 0.66); }},
        {"must-one-way", [] { return BlueBoardSign(Rotated(StraightArrow, 90), 62, false); }},
        {"must-crosswalk", CrossingSign},
        {"must-motor-lane", [] { return BlueBoardSign(CarFront, 46, true); }},
        {"must-non-motor-lane", [] { return BlueBoardSign(Bicycle, 50, true); }},
        {"must-bus-lane", [] { return BlueBoardSign(BusOverText, 50, true); }},
        {"guide-expressway-entrance",
         [] {
             return TextBoardSign(KGreen, {QStringLiteral("入口"), QStringLiteral("ENTRANCE")}, ExpresswayEntrance);
         }},
        {"guide-service-area",
         [] {
             return TextBoardSign(KGreen, {QStringLiteral("服务区"), QStringLiteral("2 km")}, ServiceFacilities);
         }},
        {"guide-emergency-stop", [] { return TextBoardSign(KGreen, {QStringLiteral("紧急停车带")}, LayBy); }},
        {"guide-toll",
         [] {
             return TextBoardSign(KGreen, {QStringLiteral("收费站"), QStringLiteral("1 km")}, TollBooth);
         }},
        {"guide-distance",
         [] {
             return TextBoardSign(KBlue,
                                  {QStringLiteral("东湖  12 km"), QStringLiteral("新城  35 km"),
                                   QStringLiteral("南港  68 km")},
                                  nullptr);
         }},
        {"guide-scenic",
         [] {
             return TextBoardSign(KBrown, {QStringLiteral("青山景区"), QStringLiteral("3 km")}, Pagoda);
         }},
        {"guide-fuel",
         [] {
             return TextBoardSign(KBlue, {QStringLiteral("加油站"), QStringLiteral("500 m")}, FuelPump);
         }},
    };
}

} // namespace SignKit
