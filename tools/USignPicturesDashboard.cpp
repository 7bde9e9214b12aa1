// Warning and indicator lamps of the instrument panel, each lit in the
// colour the vehicle shows it in: red for faults that stop the journey,
// amber for cautions, green and blue for lamps switched on.

#include <QLinearGradient>
#include <QPainterPath>

#include "USignPictures.h"
#include "USignPicturesKit.h"

namespace SignKit {

namespace {

const QColor KLampRed(0xf0, 0x32, 0x2a);
const QColor KLampAmber(0xff, 0xa8, 0x00);
const QColor KLampOn(0x2c, 0xd0, 0x50);
const QColor KLampBlue(0x3a, 0x8c, 0xff);
const QColor KPanel(0x14, 0x16, 0x1a);

void Outline(QPainter &p, const QColor &colour, qreal width)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
}

void OilCan(QPainter &p, const QColor &colour)
{
    FillPolygon(p,
                {{-0.85, -0.1},
                 {-0.5, -0.1},
                 {-0.4, -0.3},
                 {0.15, -0.3},
                 {0.25, -0.15},
                 {0.85, -0.4},
                 {0.35, 0.35},
                 {-0.6, 0.35},
                 {-0.6, 0.1},
                 {-0.85, 0.05}},
                colour);
    p.drawRect(QRectF(-0.25, -0.46, 0.22, 0.16));
    QPainterPath drop;
    drop.moveTo(0.8, 0.1);
    drop.quadTo(0.9, 0.35, 0.8, 0.42);
    drop.quadTo(0.7, 0.35, 0.8, 0.1);
    p.drawPath(drop);
}

void Battery(QPainter &p, const QColor &colour)
{
    Outline(p, colour, 0.1);
    p.drawRect(QRectF(-0.8, -0.4, 1.6, 0.9));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(QRectF(-0.6, -0.58, 0.3, 0.18));
    p.drawRect(QRectF(0.3, -0.58, 0.3, 0.18));
    StrokeLine(p, QLineF(-0.6, 0.05, -0.3, 0.05), colour, 0.1);
    StrokeLine(p, QLineF(0.3, 0.05, 0.6, 0.05), colour, 0.1);
    StrokeLine(p, QLineF(0.45, -0.1, 0.45, 0.2), colour, 0.1);
}

void Engine(QPainter &p, const QColor &colour)
{
    Outline(p, colour, 0.1);
    p.drawPolygon(QPolygonF{{-0.6, -0.3},
                            {-0.2, -0.3},
                            {-0.2, -0.45},
                            {0.25, -0.45},
                            {0.25, -0.3},
                            {0.5, -0.3},
                            {0.62, -0.15},
                            {0.8, -0.15},
                            {0.8, 0.35},
                            {0.62, 0.35},
                            {0.5, 0.5},
                            {-0.45, 0.5},
                            {-0.6, 0.3},
                            {-0.8, 0.3},
                            {-0.8, -0.05},
                            {-0.6, -0.05}});
    StrokeLine(p, QLineF(-0.35, -0.6, 0.4, -0.6), colour, 0.1);
    StrokeLine(p, QLineF(0.02, -0.6, 0.02, -0.45), colour, 0.1);
}

// A seated figure with the belt across the chest.
void SeatBelt(QPainter &p, const QColor &colour)
{
    FillCircle(p, QPointF(0.05, -0.62), 0.16, colour);
    FillPolygon(p, {{-0.2, -0.38}, {0.3, -0.38}, {0.35, 0.2}, {0.6, 0.25}, {0.6, 0.55}, {0.05, 0.55}, {-0.2, 0.3}},
                colour);
    StrokeLine(p, QLineF(-0.42, -0.4, -0.42, 0.7), colour, 0.1);
    StrokeLine(p, QLineF(0.35, -0.3, -0.1, 0.25), KPanel, 0.18);
    StrokeLine(p, QLineF(0.35, -0.3, -0.1, 0.25), colour, 0.06);
    FillCircle(p, QPointF(0.0, 0.72), 0.08, colour);
}

// A ring between two arcs with a sign inside: brakes (!) or ABS.
TSymbol RingedSymbol(const QString &text, qreal textWidth)
{
    return [text, textWidth](QPainter &p, const QColor &colour) {
        Outline(p, colour, 0.1);
        p.drawEllipse(QPointF(0, 0), 0.56, 0.56);
        p.drawArc(QRectF(-0.82, -0.82, 1.64, 1.64), 135 * 16, 90 * 16);
        p.drawArc(QRectF(-0.82, -0.82, 1.64, 1.64), -45 * 16, 90 * 16);
        TextSymbol(text, textWidth, 0.5)(p, colour);
    };
}

void Thermometer(QPainter &p, const QColor &colour)
{
    StrokeLine(p, QLineF(0, -0.75, 0, 0.15), colour, 0.14);
    for (qreal y : {-0.6, -0.4, -0.2})
        StrokeLine(p, QLineF(0.05, y, 0.3, y), colour, 0.07);
    FillCircle(p, QPointF(0, 0.22), 0.16, colour);
    for (qreal y : {0.45, 0.65}) {
        QPainterPath wave;
        wave.moveTo(-0.75, y);
        for (int i = 0; i < 6; ++i)
            wave.quadTo(-0.75 + i * 0.25 + 0.125, y + (i % 2 == 0 ? -0.1 : 0.1), -0.5 + i * 0.25, y);
        StrokePath(p, wave, colour, 0.07);
    }
}

// A car seen from above with its front doors standing open.
void DoorsOpen(QPainter &p, const QColor &colour)
{
    Outline(p, colour, 0.09);
    p.drawRoundedRect(QRectF(-0.32, -0.8, 0.64, 1.6), 0.22, 0.22);
    StrokeLine(p, QLineF(-0.32, -0.2, -0.72, 0.12), colour, 0.1);
    StrokeLine(p, QLineF(0.32, -0.2, 0.72, 0.12), colour, 0.1);
    StrokeLine(p, QLineF(-0.22, -0.45, 0.22, -0.45), colour, 0.07);
}

// A headlamp lens (flat side towards its beams) with rays drawn by rays.
template <typename TRays>
TSymbol Headlamp(bool facingLeft, TRays rays)
{
    return [facingLeft, rays](QPainter &p, const QColor &colour) {
        p.save();
        if (!facingLeft)
            p.scale(-1, 1);
        QPainterPath lens;
        lens.moveTo(-0.05, -0.45);
        lens.cubicTo(0.75, -0.45, 0.75, 0.45, -0.05, 0.45);
        lens.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawPath(lens);
        rays(p, colour);
        p.restore();
    };
}

void LevelRays(QPainter &p, const QColor &colour)
{
    for (qreal y : {-0.36, -0.12, 0.12, 0.36})
        StrokeLine(p, QLineF(-0.85, y, -0.2, y), colour, 0.1);
}

void DippedRays(QPainter &p, const QColor &colour)
{
    for (qreal y : {-0.36, -0.12, 0.12, 0.36})
        StrokeLine(p, QLineF(-0.85, y + 0.22, -0.2, y), colour, 0.1);
}

// Fog lamps have a wavy line through their rays.
template <typename TRays>
auto FoggedRays(TRays rays)
{
    return [rays](QPainter &p, const QColor &colour) {
        rays(p, colour);
        QPainterPath wave;
        wave.moveTo(-0.52, -0.6);
        wave.cubicTo(-0.72, -0.25, -0.32, 0.05, -0.52, 0.35);
        wave.quadTo(-0.62, 0.5, -0.52, 0.7);
        StrokePath(p, wave, colour, 0.08);
    };
}

void HazardTriangles(QPainter &p, const QColor &colour)
{
    Outline(p, colour, 0.12);
    p.setPen(QPen(colour, 0.12, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPolygon(QPolygonF{{0, -0.85}, {0.85, 0.6}, {-0.85, 0.6}});
    p.drawPolygon(QPolygonF{{0, -0.35}, {0.45, 0.38}, {-0.45, 0.38}});
}

void TurnArrows(QPainter &p, const QColor &colour)
{
    FillPolygon(p,
                {{-0.95, 0}, {-0.55, -0.35}, {-0.55, -0.14}, {-0.2, -0.14}, {-0.2, 0.14}, {-0.55, 0.14}, {-0.55, 0.35}},
                colour);
    FillPolygon(p, {{0.95, 0}, {0.55, -0.35}, {0.55, -0.14}, {0.2, -0.14}, {0.2, 0.14}, {0.55, 0.14}, {0.55, 0.35}},
                colour);
}

// The lit lamp on a dark stretch of instrument panel.
QImage DashboardLamp(const TSymbol &symbol, const QColor &colour)
{
    return Paint([&](QPainter &p) {
        QLinearGradient panel(0, 0, 0, KSignPictureHeight);
        panel.setColorAt(0, KPanel.lighter(160));
        panel.setColorAt(1, KPanel);
        p.fillRect(WholePicture(), panel);
        p.setPen(QPen(QColor(0x40, 0x44, 0x4c), 3));
        p.setBrush(KPanel);
        p.drawRoundedRect(QRectF(60, 22, 200, 180), 24, 24);
        DrawSymbol(p, QPointF(160, 112), 70, symbol, colour);
    });
}

} // namespace

QList<TPicture> DashboardPictures()
{
    return {
        {"dash-oil-pressure", [] { return DashboardLamp(OilCan, KLampRed); }},
        {"dash-charging", [] { return DashboardLamp(Battery, KLampRed); }},
        {"dash-engine", [] { return DashboardLamp(Engine, KLampAmber); }},
        {"dash-seat-belt", [] { return DashboardLamp(SeatBelt, KLampRed); }},
        {"dash-brake", [] { return DashboardLamp(RingedSymbol(QStringLiteral("!"), 0.2), KLampRed); }},
        {"dash-abs", [] { return DashboardLamp(RingedSymbol(QStringLiteral("ABS"), 0.8), KLampAmber); }},
        {"dash-coolant", [] { return DashboardLamp(Thermometer, KLampRed); }},
        {"dash-low-fuel", [] { return DashboardLamp(FuelPump, KLampAmber); }},
        {"dash-door-open", [] { return DashboardLamp(DoorsOpen, KLampRed); }},
        {"dash-high-beam", [] { return DashboardLamp(Headlamp(true, LevelRays), KLampBlue); }},
        {"dash-low-beam", [] { return DashboardLamp(Headlamp(true, DippedRays), KLampOn); }},
        {"dash-front-fog", [] { return DashboardLamp(Headlamp(true, FoggedRays(DippedRays)), KLampOn); }},
        {"dash-rear-fog", [] { return DashboardLamp(Headlamp(false, FoggedRays(LevelRays)), KLampAmber); }},
        {"dash-hazard", [] { return DashboardLamp(HazardTriangles, KLampRed); }},
        {"dash-turn-signals", [] { return DashboardLamp(TurnArrows, KLampOn); }},
    };
}

} // namespace SignKit
