#include "USignPicturesKit.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>
#include <QtMath>

#include "USignPictures.h"

namespace SignKit {

namespace {

QFont SignFont()
{
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(100);
    font.setBold(true);
    return font;
}

} // namespace

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
    StrokePolyline(p, {line.p1(), line.p2()}, colour, width);
}

void StrokePolyline(QPainter &p, const QPolygonF &points, const QColor &colour, qreal width)
{
    QPainterPath path;
    path.addPolygon(points);
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

TSymbol Mirrored(const TSymbol &symbol)
{
    return [symbol](QPainter &p, const QColor &colour) {
        p.save();
        p.scale(-1, 1);
        symbol(p, colour);
        p.restore();
    };
}

TSymbol Rotated(const TSymbol &symbol, qreal degrees)
{
    return [symbol, degrees](QPainter &p, const QColor &colour) {
        p.save();
        p.rotate(degrees);
        symbol(p, colour);
        p.restore();
    };
}

// The outline is scaled, so the glyphs keep the sign's proportions.
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

// ---- symbols -------------------------------------------------------------

void StraightArrow(QPainter &p, const QColor &colour)
{
    StrokeLine(p, QLineF(0, 0.8, 0, -0.2), colour, 0.26);
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
    Mirrored(LeftArrow)(p, colour);
}

TSymbol KeepRightArrow()
{
    return Rotated(StraightArrow, 135);
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

// Side view, riding to the left.
void OpenWheels(QPainter &p, const QColor &colour, qreal y, qreal halfBase, qreal radius)
{
    p.setPen(QPen(colour, 0.1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(-halfBase, y), radius, radius);
    p.drawEllipse(QPointF(halfBase, y), radius, radius);
}

void Bicycle(QPainter &p, const QColor &colour)
{
    OpenWheels(p, colour, 0.3, 0.5, 0.32);
    StrokePolyline(p, {{-0.5, 0.3}, {-0.3, -0.2}, {0.3, -0.2}, {0.0, 0.3}, {-0.3, -0.2}}, colour, 0.1);
    StrokePolyline(p, {{0.5, 0.3}, {0.3, -0.2}, {0.2, -0.38}}, colour, 0.1);
    StrokeLine(p, QLineF(0.08, -0.38, 0.32, -0.38), colour, 0.1);
    StrokePolyline(p, {{-0.3, -0.2}, {-0.36, -0.42}, {-0.5, -0.42}}, colour, 0.1);
}

// A walking figure, stepping to the left.
void Pedestrian(QPainter &p, const QColor &colour)
{
    FillCircle(p, QPointF(0.0, -0.72), 0.15, colour);
    StrokeLine(p, QLineF(0.0, -0.5, 0.06, 0.1), colour, 0.2);
    StrokePolyline(p, {{0.06, 0.1}, {-0.22, 0.45}, {-0.36, 0.82}}, colour, 0.16);
    StrokePolyline(p, {{0.06, 0.1}, {0.24, 0.46}, {0.42, 0.8}}, colour, 0.16);
    StrokePolyline(p, {{-0.02, -0.38}, {-0.26, -0.08}, {-0.36, 0.18}}, colour, 0.13);
    StrokePolyline(p, {{0.02, -0.38}, {0.26, -0.12}, {0.4, 0.1}}, colour, 0.13);
}

void FuelPump(QPainter &p, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(-0.6, -0.8, 0.8, 1.6), 0.08, 0.08);
    p.fillRect(QRectF(-0.46, -0.64, 0.52, 0.4), QColor(0, 0, 0, 110));
    StrokePolyline(p, {{0.2, -0.3}, {0.55, -0.3}, {0.55, 0.5}, {0.75, 0.5}, {0.75, -0.5}, {0.6, -0.7}}, colour, 0.1);
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

// ---- sign kinds ----------------------------------------------------------

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

void DrawSkyAndPost(QPainter &p, qreal postTop)
{
    DrawSky(p);
    p.fillRect(QRectF(154, postTop, 12, KSignPictureHeight - postTop), KPost);
}

qreal RedRingedDisc(QPainter &p, const QColor &inside)
{
    DrawSkyAndPost(p, KSignCentre.y());
    FillCircle(p, KSignCentre, KSignRadius, KWhite);
    FillCircle(p, KSignCentre, KSignRadius - 3, KRed);
    const qreal inner = KSignRadius * 0.78;
    FillCircle(p, KSignCentre, inner, inside);
    return inner;
}

QImage ProhibitionSign(const TSymbol &symbol, bool bar, qreal symbolScale)
{
    return Paint([&](QPainter &p) {
        const qreal inner = RedRingedDisc(p, KWhite);
        if (symbol)
            DrawSymbol(p, KSignCentre, inner * symbolScale, symbol, KBlack);
        if (bar) {
            const QPointF d(inner * M_SQRT1_2, inner * M_SQRT1_2);
            StrokeLine(p, QLineF(KSignCentre - d, KSignCentre + d), KRed, KSignRadius * 0.15);
        }
    });
}

QImage WarningSign(const TSymbol &symbol, qreal symbolScale)
{
    return Paint([&](QPainter &p) {
        DrawSkyAndPost(p, 150);
        FillPolygon(p, {{160, 10}, {262, 186}, {58, 186}}, KYellow);
        FillPolygon(p, {{160, 20}, {253, 181}, {67, 181}}, KBlack);
        FillPolygon(p, {{160, 38}, {237, 171}, {83, 171}}, KYellow);
        DrawSymbol(p, QPointF(160, 124), symbolScale, symbol, KBlack);
    });
}

QImage MandatorySign(const TSymbol &symbol, qreal symbolScale)
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

// ---- road markings -------------------------------------------------------

void DrawRoad(QPainter &p)
{
    p.fillRect(WholePicture(), KVerge);
    p.fillRect(QRectF(KRoadLeft, 0, KRoadRight - KRoadLeft, KSignPictureHeight), KAsphalt);
    StrokeLine(p, QLineF(KRoadLeft + 6, 0, KRoadLeft + 6, KSignPictureHeight), KWhite, 4);
    StrokeLine(p, QLineF(KRoadRight - 6, 0, KRoadRight - 6, KSignPictureHeight), KWhite, 4);
}

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

void RoadArrow(QPainter &p, const QPointF &centre, const QSizeF &size, const TSymbol &arrow, const QColor &colour)
{
    p.save();
    p.translate(centre);
    p.scale(size.width(), size.height());
    arrow(p, colour);
    p.restore();
}

} // namespace SignKit
