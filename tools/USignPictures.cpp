#include "tools/USignPictures.h"

#include <functional>

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace {

const QColor KRed(0xd2, 0x1f, 0x26);
const QColor KYellow(0xf7, 0xc4, 0x00);
const QColor KBlue(0x1d, 0x4f, 0xa6);
const QColor KGreen(0x0b, 0x75, 0x3a);
const QColor KBlack(0x1b, 0x1b, 0x1b);
const QColor KWhite(0xfb, 0xfb, 0xfb);
const QColor KAsphalt(0x58, 0x5b, 0x60);
const QColor KVerge(0x8c, 0xa0, 0x6e);
const QColor KLineYellow(0xf2, 0xb6, 0x00);
const QColor KHousing(0x24, 0x27, 0x2b);
const QColor KPost(0x8a, 0x8f, 0x95);
const QColor KLampGreen(0x18, 0xb8, 0x5a);

const QPointF KSignCentre(160, 98);
constexpr qreal KSignRadius = 84;

// A symbol is drawn in unit coordinates (about -1 … 1 on both axes) in the
// colour it is given; the sign kind places and scales it.
using TSymbol = std::function<void(QPainter &, const QColor &)>;

QRectF WholePicture()
{
    return QRectF(0, 0, KSignPictureWidth, KSignPictureHeight);
}

void FillPolygon(QPainter &p, const QPolygonF &polygon, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(polygon);
}

void FillCircle(QPainter &p, const QPointF &centre, qreal radius, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(centre, radius, radius);
}

void StrokePath(QPainter &p, const QPainterPath &path, const QColor &colour, qreal width)
{
    p.strokePath(path, QPen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
}

void StrokeLine(QPainter &p, const QLineF &line, const QColor &colour, qreal width)
{
    QPainterPath path;
    path.moveTo(line.p1());
    path.lineTo(line.p2());
    StrokePath(p, path, colour, width);
}

void DashedLine(QPainter &p, const QLineF &line, const QColor &colour, qreal width, qreal dash, qreal gap)
{
    QPen pen(colour, width, Qt::CustomDashLine, Qt::FlatCap);
    pen.setDashPattern({dash / width, gap / width});
    p.setPen(pen);
    p.drawLine(line);
}

void DrawSymbol(QPainter &p, const QPointF &centre, qreal scale, const TSymbol &symbol, const QColor &colour)
{
    p.save();
    p.translate(centre);
    p.scale(scale, scale);
    symbol(p, colour);
    p.restore();
}

QFont SignFont()
{
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(100);
    font.setBold(true);
    return font;
}

// Text fitted into a box of the unit square, centred on the origin; the
// outline is scaled, so the glyphs keep the sign's proportions.
TSymbol TextSymbol(const QString &text, qreal width, qreal height)
{
    return [text, width, height](QPainter &p, const QColor &colour) {
        QPainterPath path;
        path.addText(0, 0, SignFont(), text);
        const QRectF bounds = path.boundingRect();
        const qreal scale = qMin(width / bounds.width(), height / bounds.height());
        p.save();
        p.scale(scale, scale);
        p.translate(-bounds.center());
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawPath(path);
        p.restore();
    };
}

void StraightArrow(QPainter &p, const QColor &colour)
{
    QPainterPath stem;
    stem.moveTo(0, 0.8);
    stem.lineTo(0, -0.2);
    StrokePath(p, stem, colour, 0.26);
    FillPolygon(p, {{0, -0.8}, {-0.38, -0.2}, {0.38, -0.2}}, colour);
}

void LeftArrow(QPainter &p, const QColor &colour)
{
    QPainterPath stem;
    stem.moveTo(0.3, 0.8);
    stem.lineTo(0.3, 0.0);
    stem.quadTo(0.3, -0.32, -0.05, -0.32);
    stem.lineTo(-0.22, -0.32);
    StrokePath(p, stem, colour, 0.26);
    FillPolygon(p, {{-0.78, -0.32}, {-0.2, -0.7}, {-0.2, 0.06}}, colour);
}

void RightArrow(QPainter &p, const QColor &colour)
{
    p.save();
    p.scale(-1, 1);
    LeftArrow(p, colour);
    p.restore();
}

void UTurnArrow(QPainter &p, const QColor &colour)
{
    QPainterPath stem;
    stem.moveTo(0.36, 0.8);
    stem.lineTo(0.36, -0.1);
    stem.cubicTo(0.36, -0.78, -0.36, -0.78, -0.36, -0.1);
    stem.lineTo(-0.36, 0.12);
    StrokePath(p, stem, colour, 0.24);
    FillPolygon(p, {{-0.36, 0.7}, {-0.72, 0.1}, {0.0, 0.1}}, colour);
}

// Points down and to the right: pass on the right of an obstacle.
void KeepRightArrow(QPainter &p, const QColor &colour)
{
    p.save();
    p.rotate(135);
    StraightArrow(p, colour);
    p.restore();
}

void Horn(QPainter &p, const QColor &colour)
{
    FillPolygon(p, {{-0.72, -0.11}, {-0.1, -0.11}, {0.58, -0.5}, {0.58, 0.5}, {-0.1, 0.11}, {-0.72, 0.11}}, colour);
    p.drawEllipse(QPointF(-0.74, 0), 0.1, 0.2);
}

// Front view of a motor car, with windscreen and lamps left in white.
void CarFront(QPainter &p, const QColor &colour)
{
    FillPolygon(p, {{-0.42, -0.55}, {0.42, -0.55}, {0.6, -0.08}, {-0.6, -0.08}}, colour);
    p.drawRoundedRect(QRectF(-0.72, -0.12, 1.44, 0.5), 0.1, 0.1);
    p.drawRect(QRectF(-0.64, 0.3, 0.26, 0.26));
    p.drawRect(QRectF(0.38, 0.3, 0.26, 0.26));
    FillPolygon(p, {{-0.34, -0.46}, {0.34, -0.46}, {0.47, -0.14}, {-0.47, -0.14}}, KWhite);
    FillCircle(p, QPointF(-0.5, 0.1), 0.1, KWhite);
    FillCircle(p, QPointF(0.5, 0.1), 0.1, KWhite);
}

void Crossroads(QPainter &p, const QColor &colour)
{
    StrokeLine(p, QLineF(0, -0.85, 0, 0.85), colour, 0.28);
    StrokeLine(p, QLineF(-0.85, 0.05, 0.85, 0.05), colour, 0.28);
}

void TJunction(QPainter &p, const QColor &colour)
{
    StrokeLine(p, QLineF(-0.95, -0.3, 0.95, -0.3), colour, 0.28);
    StrokeLine(p, QLineF(0, -0.3, 0, 0.85), colour, 0.28);
}

void SignalLamps(QPainter &p, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(-0.3, -0.9, 0.6, 1.8), 0.12, 0.12);
    FillCircle(p, QPointF(0, -0.52), 0.19, KRed);
    FillCircle(p, QPointF(0, 0.0), 0.19, KYellow);
    FillCircle(p, QPointF(0, 0.52), 0.19, KGreen);
}

void Exclamation(QPainter &p, const QColor &colour)
{
    FillPolygon(p, {{-0.13, -0.85}, {0.13, -0.85}, {0.07, 0.35}, {-0.07, 0.35}}, colour);
    FillCircle(p, QPointF(0, 0.66), 0.14, colour);
}

// A gate of pointed posts and two rails: the crossing is guarded.
void Fence(QPainter &p, const QColor &colour)
{
    for (int i = -2; i <= 2; ++i) {
        const qreal x = i * 0.36;
        FillPolygon(p, {{x - 0.08, 0.8}, {x + 0.08, 0.8}, {x + 0.08, -0.5}, {x, -0.66}, {x - 0.08, -0.5}}, colour);
    }
    p.drawRect(QRectF(-0.9, -0.28, 1.8, 0.13));
    p.drawRect(QRectF(-0.9, 0.34, 1.8, 0.13));
}

// Three arrows chasing each other anticlockwise round the centre.
void RoundaboutArrows(QPainter &p, const QColor &colour)
{
    const qreal radius = 0.56;
    for (int i = 0; i < 3; ++i) {
        const qreal start = 100 + i * 120;
        const qreal sweep = 72;
        QPainterPath arc;
        arc.arcMoveTo(QRectF(-radius, -radius, 2 * radius, 2 * radius), start);
        arc.arcTo(QRectF(-radius, -radius, 2 * radius, 2 * radius), start, sweep);
        StrokePath(p, arc, colour, 0.2);
        const qreal end = qDegreesToRadians(start + sweep);
        const QPointF tip0(radius * qCos(end), -radius * qSin(end));
        const QPointF along(-qSin(end), -qCos(end));
        const QPointF across(qCos(end), -qSin(end));
        FillPolygon(p, {tip0 + along * 0.36, tip0 + across * 0.24, tip0 - across * 0.24}, colour);
    }
}

// ---- sign kinds ---------------------------------------------------------

QImage NewPicture()
{
    QImage image(KSignPictureWidth, KSignPictureHeight, QImage::Format_RGB32);
    image.fill(KWhite);
    return image;
}

void DrawSky(QPainter &p)
{
    QLinearGradient sky(0, 0, 0, KSignPictureHeight);
    sky.setColorAt(0, QColor(0xb4, 0xd4, 0xee));
    sky.setColorAt(1, QColor(0xe6, 0xf0, 0xf7));
    p.fillRect(WholePicture(), sky);
}

// Signs and lights stand on a grey post against a pale sky.
void DrawSkyAndPost(QPainter &p, qreal postTop)
{
    DrawSky(p);
    p.fillRect(QRectF(154, postTop, 12, KSignPictureHeight - postTop), KPost);
}

template <typename TDraw>
QImage Paint(TDraw draw)
{
    QImage image = NewPicture();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return image;
}

// White disc, red ring, black symbol; bar = the red diagonal of a ban.
QImage ProhibitionSign(const TSymbol &symbol, bool bar, qreal symbolScale = 0.8)
{
    return Paint([&](QPainter &p) {
        DrawSkyAndPost(p, KSignCentre.y());
        FillCircle(p, KSignCentre, KSignRadius, KWhite);
        FillCircle(p, KSignCentre, KSignRadius - 3, KRed);
        const qreal inner = KSignRadius * 0.78;
        FillCircle(p, KSignCentre, inner, KWhite);
        if (symbol)
            DrawSymbol(p, KSignCentre, inner * symbolScale, symbol, KBlack);
        if (bar) {
            const QPointF d(inner * M_SQRT1_2, inner * M_SQRT1_2);
            StrokeLine(p, QLineF(KSignCentre - d, KSignCentre + d), KRed, KSignRadius * 0.15);
        }
    });
}

// Blue disc in a red ring: stopping banned (cross) or long stops banned (bar).
QImage ParkingBanSign(bool cross)
{
    return Paint([&](QPainter &p) {
        DrawSkyAndPost(p, KSignCentre.y());
        FillCircle(p, KSignCentre, KSignRadius, KWhite);
        FillCircle(p, KSignCentre, KSignRadius - 3, KRed);
        const qreal inner = KSignRadius * 0.78;
        FillCircle(p, KSignCentre, inner, KBlue);
        const QPointF d(inner * M_SQRT1_2, inner * M_SQRT1_2);
        StrokeLine(p, QLineF(KSignCentre - d, KSignCentre + d), KRed, KSignRadius * 0.15);
        if (cross)
            StrokeLine(p, QLineF(KSignCentre + QPointF(d.x(), -d.y()), KSignCentre + QPointF(-d.x(), d.y())), KRed,
                       KSignRadius * 0.15);
    });
}

QImage NoEntrySign()
{
    return Paint([](QPainter &p) {
        DrawSkyAndPost(p, KSignCentre.y());
        FillCircle(p, KSignCentre, KSignRadius, KWhite);
        FillCircle(p, KSignCentre, KSignRadius - 3, KRed);
        p.setBrush(KWhite);
        p.drawRect(QRectF(KSignCentre.x() - KSignRadius * 0.68, KSignCentre.y() - KSignRadius * 0.16,
                          KSignRadius * 1.36, KSignRadius * 0.32));
    });
}

// Height limit: the figure between two inward-pointing wedges.
QImage HeightLimitSign(const QString &text)
{
    return ProhibitionSign([text](QPainter &p, const QColor &colour) {
        TextSymbol(text, 1.6, 0.75)(p, colour);
        FillPolygon(p, {{-0.22, -0.98}, {0.22, -0.98}, {0, -0.6}}, colour);
        FillPolygon(p, {{-0.22, 0.98}, {0.22, 0.98}, {0, 0.6}}, colour);
    }, false, 0.9);
}

QImage StopSign()
{
    return Paint([](QPainter &p) {
        DrawSkyAndPost(p, KSignCentre.y());
        QPolygonF outer;
        QPolygonF inner;
        for (int i = 0; i < 8; ++i) {
            const qreal angle = qDegreesToRadians(22.5 + 45 * i);
            const QPointF unit(qCos(angle), qSin(angle));
            outer << KSignCentre + unit * KSignRadius;
            inner << KSignCentre + unit * (KSignRadius - 6);
        }
        FillPolygon(p, outer, KWhite);
        FillPolygon(p, inner, KRed);
        DrawSymbol(p, KSignCentre, KSignRadius * 0.62, TextSymbol(QStringLiteral("停"), 1.3, 1.3), KWhite);
    });
}

// The triangle stands on its point: give way.
QImage GiveWaySign()
{
    return Paint([](QPainter &p) {
        DrawSkyAndPost(p, 150);
        const QPolygonF outer{{62, 14}, {258, 14}, {160, 184}};
        FillPolygon(p, outer, KRed);
        FillPolygon(p, {{92, 31}, {228, 31}, {160, 149}}, KWhite);
        DrawSymbol(p, QPointF(160, 72), 34, TextSymbol(QStringLiteral("让"), 1.4, 1.4), KBlack);
    });
}

// Yellow triangle with a black edge, point up.
QImage WarningSign(const TSymbol &symbol, qreal symbolScale = 46)
{
    return Paint([&](QPainter &p) {
        DrawSkyAndPost(p, 150);
        FillPolygon(p, {{160, 10}, {262, 186}, {58, 186}}, KYellow);
        FillPolygon(p, {{160, 20}, {253, 181}, {67, 181}}, KBlack);
        FillPolygon(p, {{160, 38}, {237, 171}, {83, 171}}, KYellow);
        DrawSymbol(p, QPointF(160, 124), symbolScale, symbol, KBlack);
    });
}

// Blue disc with a thin white rim and a white symbol.
QImage MandatorySign(const TSymbol &symbol, qreal symbolScale = 0.68)
{
    return Paint([&](QPainter &p) {
        DrawSkyAndPost(p, KSignCentre.y());
        FillCircle(p, KSignCentre, KSignRadius, KWhite);
        FillCircle(p, KSignCentre, KSignRadius - 4, KBlue);
        DrawSymbol(p, KSignCentre, KSignRadius * symbolScale, symbol, KWhite);
    });
}

void GuideBoard(QPainter &p, const QRectF &board, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(board, 8, 8);
    p.setPen(QPen(KWhite, 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(board.adjusted(6, 6, -6, -6), 5, 5);
}

QImage ParkingSign()
{
    return Paint([](QPainter &p) {
        DrawSkyAndPost(p, 150);
        const QRectF board(85, 18, 150, 150);
        GuideBoard(p, board, KBlue);
        DrawSymbol(p, board.center(), 52, TextSymbol(QStringLiteral("P"), 1.2, 1.7), KWhite);
    });
}

// Expressway guide signs are green: an exit two kilometres ahead.
QImage ExpresswayExitSign()
{
    return Paint([](QPainter &p) {
        DrawSkyAndPost(p, 160);
        const QRectF board(22, 22, 276, 144);
        GuideBoard(p, board, KGreen);
        DrawSymbol(p, QPointF(112, 66), 60, TextSymbol(QStringLiteral("城东"), 1.6, 0.7), KWhite);
        DrawSymbol(p, QPointF(112, 124), 40, TextSymbol(QStringLiteral("出口 2 km"), 2.6, 0.7), KWhite);
        p.save();
        p.translate(238, 96);
        p.scale(44, 44);
        p.rotate(45);
        StraightArrow(p, KWhite);
        p.restore();
    });
}

// Ordinary-road guide signs are blue: the crossroads ahead and its roads.
QImage CrossroadsAheadSign()
{
    return Paint([](QPainter &p) {
        DrawSkyAndPost(p, 176);
        const QRectF board(20, 12, 280, 164);
        GuideBoard(p, board, KBlue);
        StrokeLine(p, QLineF(160, 150, 160, 40), KWhite, 16);
        StrokeLine(p, QLineF(70, 92, 250, 92), KWhite, 16);
        FillPolygon(p, {{160, 28}, {146, 48}, {174, 48}}, KWhite);
        DrawSymbol(p, QPointF(160, 154), 20, TextSymbol(QStringLiteral("人民路"), 3.4, 1.0), KWhite);
        DrawSymbol(p, QPointF(70, 62), 18, TextSymbol(QStringLiteral("解放路"), 3.4, 1.0), KWhite);
        DrawSymbol(p, QPointF(250, 62), 18, TextSymbol(QStringLiteral("解放路"), 3.4, 1.0), KWhite);
        DrawSymbol(p, QPointF(210, 40), 16, TextSymbol(QStringLiteral("北"), 1.0, 1.0), KWhite);
    });
}

// ---- road markings (seen from above, traffic drives on the right) -------

constexpr qreal KRoadLeft = 40;
constexpr qreal KRoadRight = 280;

void DrawRoad(QPainter &p)
{
    p.fillRect(WholePicture(), KVerge);
    p.fillRect(QRectF(KRoadLeft, 0, KRoadRight - KRoadLeft, KSignPictureHeight), KAsphalt);
    StrokeLine(p, QLineF(KRoadLeft + 6, 0, KRoadLeft + 6, KSignPictureHeight), KWhite, 4);
    StrokeLine(p, QLineF(KRoadRight - 6, 0, KRoadRight - 6, KSignPictureHeight), KWhite, 4);
}

// A car seen from above, bonnet towards the top when it drives up.
void CarFromAbove(QPainter &p, const QPointF &centre, const QColor &colour, bool drivingUp)
{
    p.save();
    p.translate(centre);
    if (!drivingUp)
        p.rotate(180);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.5));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(-14, -25, 28, 50), 7, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2c, 0x3e, 0x50));
    p.drawRoundedRect(QRectF(-11, -12, 22, 9), 2, 2);
    p.drawRoundedRect(QRectF(-11, 12, 22, 6), 2, 2);
    p.restore();
}

