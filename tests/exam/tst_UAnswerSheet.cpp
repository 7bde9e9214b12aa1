#include <QTest>

#include "UAnswerSheet.h"

namespace {

const QSize KPanel(218, 320);
constexpr int KScrollBar = 14;

int ColumnsOf(const TAnswerSheetLayout &layout)
{
    int columns = 0;
    for (const QRect &button : layout.Buttons)
        columns += button.top() == layout.Buttons.front().top() ? 1 : 0;
    return columns;
}

} // namespace

class TestUAnswerSheet : public QObject
{
    Q_OBJECT

private slots:
    void HundredQuestionsUseEightColumns();
    void SmallestAndLargestClassicSheets();
    void LargePapersScrollWithWholeButtons_data();
    void LargePapersScrollWithWholeButtons();
    void EmptyPaperHasNoButtons();
};

void TestUAnswerSheet::HundredQuestionsUseEightColumns()
{
    const TAnswerSheetLayout layout = AnswerSheetLayout(100, KPanel, KScrollBar);
    QVERIFY(!layout.Scrolls);
    QCOMPARE(layout.ContentSize, KPanel);
    QCOMPARE(int(layout.Buttons.size()), 100);
    QCOMPARE(ColumnsOf(layout), 8);
    QCOMPARE(layout.Buttons[96], QRect(3, 276, 23, 23));
    QCOMPARE(layout.Buttons[7], QRect(7 * 23 + 3 * 8, 0, 23, 23));
    QCOMPARE(layout.Buttons[8].top(), 23);
    QCOMPARE(layout.Buttons[99].top(), 12 * 23);
}

void TestUAnswerSheet::SmallestAndLargestClassicSheets()
{
    const TAnswerSheetLayout few = AnswerSheetLayout(3, KPanel, KScrollBar);
    QCOMPARE(ColumnsOf(few), 1);
    QCOMPARE(few.Buttons[1], QRect((218 - 23) / 2, 23, 23, 23));

    // 125 questions: nine columns still fit; the fourteenth row touches the edge.
    const TAnswerSheetLayout full = AnswerSheetLayout(125, KPanel, KScrollBar);
    QVERIFY(!full.Scrolls);
    QCOMPARE(ColumnsOf(full), 9);
    QCOMPARE(full.Buttons.back().top(), 13 * 23);
    for (const QRect &button : full.Buttons)
        QVERIFY(button.right() < KPanel.width());
}

void TestUAnswerSheet::LargePapersScrollWithWholeButtons_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("first count that overlapped") << 126;
    QTest::newRow("rounded-up column count lost buttons") << 365;
    QTest::newRow("very large") << 1000;
}

void TestUAnswerSheet::LargePapersScrollWithWholeButtons()
{
    QFETCH(int, count);
    const TAnswerSheetLayout layout = AnswerSheetLayout(count, KPanel, KScrollBar);
    QVERIFY(layout.Scrolls);
    QCOMPARE(int(layout.Buttons.size()), count);
    QVERIFY(layout.ContentSize.width() <= KPanel.width() - KScrollBar);
    const QRect content(QPoint(0, 0), layout.ContentSize);
    for (size_t i = 0; i < layout.Buttons.size(); ++i) {
        const QRect &button = layout.Buttons[i];
        QCOMPARE(button.size(), QSize(23, 23));
        QVERIFY2(content.contains(button), qPrintable(QString::number(i + 1)));
        if (i > 0) {
            // Numbers run along the rows without touching their neighbours.
            const QRect &previous = layout.Buttons[i - 1];
            QVERIFY(!button.intersects(previous));
            QVERIFY(button.top() > previous.top() || button.left() > previous.right());
        }
    }
}

void TestUAnswerSheet::EmptyPaperHasNoButtons()
{
    QVERIFY(AnswerSheetLayout(0, KPanel, KScrollBar).Buttons.empty());
}

QTEST_GUILESS_MAIN(TestUAnswerSheet)
#include "tst_UAnswerSheet.moc"
