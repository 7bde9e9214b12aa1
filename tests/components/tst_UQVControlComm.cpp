#include <QTest>

#include "UQVControlComm.h"

class TestUQVControlComm : public QObject
{
    Q_OBJECT

private slots:
    void GetField_data();
    void GetField();
    void MaskTextToParseText_data();
    void MaskTextToParseText();
};

void TestUQVControlComm::GetField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first field") << "a|b|c" << 0 << "a";
    QTest::newRow("last field") << "a|b|c" << 2 << "c";
    QTest::newRow("beyond the last field") << "a|b|c" << 3 << "";
    QTest::newRow("empty field between separators") << "a||c" << 1 << "";
    QTest::newRow("tabs dropped, blanks trimmed") << "x| 1\t2 |y" << 1 << "12";
    QTest::newRow("negative index") << "a|b" << -1 << "";
    QTest::newRow("long field cut to 1025") << QString(2000, QLatin1Char('z')) << 0 << QString(1025, QLatin1Char('z'));
}

void TestUQVControlComm::GetField()
{
    QFETCH(QString, text);
    QFETCH(int, index);
    QFETCH(QString, expected);
    QCOMPARE(QVGetField(text, index, QLatin1Char('|')), expected);
}

void TestUQVControlComm::MaskTextToParseText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("date") << QStringLiteral("2024年03月05日") << int(mmDate) << "2024-03-05";
    QTest::newRow("empty date") << QStringLiteral("    年  月  日") << int(mmDate) << "-  -";
    QTest::newRow("date with only the year") << QStringLiteral("2024年  月  日") << int(mmDate) << "2024-  -";
    QTest::newRow("time") << QStringLiteral("08:30") << int(mmTime) << "08:30:00";
    QTest::newRow("empty time") << QStringLiteral("  :  ") << int(mmTime) << ":  :00";
    QTest::newRow("date-time") << QStringLiteral("2024年03月05日 08:30") << int(mmDateTime) << "2024-03-05 08:30:00";
    QTest::newRow("empty date-time") << QStringLiteral("    年  月  日   :  ") << int(mmDateTime) << "-  -     :  :00";
}

void TestUQVControlComm::MaskTextToParseText()
{
    QFETCH(QString, text);
    QFETCH(int, mode);
    QFETCH(QString, trimmed);
    QCOMPARE(::MaskTextToParseText(text, mode).trimmed(), trimmed);
}

QTEST_GUILESS_MAIN(TestUQVControlComm)
#include "tst_UQVControlComm.moc"
