#include <memory>

#include <QTest>

#include "TestSupport.h"
#include "UDbError.h"
#include "UPracticeLists.h"

// The set and chapter lists of the practice-mode dialog, read from a real bank.
class TestUPracticeLists : public QObject
{
    Q_OBJECT

private slots:
    void init() { FBank = std::make_unique<TTestBank>(); }
    void cleanup() { FBank.reset(); }
    void SetPracticeScope_data();
    void SetPracticeScope();
    void SetsOfTheFilterSortedWithoutEmptyOnes();
    void ChaptersShowNamesAndKeepNumbers();
    void FailingStatementThrows();

private:
    void AddSet(int themeId, const QVariant &tt, int chapter = 1)
    {
        FBank->AddTheme(themeId, {{QStringLiteral("TT"), tt}, {QStringLiteral("ThemeChapter"), chapter}});
    }

    std::unique_ptr<TTestBank> FBank;
};

void TestUPracticeLists::SetPracticeScope_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("scope");
    QTest::newRow("one digit") << "5"
                               << "05";
    QTest::newRow("two digits") << "12"
                                << "12";
    QTest::newRow("already padded") << "07"
                                    << "07";
}

void TestUPracticeLists::SetPracticeScope()
{
    QFETCH(QString, value);
    QFETCH(QString, scope);
    QCOMPARE(::SetPracticeScope(value), scope);
}

void TestUPracticeLists::SetsOfTheFilterSortedWithoutEmptyOnes()
{
    const QVariantList numbers{QStringLiteral("2"), QStringLiteral("12"), QStringLiteral("1"),
                               QStringLiteral("2"), QVariant(),           QStringLiteral(" ")};
    for (int i = 0; i < numbers.size(); ++i)
        AddSet(i + 1, numbers[i]);
    AddSet(int(numbers.size()) + 1, QStringLiteral("9"), 20);
    const TNameCodeList sets = ReadSetList(QStringLiteral("THEMECHAPTER in (1)"));
    // Text order, each set once; a blank number is no set.
    QCOMPARE(sets.Names, (QStringList{"1", "12", "2"}));
    QCOMPARE(sets.Codes, sets.Names);
    QCOMPARE(ReadSetList(QStringLiteral("THEMECHAPTER in (20,21)")).Codes, QStringList{"9"});
    QVERIFY(ReadSetList(QStringLiteral("THEMECHAPTER in (5)")).Names.isEmpty());
}

void TestUPracticeLists::ChaptersShowNamesAndKeepNumbers()
{
    FBank->Exec(QStringLiteral("INSERT INTO T_KS_CHAPTER VALUES (1, '道路交通安全法律法规')"));
    FBank->Exec(QStringLiteral("INSERT INTO T_KS_CHAPTER VALUES (21, '安全文明驾驶')"));
    FBank->Exec(QStringLiteral("INSERT INTO T_KS_CHAPTER VALUES (22, '文明驾驶常识')"));
    const TNameCodeList chapters = ReadChapterList(QStringLiteral("THEMECHAPTER in (21,22)"));
    QCOMPARE(chapters.Names, (QStringList{QStringLiteral("安全文明驾驶"), QStringLiteral("文明驾驶常识")}));
    QCOMPARE(chapters.Codes, (QStringList{"21", "22"}));
}

void TestUPracticeLists::FailingStatementThrows()
{
    FBank->Exec(QStringLiteral("DROP TABLE T_KS_CHAPTER"));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, ReadChapterList(QStringLiteral("THEMECHAPTER in (1)")));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, ReadSetList(QStringLiteral("NOSUCHCOLUMN in (1)")));
}

QTEST_GUILESS_MAIN(TestUPracticeLists)
#include "tst_UPracticeLists.moc"
