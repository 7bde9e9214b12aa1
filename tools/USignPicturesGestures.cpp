// The eight hand signals of a traffic police officer, drawn facing the
// driver: the officer's right arm is on the left of the picture.

#include <QPainterPath>
#include <QtMath>

#include "USignPictures.h"
#include "USignPicturesKit.h"

namespace SignKit {

namespace {

const QColor KUniform(0x2a, 0x3a, 0x5c);
const QColor KVest(0xc6, 0xe4, 0x1c);
const QColor KSkin(0xf0, 0xc8, 0xa0);
const QColor KGlove(0xff, 0xff, 0xff);
const QColor KSwing(0xd2, 0x1f, 0x26);

// Shoulders seen from the front: the officer's right, then left.
const QPointF KRightShoulder(137, 90);
const QPointF KLeftShoulder(183, 90);
constexpr qreal KArmLength = 66;
constexpr qreal KArmWidth = 13;

QPointF Along(const QPointF &from, qreal degrees, qreal length)
{
    const qreal radians = qDegreesToRadians(degrees);
    return from + QPointF(qCos(radians), qSin(radians)) * length;
}

void Glove(QPainter &p, const QPointF &centre, qreal radius)
{
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
    p.setBrush(KGlove);
    p.drawEllipse(centre, radius, radius);
}

// A straight arm at an angle on the picture (0 = to the right, 90 = down);
// a shorter length shows an arm slanting towards the driver.
QPointF StraightArm(QPainter &p, const QPointF &shoulder, qreal degrees, qreal lengthFactor = 1.0)
{
    const QPointF hand = Along(shoulder, degrees, KArmLength * lengthFactor);
    p.setPen(QPen(KUniform, KArmWidth, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(shoulder, hand);
    Glove(p, hand, 8);
    return hand;
}

// An arm held straight out towards the driver: only the sleeve end and a
// large open palm show in front of the shoulder.
QPointF ForwardArm(QPainter &p, const QPointF &shoulder, qreal sideways, qreal drop = 6)
{
    const QPointF hand = shoulder + QPointF(sideways, drop);
    p.setPen(QPen(KUniform, KArmWidth + 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(shoulder, hand);
    FillCircle(p, hand, 10, KUniform.darker(130));
    Glove(p, hand, 11);
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1.2));
    for (int finger = -1; finger <= 2; ++finger)
        p.drawLine(hand + QPointF(finger * 4 - 2, -3), hand + QPointF(finger * 4 - 2, -10));
    return hand;
}

// A red arrow along path showing how the arm swings.
void SwingArrow(QPainter &p, const QPainterPath &path)
{
    StrokePath(p, path, KSwing, 3);
    const qreal end = path.percentAtLength(path.length());
    const QPointF tip = path.pointAtPercent(end);
    const qreal angle = qDegreesToRadians(-path.angleAtPercent(end));
    const QPointF along(qCos(angle), qSin(angle));
    const QPointF across(-along.y(), along.x());
    FillPolygon(p, {tip + along * 8, tip - along * 4 + across * 6, tip - along * 4 - across * 6}, KSwing);
}

QPainterPath Curve(const QPointF &from, const QPointF &control, const QPointF &to)
{
    QPainterPath path;
    path.moveTo(from);
    path.quadTo(control, to);
    return path;
}

// The officer from the thighs up, in uniform, reflective vest and white cap.
void Officer(QPainter &p)
{
    p.fillRect(QRectF(0, 196, KSignPictureWidth, 28), KAsphalt);
    p.setPen(Qt::NoPen);
    p.setBrush(KUniform);
    p.drawRect(QRectF(140, 150, 18, 60));
    p.drawRect(QRectF(162, 150, 18, 60));
    p.drawRoundedRect(QRectF(130, 82, 60, 74), 12, 12);
    FillPolygon(p, {{134, 90}, {186, 90}, {184, 152}, {136, 152}}, KVest);
    p.fillRect(QRectF(136, 122, 48, 5), QColor(0xd8, 0xd8, 0xd8));
    p.fillRect(QRectF(136, 136, 48, 5), QColor(0xd8, 0xd8, 0xd8));
    FillPolygon(p, {{152, 84}, {168, 84}, {160, 100}}, QColor(0xe8, 0xee, 0xf4));
    p.fillRect(QRectF(154, 74, 12, 12), KSkin);
    FillCircle(p, QPointF(160, 60), 14, KSkin);
    p.setBrush(KWhite);
    p.setPen(QPen(QColor(0xa0, 0xa0, 0xa0), 1));
    p.drawRoundedRect(QRectF(142, 38, 36, 14), 6, 6);
    FillPolygon(p, {{145, 52}, {175, 52}, {178, 57}, {142, 57}}, KBlack);
    FillCircle(p, QPointF(160, 45), 4, KYellow);
    FillCircle(p, QPointF(155, 62), 1.6, KBlack);
    FillCircle(p, QPointF(165, 62), 1.6, KBlack);
}

// One gesture: the arms are drawn over the officer, mirrored for the
// signals that are the left-right twin of another.
template <typename TArms>
QImage Gesture(TArms arms, bool mirrored = false)
{
    return Paint([&](QPainter &p) {
        DrawSky(p);
        if (mirrored) {
            p.translate(KSignPictureWidth, 0);
            p.scale(-1, 1);
        }
        Officer(p);
        arms(p);
    });
}

void RightArmDown(QPainter &p)
{
    StrokeLine(p, QLineF(KRightShoulder, Along(KRightShoulder, 100, 60)), KUniform, KArmWidth);
    Glove(p, Along(KRightShoulder, 100, 62), 7);
}

void LeftArmDown(QPainter &p)
{
    StrokeLine(p, QLineF(KLeftShoulder, Along(KLeftShoulder, 80, 60)), KUniform, KArmWidth);
    Glove(p, Along(KLeftShoulder, 80, 62), 7);
}

// Left arm raised high in front, palm to the traffic.
void StopArms(QPainter &p)
{
    RightArmDown(p);
    StraightArm(p, KLeftShoulder, -78);
}

// Both arms out to the sides; the right one then swings round to the front.
void StraightOnArms(QPainter &p)
{
    const QPointF right = StraightArm(p, KRightShoulder, 180);
    StraightArm(p, KLeftShoulder, 0);
    SwingArrow(p, Curve(right + QPointF(0, 16), right + QPointF(26, 40), QPointF(128, 112)));
}

// Right arm out in front, left arm swinging across to the right front.
void LeftTurnArms(QPainter &p)
{
    ForwardArm(p, KRightShoulder, -24, 2);
    const QPointF left = StraightArm(p, KLeftShoulder, 148, 0.9);
    SwingArrow(p, Curve(QPointF(214, 140), QPointF(170, 170), left + QPointF(-4, 22)));
}

// Left arm down and out at 45°, palm down, beating downwards.
void LeftTurnWaitArms(QPainter &p)
{
    RightArmDown(p);
    const QPointF hand = StraightArm(p, KLeftShoulder, 45);
    SwingArrow(p, Curve(hand + QPointF(18, -26), hand + QPointF(30, -6), hand + QPointF(20, 16)));
}

// Right arm out in front, palm to the left, swinging across to the left.
void ChangeLaneArms(QPainter &p)
{
    LeftArmDown(p);
    const QPointF hand = ForwardArm(p, KRightShoulder, -10);
    SwingArrow(p, Curve(hand + QPointF(16, 4), QPointF(170, hand.y() - 6), QPointF(206, hand.y() + 8)));
}

// Right arm out to the right front at shoulder height, palm down, beating downwards.
void SlowDownArms(QPainter &p)
{
    LeftArmDown(p);
    const QPointF hand = StraightArm(p, KRightShoulder, 185, 0.8);
    SwingArrow(p, Curve(hand + QPointF(-16, -20), hand + QPointF(-28, 0), hand + QPointF(-16, 22)));
}

// Left arm raised high, right arm forward and down, waving the car to the side.
void PullOverArms(QPainter &p)
{
    StraightArm(p, KLeftShoulder, -78);
    const QPointF hand = ForwardArm(p, KRightShoulder, -6, 30);
    SwingArrow(p, Curve(hand + QPointF(-4, 20), hand + QPointF(30, 34), QPointF(196, hand.y() + 22)));
}

} // namespace

QList<TPicture> GesturePictures()
{
    return {
        {"gesture-stop", [] { return Gesture(StopArms); }},
        {"gesture-straight", [] { return Gesture(StraightOnArms); }},
        {"gesture-left-turn", [] { return Gesture(LeftTurnArms); }},
        {"gesture-left-turn-wait", [] { return Gesture(LeftTurnWaitArms); }},
        {"gesture-right-turn", [] { return Gesture(LeftTurnArms, true); }},
        {"gesture-change-lane", [] { return Gesture(ChangeLaneArms); }},
        {"gesture-slow-down", [] { return Gesture(SlowDownArms); }},
        {"gesture-pull-over", [] { return Gesture(PullOverArms); }},
    };
}

} // namespace SignKit
