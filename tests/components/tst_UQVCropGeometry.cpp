#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "UError.h"
#include "UQVCropGeometry.h"

class TestUQVCropGeometry : public QObject
{
    Q_OBJECT

private slots:
    void RoundHalfEven_data();
    void RoundHalfEven();
    void SpinRules_data();
    void SpinRules();
    void Clamp_data();
    void Clamp();
    void ClampLeavesFrameWhenOutsideAllowedOrNoPicture();
    void FitBigPictureSize_data();
    void FitBigPictureSize();
    void CompressedCutSize_data();
    void CompressedCutSize();
    void CloseButtonRect_data();
    void CloseButtonRect();
    void CutPictureFillsOutsideWithBlack();
    void SettingsRoundTripInKeyOrder();
    void SettingsDefaultsOfMissingKeys();
    void SettingsOfMissingFile();
    void UnwritableSettingsThrowOurError();
    void CursorAt_data();
    void CursorAt();
    void DragMovesAndResizes();
    void CentreOnTruncatesAndKeepsFrameOnPicture();
};

void TestUQVCropGeometry::RoundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("half down to even") << 2.5 << 2;
    QTest::newRow("half up to even") << 3.5 << 4;
    QTest::newRow("quarter") << 201.25 << 201;
    QTest::newRow("large half") << 202.5 << 202;
    QTest::newRow("above half") << 160.8 << 161;
    QTest::newRow("negative half") << -0.5 << 0;
}

void TestUQVCropGeometry::RoundHalfEven()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(::RoundHalfEven(value), expected);
}

void TestUQVCropGeometry::SpinRules_data()
{
    QTest::addColumn<bool>("keepRatio");
    QTest::addColumn<bool>("heightSpin");
    QTest::addColumn<int>("value");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("height 200 gives width 160") << true << true << 200 << QSize(160, 200);
    QTest::newRow("width 161 gives height 201") << true << false << 161 << QSize(161, 201);
    QTest::newRow("width 162 gives height 202 (half to even)") << true << false << 162 << QSize(162, 202);
    QTest::newRow("height 203 settles on 202 through the width") << true << true << 203 << QSize(162, 202);
    QTest::newRow("free width") << false << false << 300 << QSize(300, 100);
    QTest::newRow("free height") << false << true << 300 << QSize(80, 300);
    QTest::newRow("above the spin range") << false << true << 5000 << QSize(80, 2000);
    QTest::newRow("below the spin range") << false << false << 0 << QSize(1, 100);
}

void TestUQVCropGeometry::SpinRules()
{
    QFETCH(bool, keepRatio);
    QFETCH(bool, heightSpin);
    QFETCH(int, value);
    QFETCH(QSize, expected);
    TQVCropModel model(keepRatio);
    // Start away from the defaults so that every value is a change.
    model.ChangeHeightSpin(100);
    model.ChangeWidthSpin(80);
    if (heightSpin)
        model.ChangeHeightSpin(value);
    else
        model.ChangeWidthSpin(value);
    QCOMPARE(QSize(model.WidthSpin(), model.HeightSpin()), expected);
    QCOMPARE(model.Frame().size(), expected);
}

void TestUQVCropGeometry::Clamp_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<bool>("keepRatio");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QRect>("expected");
    const QRect standard(0, 0, 160, 200);
    QTest::newRow("opening, small picture, ratio kept")
        << QSize(100, 100) << standard << true << false << QRect(0, 0, 80, 100);
    QTest::newRow("open, small picture, ratio kept")
        << QSize(100, 100) << standard << true << true << QRect(0, 0, 100, 100);
    QTest::newRow("opening, small picture, free ratio")
        << QSize(100, 100) << standard << false << false << QRect(0, 0, 100, 100);
    QTest::newRow("opening, tall picture, ratio kept")
        << QSize(100, 400) << standard << true << false << QRect(0, 0, 100, 125);
    QTest::newRow("opening, wide low picture, ratio kept")
        << QSize(400, 100) << standard << true << false << QRect(0, 0, 80, 100);
    QTest::newRow("frame beyond right and bottom moves in")
        << QSize(1000, 1000) << QRect(900, 900, 160, 200) << true << true << QRect(840, 800, 160, 200);
    QTest::newRow("frame before left and top moves in")
        << QSize(1000, 1000) << QRect(-20, -5, 160, 200) << false << true << QRect(0, 0, 160, 200);
    QTest::newRow("only the high side is cut")
        << QSize(500, 150) << QRect(30, 40, 160, 200) << false << true << QRect(30, 0, 160, 150);
    QTest::newRow("high frame off the right edge moves in")
        << QSize(500, 150) << QRect(400, 40, 160, 200) << false << true << QRect(340, 0, 160, 150);
}