template <typename TMarks>
QImage RoadMarking(TMarks marks)
{
    return Paint([&](QPainter &p) {
        DrawRoad(p);
        marks(p);
    });
}

QImage DoubleYellowMarking()
{
    return RoadMarking([](QPainter &p) {
        StrokeLine(p, QLineF(155, 0, 155, 224), KLineYellow, 4);
        StrokeLine(p, QLineF(165, 0, 165, 224), KLineYellow, 4);
        CarFromAbove(p, QPointF(222, 150), QColor(0xe0, 0x4a, 0x3b), true);
        CarFromAbove(p, QPointF(98, 64), QColor(0x3b, 0x7d, 0xd8), false);
    });
}

// Solid on the left, broken on the right of the centre.
QImage SolidBrokenYellowMarking()
{
    return RoadMarking([](QPainter &p) {
        StrokeLine(p, QLineF(155, 0, 155, 224), KLineYellow, 4);
        DashedLine(p, QLineF(165, -10, 165, 224), KLineYellow, 4, 30, 22);
        CarFromAbove(p, QPointF(222, 150), QColor(0xe0, 0x4a, 0x3b), true);
        CarFromAbove(p, QPointF(98, 64), QColor(0x3b, 0x7d, 0xd8), false);
    });
}

QImage BrokenWhiteLaneMarking()
{
    return RoadMarking([](QPainter &p) {
        DashedLine(p, QLineF(120, -10, 120, 224), KWhite, 4, 30, 22);
        DashedLine(p, QLineF(200, -10, 200, 224), KWhite, 4, 30, 22);
        CarFromAbove(p, QPointF(80, 140), QColor(0xe0, 0x4a, 0x3b), true);
        CarFromAbove(p, QPointF(160, 70), QColor(0xee, 0xee, 0xee), true);
        CarFromAbove(p, QPointF(240, 170), QColor(0x3b, 0x7d, 0xd8), true);
    });
}

