#include <QTest>

#include "UScreenFitPlan.h"

namespace {

// The screens schools and learners have, in device pixels, and the scale
// factors of their desktops.
const QList<QSize> KScreens = {QSize(1280, 800),  QSize(1280, 1024), QSize(1366, 768), QSize(1440, 900),
                               QSize(1920, 1080), QSize(2560, 1440), QSize(3840, 2160)};
const QList<qreal> KFactors = {1, 1.25, 1.5, 1.75, 2};

// The exam screen and the largest fixed-size and laid-out windows.
const QSize KExamScreen(1022, 683);
const QSize KEditor(1180, 760);
const QSize KLicenceDialog(441, 284);

// The title bar and borders, as the widget side reserves them.
const QMargins KFrame(4, 16, 4, 16);

QRect LogicalScreen(QSize device, qreal factor)
{
    return QRect(0, 0, int(device.width() / factor), int(device.height() / factor));
}

} // namespace

class TestUScreenFitPlan : public QObject
{
    Q_OBJECT

private slots:
    void everyScreenAndFactor_data();
    void everyScreenAndFactor();
    void casesOfTheRequest_data();
    void casesOfTheRequest();
    void touchingControlsStayTouching_data();
    void touchingControlsStayTouching();
    void fontsNeverOutgrowTheirControls();
    void emptyDesignOrScreenLeavesTheWindow();
};

void TestUScreenFitPlan::everyScreenAndFactor_data()
{
    QTest::addColumn<QSize>("design");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<bool>("fill");
    const QList<std::tuple<const char *, QSize, bool>> windows = {{"exam", KExamScreen, true},
                                                                  {"editor", KEditor, false},
                                                                  {"licence", KLicenceDialog, false}};
    for (const QSize &screen : KScreens) {
        for (qreal factor : KFactors) {
            for (const auto &[name, design, fill] : windows) {
                QTest::addRow("%s %dx%d@%g", name, screen.width(), screen.height(), factor)
                    << design << LogicalScreen(screen, factor) << fill;
            }
        }
    }
}

void TestUScreenFitPlan::everyScreenAndFactor()
{
    QFETCH(QSize, design);
    QFETCH(QRect, available);
    QFETCH(bool, fill);
    const TScreenFitPlan plan = PlanScreenFit(design, available, KFrame, fill ? TFitMode::Fill : TFitMode::ShrinkOnly);
    const QRect room = available.marginsRemoved(KFrame);
    const QRect &placed = plan.Geometry;

    QVERIFY2(room.contains(placed),
             qPrintable(
                 QStringLiteral("%1,%2 %3x%4").arg(placed.x()).arg(placed.y()).arg(placed.width()).arg(placed.height())));
    QCOMPARE(placed.size(), ScaledSize(design, plan.Scale));
    // Uniform: the aspect of the design is kept to the rounding of a pixel.
    QVERIFY(qAbs(placed.width() - design.width() * placed.height() / qreal(design.height())) <= 1.5);
    // Centred, to the pixel.
    QVERIFY(qAbs((placed.left() - room.left()) - (room.right() - placed.right())) <= 1);
    QVERIFY(qAbs((placed.top() - room.top()) - (room.bottom() - placed.bottom())) <= 1);

    const bool designFits = design.width() <= room.width() && design.height() <= room.height();
    if (fill) {
        // The exam screen fills the room on its tighter side.
        QVERIFY(placed.width() >= room.width() - 1 || placed.height() >= room.height() - 1);
    } else if (designFits) {
        QCOMPARE(plan.Scale, 1.0);
        QCOMPARE(placed.size(), design);
    } else {
        QVERIFY(plan.Scale < 1);
        QVERIFY(placed.width() >= room.width() - 1 || placed.height() >= room.height() - 1);
    }
}

void TestUScreenFitPlan::casesOfTheRequest_data()
{
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("expected");
    // 853 × 682 logical: the width rules, the left column stays on the screen.
    QTest::newRow("1280x1024@1.5") << LogicalScreen(QSize(1280, 1024), 1.5) << QRect(4, 58, 845, 565);
    // 960 × 540 logical: the height rules.
    QTest::newRow("1920x1080@2") << LogicalScreen(QSize(1920, 1080), 2) << QRect(100, 16, 760, 508);
    // The small island at 100 % grows to the screen's height.
    QTest::newRow("1920x1080@1") << LogicalScreen(QSize(1920, 1080), 1) << QRect(176, 16, 1568, 1048);
}

void TestUScreenFitPlan::casesOfTheRequest()
{
    QFETCH(QRect, available);
    QFETCH(QRect, expected);
    QCOMPARE(PlanScreenFit(KExamScreen, available, KFrame, TFitMode::Fill).Geometry, expected);
}

void TestUScreenFitPlan::touchingControlsStayTouching_data()
{
    QTest::addColumn<qreal>("scale");
    for (qreal scale : {0.4873, 0.5, 0.6667, 0.8255, 0.9, 1.0, 1.25, 1.4875, 1.8787, 2.0, 3.1})
        QTest::addRow("%g", scale) << scale;
}

void TestUScreenFitPlan::touchingControlsStayTouching()
{
    QFETCH(qreal, scale);
    // The exam screen's columns, and the answer bar's buttons a few pixels apart.
    const QList<QRect> row = {QRect(0, 54, 218, 629), QRect(218, 54, 804, 629)};
    QCOMPARE(ScaledRect(row[0], scale).right() + 1, ScaledRect(row[1], scale).left());
    QCOMPARE(ScaledRect(row[0], scale).bottom(), ScaledRect(row[1], scale).bottom());
    const QRect previous(532, 61, 86, 23), next(621, 61, 86, 23);
    QVERIFY(!ScaledRect(previous, scale).intersects(ScaledRect(next, scale)));
    // The window's own size is the sum of its parts.
    QCOMPARE(ScaledRect(row[1], scale).right() + 1, ScaledLength(1022, scale));
    QCOMPARE(ScaledRect(QRect(0, 0, 1022, 683), scale).size(), ScaledSize(QSize(1022, 683), scale));
}

void TestUScreenFitPlan::fontsNeverOutgrowTheirControls()
{
    QCOMPARE(ScaledFontPixels(13, 2.0), 26);
    QCOMPARE(ScaledFontPixels(13, 1.0), 13);
    QCOMPARE(ScaledFontPixels(20, 0.8255), 16);
    QCOMPARE(ScaledFontPixels(3, 0.1), 1);
    for (int pixels : {9, 12, 13, 15, 16, 20, 24, 40}) {
        for (qreal scale = 0.4; scale < 3.2; scale += 0.0137)
            QVERIFY(ScaledFontPixels(pixels, scale) <= pixels * scale + 1e-6);
    }
}

void TestUScreenFitPlan::emptyDesignOrScreenLeavesTheWindow()
{
    const TScreenFitPlan noDesign = PlanScreenFit(QSize(0, 0), QRect(0, 0, 800, 600), KFrame, TFitMode::Fill);
    QCOMPARE(noDesign.Scale, 1.0);
    QCOMPARE(noDesign.Geometry.size(), QSize(0, 0));
    const TScreenFitPlan noRoom = PlanScreenFit(KExamScreen, QRect(0, 0, 6, 6), KFrame, TFitMode::Fill);
    QCOMPARE(noRoom.Scale, 1.0);
    QCOMPARE(noRoom.Geometry.size(), KExamScreen);
}

QTEST_GUILESS_MAIN(TestUScreenFitPlan)
#include "tst_UScreenFitPlan.moc"