void TestUQVCropGeometry::Clamp()
{
    QFETCH(QSize, picture);
    QFETCH(QRect, frame);
    QFETCH(bool, keepRatio);
    QFETCH(bool, shown);
    QFETCH(QRect, expected);
    TQVCropModel model(keepRatio);
    model.SetPicture(picture);
    model.MoveFrameInWorkArea(frame.topLeft());
    model.SetShown(shown);
    model.Clamp();
    QCOMPARE(model.Frame(), expected);
    QCOMPARE(QSize(model.WidthSpin(), model.HeightSpin()), expected.size());
}

void TestUQVCropGeometry::ClampLeavesFrameWhenOutsideAllowedOrNoPicture()
{
    TQVCropModel model(true);
    model.MoveFrameInWorkArea({500, 500});
    model.Clamp();
    QCOMPARE(model.Frame(), QRect(500, 500, 160, 200));

    model.SetPicture({100, 100});
    model.SetAllowOutside(true);
    model.Clamp();
    QCOMPARE(model.Frame(), QRect(500, 500, 160, 200));

    // Scrolled work area: the frame's place is kept in picture coordinates.
    model.SetAllowOutside(false);
    model.SetShown(true);
    model.SetScroll({30, 40});
    model.Clamp();
    QCOMPARE(model.Frame(), QRect(30, 40, 100, 100));
    QCOMPARE(model.FrameInWorkArea(), QPoint(0, 0));
}

void TestUQVCropGeometry::FitBigPictureSize_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("expected");
    // Work area 810 x 610: 800 x 600 after the margin.
    QTest::newRow("fits") << QSize(800, 600) << QSize(800, 600);
    QTest::newRow("wide") << QSize(2000, 1000) << QSize(800, 400);
    QTest::newRow("tall") << QSize(1000, 2000) << QSize(300, 600);
    QTest::newRow("one pixel too high") << QSize(400, 601) << QSize(399, 600);
    QTest::newRow("same shape as the area") << QSize(1600, 1200) << QSize(800, 600);
}

void TestUQVCropGeometry::FitBigPictureSize()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, expected);
    QCOMPARE(::FitBigPictureSize(picture, {810, 610}), expected);
}

void TestUQVCropGeometry::CompressedCutSize_data()
{
    QTest::addColumn<QSize>("cut");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("300 x 375") << QSize(300, 375) << QSize(240, 300);
    QTest::newRow("200 x 250 unchanged") << QSize(200, 250) << QSize(200, 250);
    QTest::newRow("exactly 240 unchanged") << QSize(240, 500) << QSize(240, 500);
    QTest::newRow("241 x 100 rounds") << QSize(241, 100) << QSize(240, 100);
}

void TestUQVCropGeometry::CompressedCutSize()
{
    QFETCH(QSize, cut);
    QFETCH(QSize, expected);
    QCOMPARE(::CompressedCutSize(cut), expected);
}

void TestUQVCropGeometry::CloseButtonRect_data()
{
    QTest::addColumn<QSize>("panel");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("divisible") << QSize(300, 41) << QRect(100, 2, 100, 37);
    QTest::newRow("left rounds half to even") << QSize(1000, 41) << QRect(334, 2, 333, 37);
    QTest::newRow("width rounds up, left half to even") << QSize(1280, 50) << QRect(426, 2, 427, 46);
}

void TestUQVCropGeometry::CloseButtonRect()
{
    QFETCH(QSize, panel);
    QFETCH(QRect, expected);
    QCOMPARE(::CloseButtonRect(panel), expected);
}

void TestUQVCropGeometry::CutPictureFillsOutsideWithBlack()
{
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.setPixel(9, 9, qRgb(0, 0, 255));
    const QImage cut = CutPicture(picture, {8, 8, 4, 3});
    QCOMPARE(cut.size(), QSize(4, 3));
    QCOMPARE(QColor(cut.pixel(0, 0)), QColor(Qt::red));
    QCOMPARE(QColor(cut.pixel(1, 1)), QColor(Qt::blue));
    QCOMPARE(QColor(cut.pixel(3, 2)), QColor(Qt::black));
    QVERIFY(CutPicture(QImage(), {0, 0, 4, 4}).isNull());
}

