#include <QSet>
#include <QTest>

#include "UDriveTypes.h"

// The licence classes of the first dialog and the chapters each one practises.
class TestUDriveTypes : public QObject
{
    Q_OBJECT

private slots:
    void ChapterFilterOf_data();
    void ChapterFilterOf();
    void KeysAndCodesAreUniqueInScreenOrder();
};

void TestUDriveTypes::ChapterFilterOf_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("filter");
    const QString general = QStringLiteral("THEMECHAPTER in (1)");
    const QString safety = QStringLiteral("THEMECHAPTER in (20,21,22,23,24,25,26)");
    QTest::newRow("small car") << "001" << general;
    QTest::newRow("motorcycle") << "005" << general;
    QTest::newRow("small car, safety") << "101" << safety;
    QTest::newRow("machine, safety") << "104" << safety;
    QTest::newRow("unknown code") << "006" << QString();
    QTest::newRow("no code") << QString() << QString();
}

void TestUDriveTypes::ChapterFilterOf()
{
    QFETCH(QString, code);
    QFETCH(QString, filter);
    QCOMPARE(::ChapterFilterOf(code), filter);
}

void TestUDriveTypes::KeysAndCodesAreUniqueInScreenOrder()
{
    QSet<QString> codes;
    for (size_t i = 0; i < DriveTypes().size(); ++i) {
        const TDriveType &type = DriveTypes()[i];
        // The digit key of a class is its place on the screen.
        QCOMPARE(type.Key, QChar(char16_t(u'1' + i)));
        QVERIFY(!type.Caption.isEmpty());
        codes.insert(type.Code);
    }
    QCOMPARE(codes.size(), qsizetype(DriveTypes().size()));
}

QTEST_GUILESS_MAIN(TestUDriveTypes)
#include "tst_UDriveTypes.moc"