// Lane arrows before a stop line: left, straight on, right.
QImage LaneArrowMarking()
{
    return RoadMarking([](QPainter &p) {
        p.fillRect(QRectF(0, 0, KSignPictureWidth, 34), KAsphalt);
        StrokeLine(p, QLineF(KRoadLeft + 6, 40, KRoadRight - 6, 40), KWhite, 6);
        StrokeLine(p, QLineF(120, 40, 120, 224), KWhite, 4);
        StrokeLine(p, QLineF(200, 40, 200, 224), KWhite, 4);
        const QList<QPair<qreal, TSymbol>> arrows{{80, LeftArrow}, {160, StraightArrow}, {240, RightArrow}};
        for (const auto &[x, arrow] : arrows) {
            p.save();
            p.translate(x, 130);
            p.scale(30, 62);
            arrow(p, KWhite);
            p.restore();
        }
    });
}

QImage ZebraCrossingMarking()
{
    return RoadMarking([](QPainter &p) {
        StrokeLine(p, QLineF(155, 0, 155, 62), KLineYellow, 4);
        StrokeLine(p, QLineF(165, 0, 165, 62), KLineYellow, 4);
        StrokeLine(p, QLineF(155, 162, 155, 224), KLineYellow, 4);
        StrokeLine(p, QLineF(165, 162, 165, 224), KLineYellow, 4);
        for (qreal x = KRoadLeft + 14; x + 14 <= KRoadRight - 8; x += 26)
            p.fillRect(QRectF(x, 80, 14, 64), KWhite);
        StrokeLine(p, QLineF(160, 158, KRoadRight - 6, 158), KWhite, 5);
        StrokeLine(p, QLineF(KRoadLeft + 6, 66, 160, 66), KWhite, 5);
        CarFromAbove(p, QPointF(222, 194), QColor(0xe0, 0x4a, 0x3b), true);
    });
}

