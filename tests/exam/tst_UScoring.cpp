#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include "TestSupport.h"
#include "UComm.h"
#include "UDbError.h"
#include "UScoring.h"

namespace {

void AddPaperRow(TTestBank &bank, const QString &table, int examineId, int id, const QVariant &themeResult,
                 const QVariant &answer, int themeBit)
{
    QSqlQuery query(bank.Db());
    query.prepare(QStringLiteral("INSERT INTO %1 (ID, ExamineID, ThemeID, ThemeType, ThemeContent, ThemeResult, ThemeBit, "
                                 "AnswerResult) VALUES (?,?,?,2,'q',?,?,?)")
                      .arg(table));
    for (const QVariant &value :
         {QVariant(id), QVariant(examineId), QVariant(id), themeResult, QVariant(themeBit), answer})
        query.addBindValue(value);
    QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
}

} // namespace

class TestUScoring : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void NinetyRightOfAHundred();
    void RightAnswerRuleOnStoredRows();
    void PracticeModesScoreTheirOwnTable();
    void DeleteRemovesOnlyThePaper();
    void ResultSheetStatementFollowsTheMode();
    void FailingStatementIsAnError();
};

void TestUScoring::init()
{
    RunContext = TRunContext();
}

void TestUScoring::NinetyRightOfAHundred()
{
    TTestBank bank;
    for (int id = 1; id <= 100; ++id)
        AddPaperRow(bank, "T_KS_ExamineTheme", 4, id, "1", id <= 90 ? QVariant("1") : QVariant(), 1);
    AddPaperRow(bank, "T_KS_ExamineTheme", 5, 1, "1", "1", 50); // another paper
    const TPaperScore result = ScorePaper("4");
    QCOMPARE(result.Score, 90);
    QCOMPARE(result.RightCount, 90);
    QCOMPARE(result.WrongCount, 10);
}

void TestUScoring::RightAnswerRuleOnStoredRows()
{
    TTestBank bank;
    AddPaperRow(bank, "T_KS_ExamineTheme", 1, 1, "13", "13", 2);
    AddPaperRow(bank, "T_KS_ExamineTheme", 1, 2, "31", "13", 4);
    AddPaperRow(bank, "T_KS_ExamineTheme", 1, 3, " 1", "1", 8);
    AddPaperRow(bank, "T_KS_ExamineTheme", 1, 4, "ab", "AB", 16);
    AddPaperRow(bank, "T_KS_ExamineTheme", 1, 5, "", QVariant(), 32); // unanswered, empty result: right
    AddPaperRow(bank, "T_KS_ExamineTheme", 1, 6, "1", "", 64);        // cleared answer: wrong
    const TPaperScore result = ScorePaper("1");
    QCOMPARE(result.Score, 2 + 16 + 32);
    QCOMPARE(result.RightCount, 3);
    QCOMPARE(result.WrongCount, 3);
}

void TestUScoring::PracticeModesScoreTheirOwnTable()
{
    TTestBank bank;
    AddPaperRow(bank, "T_KS_ExamineTheme", 1, 1, "1", "1", 1);
    AddPaperRow(bank, "T_KS_ExamineTheme_TT", 1, 1, "1", "2", 1);
    AddPaperRow(bank, "T_KS_ExamineTheme_TT", 1, 2, "3", "3", 1);
    for (const char *mode : {"1", "2"}) {
        RunContext.PracticeMode = mode;
        const TPaperScore result = ScorePaper("1");
        QCOMPARE(result.Score, 1);
        QCOMPARE(result.RightCount, 1);
        QCOMPARE(result.WrongCount, 1);
    }
    for (const char *mode : {"", "0", "3"}) {
        RunContext.PracticeMode = mode;
        const TPaperScore result = ScorePaper("1");
        QCOMPARE(result.Score, 1);
        QCOMPARE(result.WrongCount, 0);
    }
}

void TestUScoring::DeleteRemovesOnlyThePaper()
{
    TTestBank bank;
    AddPaperRow(bank, "T_KS_ExamineTheme", 1, 1, "1", "1", 1);
    AddPaperRow(bank, "T_KS_ExamineTheme", 2, 1, "1", "1", 1);
    AddPaperRow(bank, "T_KS_ExamineTheme_TT", 2, 1, "1", "1", 1);
    QCOMPARE(DeletePaper(2), 1);
    QCOMPARE(bank.Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 1);
    QCOMPARE(bank.Scalar("select count(*) from T_KS_ExamineTheme_TT").toInt(), 1);
    RunContext.PracticeMode = "1";
    QCOMPARE(DeletePaper(2), 1);
    QCOMPARE(bank.Scalar("select count(*) from T_KS_ExamineTheme_TT").toInt(), 0);
}

void TestUScoring::ResultSheetStatementFollowsTheMode()
{
    QCOMPARE(ResultSheetSql(7),
             QStringLiteral("Select *,'' as OTZ From T_Ks_ExamineTheme where ExamineID=7 order by id"));
    RunContext.PracticeMode = "1";
    QCOMPARE(ResultSheetSql(7),
             QStringLiteral("Select *,'' as OTZ From T_Ks_ExamineTheme_TT where ExamineID=7 order by id"));
}

void TestUScoring::FailingStatementIsAnError()
{
    TTestBank bank;
    bank.Exec("DROP TABLE T_KS_ExamineTheme");
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, ScorePaper("1"));
    QCOMPARE(DeletePaper(1), -1);
}

QTEST_GUILESS_MAIN(TestUScoring)
#include "tst_UScoring.moc"