void TestUQVCropGeometry::SettingsRoundTripInKeyOrder()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("ImgConfig.Cfg"));
    TCropSettings settings;
    settings.CutWidth = 120;
    settings.CutHeight = 150;
    settings.CutLeft = -4;
    settings.CutTop = 7;
    settings.CheckZip = false;
    settings.CheckImgPos = true;
    WriteCropSettings(fileName, QStringLiteral("TFrmEditor-ImgTheme"), settings);
    settings.CutWidth = 90;
    WriteCropSettings(fileName, QStringLiteral("Other-Image"), settings);

    const std::optional<TCropSettings> read = ReadCropSettings(fileName, QStringLiteral("tfrmeditor-imgtheme"));
    QVERIFY(read.has_value());
    QCOMPARE(read->CutWidth, std::optional<int>(120));
    QCOMPARE(read->CutHeight, std::optional<int>(150));
    QCOMPARE(read->CutLeft, std::optional<int>(-4));
    QCOMPARE(read->CutTop, std::optional<int>(7));
    QCOMPARE(read->CheckZip, false);
    QCOMPARE(read->CheckImgPos, true);

    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    const QStringList keys{"CutWidth", "CutHeight", "CutLeft", "CutTop", "CheckZip", "CheckImgPos"};
    int last = -1;
    for (const QString &key : keys) {
        const int at = text.indexOf(key + QLatin1Char('='));
        QVERIFY2(at > last, qPrintable(key));
        last = at;
    }
}

void TestUQVCropGeometry::SettingsDefaultsOfMissingKeys()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("ImgConfig.Cfg"));
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[F-Img]\nCutWidth=abc\nCutHeight=\nCheckImgPos=yes\n");
    file.close();
    const std::optional<TCropSettings> read = ReadCropSettings(fileName, QStringLiteral("F-Img"));
    QVERIFY(read.has_value());
    QVERIFY(!read->CutWidth.has_value());
    QVERIFY(!read->CutHeight.has_value());
    QVERIFY(!read->CutLeft.has_value());
    QCOMPARE(read->CheckZip, true);
    QCOMPARE(read->CheckImgPos, false);
}

void TestUQVCropGeometry::SettingsOfMissingFile()
{
    QTemporaryDir dir;
    QVERIFY(!ReadCropSettings(dir.filePath(QStringLiteral("ImgConfig.Cfg")), QStringLiteral("F-Img")).has_value());
}

void TestUQVCropGeometry::UnwritableSettingsThrowOurError()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("missing/ImgConfig.Cfg"));
    try {
        WriteCropSettings(fileName, QStringLiteral("F-Img"), TCropSettings());
        QFAIL("a file in a missing folder was written");
    } catch (const EExamoraError &error) {
        // The dialog shows this text: the reason of the file system.
        QVERIFY(!error.Message().isEmpty());
    }
    QVERIFY(!QFile::exists(fileName));
}

void TestUQVCropGeometry::CursorAt_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("expected");
    QTest::newRow("middle") << QPoint(80, 100) << int(TCropCursor::Normal);
    QTest::newRow("five from the right edge") << QPoint(155, 10) << int(TCropCursor::Normal);
    QTest::newRow("within five of the right edge") << QPoint(156, 10) << int(TCropCursor::SizeWE);
    QTest::newRow("within five of the bottom") << QPoint(10, 196) << int(TCropCursor::SizeNS);
    QTest::newRow("corner prefers the width") << QPoint(158, 198) << int(TCropCursor::SizeWE);
}

void TestUQVCropGeometry::CursorAt()
{
    QFETCH(QPoint, point);
    QFETCH(int, expected);
    QCOMPARE(int(TQVCropModel().CursorAt(point)), expected);
}

void TestUQVCropGeometry::DragMovesAndResizes()
{
    TQVCropModel model(true);
    model.SetPicture({1000, 800});
    model.SetShown(true);
    model.Press({10, 10});
    model.DragTo({40, 30}, TCropCursor::Normal);
    QCOMPARE(model.Frame(), QRect(30, 20, 160, 200));
    // Dragged far past the picture: held inside it.
    model.Press({10, 10});
    model.DragTo({2000, 10}, TCropCursor::Normal);
    QCOMPARE(model.Frame().topLeft(), QPoint(840, 20));

    model.Press({158, 100});
    model.DragTo({198, 100}, TCropCursor::SizeWE);
    QCOMPARE(model.Frame().size(), QSize(200, 250));
    model.Press({100, 248});
    model.DragTo({100, 208}, TCropCursor::SizeNS);
    QCOMPARE(model.Frame().size(), QSize(168, 210));
}

void TestUQVCropGeometry::CentreOnTruncatesAndKeepsFrameOnPicture()
{
    TQVCropModel model(false);
    model.ChangeWidthSpin(101);
    model.SetPicture({1000, 1000});
    model.SetScroll({20, 0});
    model.CentreOn({300, 400});
    // 300 - 50.5 - 20 = 229.5 in the work area, truncated to 229.
    QCOMPARE(model.FrameInWorkArea(), QPoint(229, 300));
    QCOMPARE(model.Frame().topLeft(), QPoint(249, 300));
    model.CentreOn({5, 5});
    QCOMPARE(model.Frame().topLeft(), QPoint(0, 0));
}

QTEST_GUILESS_MAIN(TestUQVCropGeometry)

#include "tst_UQVCropGeometry.moc"