// No stopping for any reason inside the yellow grid.
QImage YellowGridMarking()
{
    return RoadMarking([](QPainter &p) {
        const QRectF box(70, 52, 180, 120);
        p.save();
        p.setClipRect(box);
        for (qreal d = -box.height(); d < box.width(); d += 24) {
            StrokeLine(p, QLineF(box.left() + d, box.top(), box.left() + d + box.height(), box.bottom()), KLineYellow, 3);
            StrokeLine(p, QLineF(box.left() + d, box.bottom(), box.left() + d + box.height(), box.top()), KLineYellow, 3);
        }
        p.restore();
        p.setPen(QPen(KLineYellow, 4));
        p.setBrush(Qt::NoBrush);
        p.drawRect(box);
    });
}

// Two broken lines across the lane and the triangle pointing at the driver.
QImage GiveWayMarking()
{
    return RoadMarking([](QPainter &p) {
        StrokeLine(p, QLineF(160, 60, 160, 224), KLineYellow, 4);
        p.fillRect(QRectF(0, 0, KSignPictureWidth, 40), KAsphalt);
        DashedLine(p, QLineF(164, 46, KRoadRight - 6, 46), KWhite, 5, 14, 10);
        DashedLine(p, QLineF(164, 58, KRoadRight - 6, 58), KWhite, 5, 14, 10);
        FillPolygon(p, {{194, 100}, {246, 100}, {220, 196}}, KWhite);
        FillPolygon(p, {{204, 108}, {236, 108}, {220, 170}}, KAsphalt);
    });
}

