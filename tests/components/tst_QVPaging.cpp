#include <QTest>

#include "QVPaging.h"

// The statements and page arithmetic of the paging bar, without the bar.
class TestQVPaging : public QObject
{
    Q_OBJECT

private slots:
    void Statements_data();
    void Statements();
    void PageCountAndInfo_data();
    void PageCountAndInfo();
};

void TestQVPaging::Statements_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");
    const QString b = QStringLiteral("SELECT * FROM T");
    QTest::newRow("count") << QVPageSql::Count(b) << "Select Count(*) From (SELECT * FROM T) a";
    QTest::newRow("count up to a row") << QVPageSql::CountUpTo(b, 66)
                                       << "Select Count(*) From (SELECT * FROM T) a Where Xh<=66";
    QTest::newRow("first") << QVPageSql::FirstPage(20, b) << "Select top 20 * From (SELECT * FROM T) a Order By Xh";
    QTest::newRow("next") << QVPageSql::NextPage(20, b, 60)
                          << "Select top 20 * From (SELECT * FROM T) a Where Xh>60 Order By Xh";
    QTest::newRow("prior") << QVPageSql::PriorPage(20, b, 63)
                           << "Select top 20 * From (SELECT * FROM T) a Where Xh<63 Order By Xh Desc";
    QTest::newRow("last of 45") << QVPageSql::LastPage(45, 20, b)
                                << "Select top 5 * From (SELECT * FROM T) a Order By Xh Desc";
    QTest::newRow("last of 40") << QVPageSql::LastPage(40, 20, b)
                                << "Select top 20 * From (SELECT * FROM T) a Order By Xh Desc";
    QTest::newRow("boundary of page 3") << QVPageSql::PageBoundary(3, 20, b)
                                        << "Select Max(Xh) From (Select top 40 Xh From (SELECT * FROM T) a Order By Xh) a";
    QTest::newRow("rows above a boundary") << QVPageSql::PageRows(20, b, QStringLiteral("120"))
                                           << "Select top 20 * From (SELECT * FROM T) a Where Xh>120 Order By Xh";
}

void TestQVPaging::Statements()
{
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

void TestQVPaging::PageCountAndInfo_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("perPage");
    QTest::addColumn<int>("pages");
    QTest::addRow("45 by 20") << 45 << 20 << 3;
    QTest::addRow("40 by 20") << 40 << 20 << 2;
    QTest::addRow("none") << 0 << 20 << 0;
    QTest::addRow("one short page") << 1 << 20 << 1;
    QTest::addRow("one per page") << 7 << 1 << 7;
}

void TestQVPaging::PageCountAndInfo()
{
    QFETCH(int, records);
    QFETCH(int, perPage);
    QFETCH(int, pages);
    QCOMPARE(PageCountOf(records, perPage), pages);
    QCOMPARE(PageInfoText(45, 20, 3, 2),
             QStringLiteral("共有     45 条记录，每页     20 条，\n共分      3 页，当前为第      2 页。"));
    // A longer number is not cut.
    QVERIFY(PageInfoText(123456789, 20, 6172840, 1).startsWith(QStringLiteral("共有123456789 条记录")));
}

QTEST_GUILESS_MAIN(TestQVPaging)
#include "tst_QVPaging.moc"
