#include <QTest>

#include "UFrPageStrip.h"

class TestUFrPageStrip : public QObject
{
    Q_OBJECT

private slots:
    void PagesLieBelowEachOtherCentred();
    void PageAtAScrollPosition_data();
    void PageAtAScrollPosition();
    void FittingScales();
};

namespace {

// Three pages of 100 x 200 points at one pixel per point.
TfrPageStrip ThreePages()
{
    TfrPageStrip strip;
    strip.SetPageSizes({QSizeF(100, 200), QSizeF(100, 200), QSizeF(100, 200)});
    return strip;
}

} // namespace

void TestUFrPageStrip::PagesLieBelowEachOtherCentred()
{
    TfrPageStrip strip = ThreePages();
    QCOMPARE(strip.PageRect(1, 300), QRect(100, 10, 100, 200));
    QCOMPARE(strip.PageRect(3, 300), QRect(100, 430, 100, 200));
    QCOMPARE(strip.SurfaceSize(300), QSize(300, 640));
    QVERIFY(strip.PageRect(0, 300).isNull());
    QVERIFY(strip.PageRect(4, 300).isNull());

    // A view narrower than the page scrolls across: the surface keeps a gap on both sides.
    strip.SetScale(2);
    QCOMPARE(strip.SurfaceSize(100), QSize(220, 1240));
    QCOMPARE(strip.PageRect(2, 100), QRect(10, 420, 200, 400));
}

void TestUFrPageStrip::PageAtAScrollPosition_data()
{
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("page");
    QTest::newRow("above the first page") << -5 << 1;
    QTest::newRow("gap above page 1") << 5 << 1;
    QTest::newRow("last line of page 1") << 209 << 1;
    QTest::newRow("gap above page 2 belongs to it") << 210 << 2;
    QTest::newRow("inside page 3") << 500 << 3;
    QTest::newRow("below the last page") << 5000 << 3;
}

void TestUFrPageStrip::PageAtAScrollPosition()
{
    QFETCH(int, y);
    QTEST(ThreePages().PageAt(y), "page");
    QCOMPARE(TfrPageStrip().PageAt(y), 0);
}

void TestUFrPageStrip::FittingScales()
{
    TfrPageStrip strip;
    strip.SetPageSizes({QSizeF(100, 200), QSizeF(150, 100)});
    // Whole page: the largest width and height must both fit inside the gaps.
    QCOMPARE(strip.WholePageScale(QSize(320, 420)), 2.0);
    QCOMPARE(strip.WholePageScale(QSize(170, 820)), 1.0);
    QCOMPARE(strip.PageWidthScale(320), 2.0);
    QVERIFY(strip.WholePageScale(QSize(0, 0)) > 0);
    QCOMPARE(TfrPageStrip().PageWidthScale(500), 1.0);
}

QTEST_GUILESS_MAIN(TestUFrPageStrip)
#include "tst_UFrPageStrip.moc"