QImage StopMarking()
{
    return RoadMarking([](QPainter &p) {
        StrokeLine(p, QLineF(160, 60, 160, 224), KLineYellow, 4);
        p.fillRect(QRectF(0, 0, KSignPictureWidth, 40), KAsphalt);
        StrokeLine(p, QLineF(162, 46, KRoadRight - 6, 46), KWhite, 5);
        StrokeLine(p, QLineF(162, 58, KRoadRight - 6, 58), KWhite, 5);
        p.save();
        p.translate(220, 140);
        p.scale(34, 60);
        TextSymbol(QStringLiteral("停"), 1.6, 1.6)(p, KWhite);
        p.restore();
    });
}

// ---- signal lights ---------------------------------------------------------

enum class TLampFace { Disc, LeftArrow, StraightArrow, RightArrow, Cross, DownArrow };

void DrawLamp(QPainter &p, const QPointF &centre, qreal radius, const QColor &colour, bool lit, TLampFace face)
{
    FillCircle(p, centre, radius + 3, QColor(0x10, 0x10, 0x10));
    if (face == TLampFace::Disc) {
        if (lit) {
            QRadialGradient glow(centre, radius);
            glow.setColorAt(0, colour.lighter(160));
            glow.setColorAt(0.7, colour);
            glow.setColorAt(1, colour.darker(115));
            p.setPen(Qt::NoPen);
            p.setBrush(glow);
            p.drawEllipse(centre, radius, radius);
        } else {
            FillCircle(p, centre, radius, colour.darker(420));
        }
        return;
    }
    if (!lit)
        return;
    p.save();
    p.translate(centre);
    p.scale(radius * 1.1, radius * 1.1);
    switch (face) {
    case TLampFace::RightArrow:
        p.scale(-1, 1);
        [[fallthrough]];
    case TLampFace::LeftArrow: {
        QPainterPath stem;
        stem.moveTo(0.8, 0);
        stem.lineTo(-0.2, 0);
        StrokePath(p, stem, colour, 0.34);
        FillPolygon(p, {{-0.88, 0}, {-0.18, -0.5}, {-0.18, 0.5}}, colour);
        break;
    }
    case TLampFace::StraightArrow:
        StraightArrow(p, colour);
        break;
    case TLampFace::DownArrow:
        p.rotate(180);
        StraightArrow(p, colour);
        break;
    case TLampFace::Cross:
        StrokeLine(p, QLineF(-0.6, -0.6, 0.6, 0.6), colour, 0.3);
        StrokeLine(p, QLineF(-0.6, 0.6, 0.6, -0.6), colour, 0.3);
        break;
    case TLampFace::Disc:
        break;
    }
    p.restore();
}

