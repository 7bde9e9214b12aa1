#include "USignPictures.h"

#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include "USignPicturesKit.h"

namespace SignKit {

namespace {

void Horn(QPainter &p, const QColor &colour)
{
    FillPolygon(p, {{-0.72, -0.11}, {-0.1, -0.11}, {0.58, -0.5}, {0.58, 0.5}, {-0.1, 0.11}, {-0.72, 0.11}}, colour);
    p.drawEllipse(QPointF(-0.74, 0), 0.1, 0.2);
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

// Blue disc in a red ring: stopping banned (cross) or long stops banned (bar).
QImage ParkingBanSign(bool cross)
{
    return Paint([&](QPainter &p) {
        const qreal inner = RedRingedDisc(p, KBlue);
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
        RedRingedDisc(p, KRed);
        p.setBrush(KWhite);
        p.drawRect(QRectF(KSignCentre.x() - KSignRadius * 0.68, KSignCentre.y() - KSignRadius * 0.16,
                          KSignRadius * 1.36, KSignRadius * 0.32));
    });
}

// Height limit: the figure between two inward-pointing wedges.
QImage HeightLimitSign(const QString &text)
{
    return ProhibitionSign(
        [text](QPainter &p, const QColor &colour) {
            TextSymbol(text, 1.6, 0.75)(p, colour);
            FillPolygon(p, {{-0.22, -0.98}, {0.22, -0.98}, {0, -0.6}}, colour);
            FillPolygon(p, {{-0.22, 0.98}, {0.22, 0.98}, {0, 0.6}}, colour);
        },
        false, 0.9);
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
        for (const auto &[x, arrow] : arrows)
            RoadArrow(p, QPointF(x, 130), QSizeF(30, 62), arrow, KWhite);
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
    case TLampFace::RightArrow: p.scale(-1, 1); [[fallthrough]];
    case TLampFace::LeftArrow: {
        QPainterPath stem;
        stem.moveTo(0.8, 0);
        stem.lineTo(-0.2, 0);
        StrokePath(p, stem, colour, 0.34);
        FillPolygon(p, {{-0.88, 0}, {-0.18, -0.5}, {-0.18, 0.5}}, colour);
        break;
    }
    case TLampFace::StraightArrow: StraightArrow(p, colour); break;
    case TLampFace::DownArrow:
        p.rotate(180);
        StraightArrow(p, colour);
        break;
    case TLampFace::Cross:
        StrokeLine(p, QLineF(-0.6, -0.6, 0.6, 0.6), colour, 0.3);
        StrokeLine(p, QLineF(-0.6, 0.6, 0.6, -0.6), colour, 0.3);
        break;
    case TLampFace::Disc: break;
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

} // namespace

QList<TPicture> ClassicPictures()
{
    return {
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
        {"must-keep-right", [] { return MandatorySign(KeepRightArrow()); }},
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
}

} // namespace SignKit

namespace {

using SignKit::TPicture;

const QList<TPicture> &Pictures()
{
    static const QList<TPicture> pictures = SignKit::ClassicPictures() + SignKit::SignPictures()
        + SignKit::MarkingPictures() + SignKit::GesturePictures() + SignKit::DashboardPictures();
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
