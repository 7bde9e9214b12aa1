#pragma once

#include <functional>

#include <QColor>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>

// Shared pieces of the drawn question pictures: the palette, primitives,
// symbols in unit coordinates and the sign kinds that place them. Each
// picture file contributes one table of keyed drawings.

namespace SignKit {

inline const QColor KRed(0xd2, 0x1f, 0x26);
inline const QColor KYellow(0xf7, 0xc4, 0x00);
inline const QColor KBlue(0x1d, 0x4f, 0xa6);
inline const QColor KGreen(0x0b, 0x75, 0x3a);
inline const QColor KBrown(0x7a, 0x4a, 0x22);
inline const QColor KBlack(0x1b, 0x1b, 0x1b);
inline const QColor KWhite(0xfb, 0xfb, 0xfb);
inline const QColor KGrey(0x8a, 0x8a, 0x8a);
inline const QColor KAsphalt(0x58, 0x5b, 0x60);
inline const QColor KVerge(0x8c, 0xa0, 0x6e);
inline const QColor KLineYellow(0xf2, 0xb6, 0x00);
inline const QColor KHousing(0x24, 0x27, 0x2b);
inline const QColor KPost(0x8a, 0x8f, 0x95);
inline const QColor KLampGreen(0x18, 0xb8, 0x5a);

// Round signs share one centre and radius, clear of the post below.
inline const QPointF KSignCentre(160, 98);
constexpr qreal KSignRadius = 84;

constexpr qreal KRoadLeft = 40;
constexpr qreal KRoadRight = 280;

// A symbol is drawn in unit coordinates (about -1 … 1 on both axes) in the
// colour it is given; the sign kind places and scales it.
using TSymbol = std::function<void(QPainter &, const QColor &)>;

struct TPicture
{
    const char *Key;
    std::function<QImage()> Draw;
};

// The tables of the picture files, each in its own drawing order.
QList<TPicture> ClassicPictures();
QList<TPicture> SignPictures();
QList<TPicture> MarkingPictures();
QList<TPicture> GesturePictures();
QList<TPicture> DashboardPictures();

// ---- primitives ----------------------------------------------------------

QRectF WholePicture();
void FillPolygon(QPainter &p, const QPolygonF &polygon, const QColor &colour);
void FillCircle(QPainter &p, const QPointF &centre, qreal radius, const QColor &colour);
void StrokePath(QPainter &p, const QPainterPath &path, const QColor &colour, qreal width);
void StrokeLine(QPainter &p, const QLineF &line, const QColor &colour, qreal width);
void StrokePolyline(QPainter &p, const QPolygonF &points, const QColor &colour, qreal width);
void DashedLine(QPainter &p, const QLineF &line, const QColor &colour, qreal width, qreal dash, qreal gap);
void DrawSymbol(QPainter &p, const QPointF &centre, qreal scale, const TSymbol &symbol, const QColor &colour);
// The symbol mirrored left to right, for the right-hand twin of a left symbol.
TSymbol Mirrored(const TSymbol &symbol);
// The symbol turned clockwise by degrees about its centre.
TSymbol Rotated(const TSymbol &symbol, qreal degrees);
// Text fitted into a width × height box of the unit square, centred on the origin.
TSymbol TextSymbol(const QString &text, qreal width, qreal height);

// ---- symbols -------------------------------------------------------------

void StraightArrow(QPainter &p, const QColor &colour);
void LeftArrow(QPainter &p, const QColor &colour);
void RightArrow(QPainter &p, const QColor &colour);
// Points down and to the right: pass on the right of an obstacle.
TSymbol KeepRightArrow();
void UTurnArrow(QPainter &p, const QColor &colour);
void CarFront(QPainter &p, const QColor &colour);
// Two wheels drawn as rings, halfBase either side of the middle.
void OpenWheels(QPainter &p, const QColor &colour, qreal y, qreal halfBase, qreal radius);
void Bicycle(QPainter &p, const QColor &colour);
void Pedestrian(QPainter &p, const QColor &colour);
// A fuel pump with its hose, its window darkened.
void FuelPump(QPainter &p, const QColor &colour);
void RoundaboutArrows(QPainter &p, const QColor &colour);

// ---- sign kinds ----------------------------------------------------------

QImage NewPicture();
void DrawSky(QPainter &p);
// Signs and lights stand on a grey post against a pale sky.
void DrawSkyAndPost(QPainter &p, qreal postTop);

template <typename TDraw>
QImage Paint(TDraw draw)
{
    QImage image = NewPicture();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return image;
}

// The red ring of a ban on the post, filled inside with a colour; returns the
// inner radius.
qreal RedRingedDisc(QPainter &p, const QColor &inside);
// White disc, red ring, black symbol; bar = the red diagonal of a ban.
QImage ProhibitionSign(const TSymbol &symbol, bool bar, qreal symbolScale = 0.8);
// Yellow triangle with a black edge, point up.
QImage WarningSign(const TSymbol &symbol, qreal symbolScale = 46);
// Blue disc with a thin white rim and a white symbol.
QImage MandatorySign(const TSymbol &symbol, qreal symbolScale = 0.68);
// A rounded board with a white inner edge, as guide and lane signs have.
void GuideBoard(QPainter &p, const QRectF &board, const QColor &colour);

// ---- road markings (seen from above, traffic drives on the right) --------

void DrawRoad(QPainter &p);
// A car seen from above, bonnet towards the top when it drives up.
void CarFromAbove(QPainter &p, const QPointF &centre, const QColor &colour, bool drivingUp);
// A lane arrow painted on the road, centred on centre and stretched to size.
void RoadArrow(QPainter &p, const QPointF &centre, const QSizeF &size, const TSymbol &arrow, const QColor &colour);

template <typename TMarks>
QImage RoadMarking(TMarks marks)
{
    return Paint([&](QPainter &p) {
        DrawRoad(p);
        marks(p);
    });
}

} // namespace SignKit