void DrawHousing(QPainter &p, const QRectF &box, qreal cornerRadius)
{
    p.setPen(Qt::NoPen);
    p.setBrush(KHousing);
    p.drawRoundedRect(box, cornerRadius, cornerRadius);
}

// A vertical head: red on top, yellow in the middle, green below.
QImage SignalHead(int litLamp)
{
    return Paint([litLamp](QPainter &p) {
        DrawSkyAndPost(p, 196);
        DrawHousing(p, QRectF(124, 10, 72, 190), 10);
        const QList<QColor> colours{KRed, KYellow, KLampGreen};
        for (int i = 0; i < 3; ++i)
            DrawLamp(p, QPointF(160, 42 + i * 63), 24, colours[i], i == litLamp, TLampFace::Disc);
    });
}

QImage FlashingYellowLight()
{
    return Paint([](QPainter &p) {
        DrawSkyAndPost(p, 150);
        DrawHousing(p, QRectF(118, 56, 84, 96), 10);
        DrawLamp(p, QPointF(160, 104), 30, KYellow, true, TLampFace::Disc);
        for (int i = 0; i < 8; ++i) {
            const qreal angle = qDegreesToRadians(i * 45.0 + 22.5);
            const QPointF unit(qCos(angle), qSin(angle));
            StrokeLine(p, QLineF(QPointF(160, 104) + unit * 62, QPointF(160, 104) + unit * 84), KYellow, 5);
        }
    });
}

