#include <QTest>

#include "USqlText.h"

class TestUSqlText : public QObject
{
    Q_OBJECT

private slots:
    void TranslateTopToLimit_data();
    void TranslateTopToLimit();
    void QuoteSqlText_data();
    void QuoteSqlText();
};

void TestUSqlText::TranslateTopToLimit_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no top stays as is") << "select * from T"
                                        << "select * from T";
    QTest::newRow("simple top") << "Select top 20 * From T Order By Xh"
                                << "Select * From T Order By Xh LIMIT 20";
    QTest::newRow("upper case") << "SELECT TOP 5 A FROM T"
                                << "SELECT A FROM T LIMIT 5";
    QTest::newRow("first page over derived table") << "Select top 20 * From (SELECT XH, A FROM T) a Order By Xh"
                                                   << "Select * From (SELECT XH, A FROM T) a Order By Xh LIMIT 20";
    QTest::newRow("nested top in page boundary")
        << "Select Max(Xh) From (Select top 40 Xh From (SELECT * FROM T) a Order By Xh) a"
        << "Select Max(Xh) From (Select Xh From (SELECT * FROM T) a Order By Xh LIMIT 40) a";
    QTest::newRow("top inside a quoted text is text") << "select * from T where A='select top 3 x'"
                                                      << "select * from T where A='select top 3 x'";
    QTest::newRow("doubled quote inside text") << "Select top 2 * From T where A='it''s (top 9)'"
                                               << "Select * From T where A='it''s (top 9)' LIMIT 2";
    QTest::newRow("column named top is left") << "select top from T"
                                              << "select top from T";
    QTest::newRow("trailing blanks") << "Select top 1 * From T  "
                                     << "Select * From T LIMIT 1  ";
}

void TestUSqlText::TranslateTopToLimit()
{
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    QCOMPARE(::TranslateTopToLimit(sql), expected);
}

void TestUSqlText::QuoteSqlText_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "01"
                           << "01";
    QTest::newRow("one quote") << "O'Neil"
                               << "O''Neil";
    QTest::newRow("injection attempt") << "x' or '1'='1"
                                       << "x'' or ''1''=''1";
}

void TestUSqlText::QuoteSqlText()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(::QuoteSqlText(value), expected);
}

QTEST_GUILESS_MAIN(TestUSqlText)
#include "tst_USqlText.moc"