// Direction lights: left arrow red, straight on and right arrows green.
QImage ArrowSignals()
{
    return Paint([](QPainter &p) {
        DrawSky(p);
        p.fillRect(QRectF(10, 18, 300, 8), KPost);
        const QList<TLampFace> faces{TLampFace::LeftArrow, TLampFace::StraightArrow, TLampFace::RightArrow};
        const QList<int> lit{0, 2, 2};
        const QList<QColor> colours{KRed, KYellow, KLampGreen};
        for (int head = 0; head < 3; ++head) {
            const qreal x = 70 + head * 90;
            DrawHousing(p, QRectF(x - 30, 30, 60, 180), 8);
            for (int lamp = 0; lamp < 3; ++lamp)
                DrawLamp(p, QPointF(x, 60 + lamp * 60), 21, colours[lamp], lamp == lit[head], faces[head]);
        }
    });
}

// Lane lights over two lanes: red cross on the left, green arrow on the right.
QImage LaneSignals()
{
    return Paint([](QPainter &p) {
        DrawSky(p);
        p.fillRect(QRectF(0, 130, KSignPictureWidth, 94), KAsphalt);
        DashedLine(p, QLineF(160, 130, 160, 224), KWhite, 4, 20, 14);
        p.fillRect(QRectF(0, 30, KSignPictureWidth, 10), KPost);
        p.fillRect(QRectF(6, 30, 10, 110), KPost);
        p.fillRect(QRectF(304, 30, 10, 110), KPost);
        const QList<QPair<qreal, bool>> heads{{90, false}, {230, true}};
        for (const auto &[x, open] : heads) {
            DrawHousing(p, QRectF(x - 36, 40, 72, 72), 6);
            DrawLamp(p, QPointF(x, 76), 30, open ? KLampGreen : KRed, true,
                     open ? TLampFace::DownArrow : TLampFace::Cross);
        }
    });
}

// Railway crossing lights: two red lamps side by side, one lit while they alternate.
QImage RailwayCrossingLights()
{
    return Paint([](QPainter &p) {
        DrawSkyAndPost(p, 120);
        DrawHousing(p, QRectF(58, 70, 204, 76), 36);
        DrawLamp(p, QPointF(104, 108), 26, KRed, true, TLampFace::Disc);
        DrawLamp(p, QPointF(216, 108), 26, KRed, false, TLampFace::Disc);
        // White crossbuck above the lights.
        p.save();
        p.translate(160, 46);
        for (int angle : {30, -30}) {
            p.save();
            p.rotate(angle);
            p.setPen(QPen(KRed, 1.5));
            p.setBrush(KWhite);
            p.drawRect(QRectF(-56, -7, 112, 14));
            p.restore();
        }
        p.restore();
    });
}

struct TPicture
{
    const char *Key;
    std::function<QImage()> Draw;
};

const QList<TPicture> &Pictures()
{
    static const QList<TPicture> pictures{
        {"ban-no-entry", NoEntrySign},
        {"ban-no-traffic", [] { return ProhibitionSign(nullptr, false); }},
        {"ban-left-turn", [] { return ProhibitionSign(LeftArrow, true); }},
        {"ban-u-turn", [] { return ProhibitionSign(UTurnArrow, true); }},
        {"ban-horn", [] { return ProhibitionSign(Horn, true); }},
        {"ban-motor-vehicles", [] { return ProhibitionSign(CarFront, true, 0.75); }},
        {"ban-stopping", [] { return ParkingBanSign(true); }},
        {"ban-long-stop", [] { return ParkingBanSign(false); }},
        {"ban-speed-40", [] { return ProhibitionSign(TextSymbol(QStringLiteral("40"), 1.5, 1.0), false); }},
        {"ban-height-3.5", [] { return HeightLimitSign(QStringLiteral("3.5m")); }},
        {"ban-stop-yield", StopSign},
        {"ban-give-way", GiveWaySign},
        {"warn-crossroads", [] { return WarningSign(Crossroads); }},
        {"warn-t-junction", [] { return WarningSign(TJunction, 40); }},
        {"warn-sharp-left", [] { return WarningSign(LeftArrow, 50); }},
        {"warn-signals", [] { return WarningSign(SignalLamps, 46); }},
        {"warn-danger", [] { return WarningSign(Exclamation); }},
        {"warn-slow", [] { return WarningSign(TextSymbol(QStringLiteral("慢"), 1.4, 1.4), 40); }},
        {"warn-guarded-railway", [] { return WarningSign(Fence, 42); }},
        {"must-straight", [] { return MandatorySign(StraightArrow); }},
        {"must-left", [] { return MandatorySign(LeftArrow); }},
        {"must-keep-right", [] { return MandatorySign(KeepRightArrow); }},
        {"must-roundabout", [] { return MandatorySign(RoundaboutArrows, 0.8); }},
        {"must-horn", [] { return MandatorySign(Horn); }},
        {"must-min-speed-60", [] { return MandatorySign(TextSymbol(QStringLiteral("60"), 1.5, 1.0), 0.62); }},
        {"guide-parking", ParkingSign},
        {"guide-expressway-exit", ExpresswayExitSign},
        {"guide-crossroads-ahead", CrossroadsAheadSign},
        {"mark-double-yellow", DoubleYellowMarking},
        {"mark-solid-broken-yellow", SolidBrokenYellowMarking},
        {"mark-broken-white", BrokenWhiteLaneMarking},
        {"mark-lane-arrows", LaneArrowMarking},
        {"mark-zebra", ZebraCrossingMarking},
        {"mark-yellow-grid", YellowGridMarking},
        {"mark-give-way", GiveWayMarking},
        {"mark-stop", StopMarking},
        {"light-red", [] { return SignalHead(0); }},
        {"light-yellow", [] { return SignalHead(1); }},
        {"light-green", [] { return SignalHead(2); }},
        {"light-flashing-yellow", FlashingYellowLight},
        {"light-arrows", ArrowSignals},
        {"light-lanes", LaneSignals},
        {"light-railway", RailwayCrossingLights},
    };
    return pictures;
}

} // namespace

QStringList SignPictureKeys()
{
    QStringList keys;
    for (const TPicture &picture : Pictures())
        keys << QString::fromLatin1(picture.Key);
    return keys;
}

QImage DrawSignPicture(const QString &key)
{
    for (const TPicture &picture : Pictures())
        if (key == QLatin1String(picture.Key))
            return picture.Draw();
    return {};
}
