#include <QSqlQuery>
#include <QTest>

#include "QueryTestBank.h"
#include "TestSupport.h"
#include "UComm.h"
#include "UDbError.h"
#include "UQuery.h"

// Rows read lazily from SQLite, and the plain path every other case takes,
// on a real SQLite file of the bank's schema.
class TestUSqliteRowLoader : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void LazyRowsComeInTheOrderOfTheStatement_data();
    void LazyRowsComeInTheOrderOfTheStatement();
    void LazyRowReadsEveryColumnAsTheEngineHasIt();
    void LazyRowsAreEditedDeletedAndLocated();
    void RowDeletedBeforeItWasReadFailsClearly();
    void FetchAllKeepsRowsReadableAfterTheyAreDeleted();
    void PlainPathReadsWholeRowsAtOpen_data();
    void PlainPathReadsWholeRowsAtOpen();

private:
    std::unique_ptr<TTestBank> FBank;
};

void TestUSqliteRowLoader::init()
{
    FBank = MakeQueryTestBank();
}

void TestUSqliteRowLoader::cleanup()
{
    FBank.reset();
}

// Rows read lazily must come in the order the statement gives them, also
// where only the rowids would come faster, in another order, from an index.
void TestUSqliteRowLoader::LazyRowsComeInTheOrderOfTheStatement_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("whole table") << "Select * From T_Ks_Theme";
    QTest::newRow("condition on an index") << "select * from T_KS_THEME where TT>='0'";
    QTest::newRow("condition on the draw index")
        << "Select * From T_Ks_Theme Where ZT=1 and ThemePart=1 And ThemeChapter=1 And ThemeType=2";
    QTest::newRow("order by an indexed column") << "select * from T_KS_THEME order by TT desc";
    QTest::newRow("limit") << "select * from T_KS_THEME limit 3 offset 1";
    QTest::newRow("paper") << "Select * From T_Ks_ExamineTheme Where ExamineID=1 Order By ID";
}

void TestUSqliteRowLoader::LazyRowsComeInTheOrderOfTheStatement()
{
    QFETCH(QString, sql);
    // Set numbers run against the question numbers, so their index holds
    // the questions in the reverse order.
    FBank->Exec("BEGIN");
    for (int id = 11; id <= 30; ++id)
        FBank->AddTheme(id, {{"TT", QStringLiteral("%1").arg(50 - id)}});
    StorePaper(*FBank, "T_KS_ExamineTheme", 1, {30, 11, 20, 12});
    FBank->Exec("COMMIT");
    QSqlQuery direct(FBank->Db());
    QVERIFY(direct.exec(sql));
    QStringList expected;
    while (direct.next())
        expected << direct.value(QStringLiteral("ThemeID")).toString();
    direct.finish();

    TQuery query;
    QVERIFY(OpenQuery(&query, sql));
    QStringList read;
    for (query.First(); !query.Eof(); query.Next())
        read << query.FieldByName("ThemeID")->AsString();
    QVERIFY(expected.size() > 2);
    QCOMPARE(read, expected);
}

void TestUSqliteRowLoader::LazyRowReadsEveryColumnAsTheEngineHasIt()
{
    const QByteArray picture(5000, '\x11');
    FBank->AddTheme(5, {{"ThemeContent", "五"}, {"ThemeImage", picture}, {"ThemeSpareF", QVariant()}, {"TT", "03"}});
    TQuery bank;
    QVERIFY(OpenQuery(&bank, "Select * From T_Ks_Theme"));
    QCOMPARE(bank.FieldNames().first(), QString("ThemeID"));
    QCOMPARE(bank.FieldCount(), 15);
    QVERIFY(bank.Locate("ThemeID", 5));
    QCOMPARE(bank.FieldByName("themecontent")->AsString(), QString("五"));
    QCOMPARE(bank.FieldByName("ThemeImage")->AsBytes(), picture);
    QVERIFY(bank.FieldByName("ThemeSpareF")->IsNull());
    QCOMPARE(bank.FieldByName("ThemeChapter")->AsInteger(), 1);
    QCOMPARE(bank.FieldByName("TT")->DisplayText(), QString("03"));
    // A grid reads rows without moving: values, not placeholders.
    const int image = bank.FieldByName("ThemeImage")->Index();
    QCOMPARE(bank.RowValue(bank.RecNo() - 1, image).toByteArray(), picture);
    QVERIFY(bank.RowValue(0, image).isNull());
    QCOMPARE(bank.RowValue(2, bank.FieldByName("ThemeResult")->Index()).toString(), QString("134"));
}

void TestUSqliteRowLoader::LazyRowsAreEditedDeletedAndLocated()
{
    StorePaper(*FBank, "T_KS_ExamineTheme", 1, {1, 2, 3, 4});
    TQuery paper;
    QVERIFY(OpenQuery(&paper, "Select * From T_Ks_ExamineTheme Where ExamineID=1 Order By ID"));
    // A column that is not a key: the rows are read one by one to find it.
    QVERIFY(paper.Locate("ThemeResult", "134"));
    QCOMPARE(paper.FieldByName("ID")->AsInteger(), 3);
    paper.Edit();
    QCOMPARE(paper.FieldByName("ThemeType")->AsInteger(), 3);
    paper.FieldByName("AnswerResult")->SetAsString("13");
    paper.Post();
    QCOMPARE(FBank->Scalar("select AnswerResult from T_KS_ExamineTheme where ID=3").toString(), QString("13"));
    paper.Last();
    paper.Delete();
    QCOMPARE(FBank->Scalar("select group_concat(ID) from T_KS_ExamineTheme").toString(), QString("1,2,3"));
    QCOMPARE(paper.RecordCount(), 3);
    QCOMPARE(paper.FieldByName("AnswerResult")->AsString(), QString("13"));
    paper.SortBy("ThemeContent", false);
    QCOMPARE(paper.FieldByName("ID")->AsInteger(), 3);
    QVERIFY(!paper.Locate("ThemeResult", "4"));
}

void TestUSqliteRowLoader::RowDeletedBeforeItWasReadFailsClearly()
{
    StorePaper(*FBank, "T_KS_ExamineTheme", 1, {1, 2, 3});
    TQuery paper, whole;
    QVERIFY(OpenQuery(&paper, "Select * From T_Ks_ExamineTheme Where ExamineID=1 Order By ID"));
    QVERIFY(OpenQuery(&whole, "Select * From T_Ks_ExamineTheme Where ExamineID=1 Order By ID"));
    FBank->Exec("delete from T_KS_ExamineTheme where ID=2");
    // The last row's rowid is taken again by another paper's row: its key
    // differs, so it is not read as the deleted one.
    FBank->Exec("delete from T_KS_ExamineTheme where ID=3");
    StorePaper(*FBank, "T_KS_ExamineTheme", 2, {4});
    paper.Next();
    QCOMPARE(paper.FieldByName("ID")->AsInteger(), 2); // a key column: in memory
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, paper.FieldByName("ThemeContent")->AsString());
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, paper.Edit());
    QCOMPARE(paper.State(), TQuery::dsBrowse);
    paper.Next();
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, paper.FieldByName("ThemeID")->AsString());
    paper.First();
    QCOMPARE(paper.FieldByName("ThemeID")->AsInteger(), 1);
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, whole.FetchAll());
    QVERIFY(OpenQuery(&whole, "Select * From T_Ks_ExamineTheme Where ExamineID=2"));
    FBank->Exec("delete from T_KS_ExamineTheme where ExamineID=2");
    StorePaper(*FBank, "T_KS_ExamineTheme", 3, {1});
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, whole.FetchAll());
}

void TestUSqliteRowLoader::FetchAllKeepsRowsReadableAfterTheyAreDeleted()
{
    const QByteArray picture(3000, '\x22');
    FBank->AddTheme(9, {{"ThemeImage", picture}});
    StorePaper(*FBank, "T_KS_ExamineTheme", 1, {1, 9});
    FBank->Exec(
        "update T_KS_ExamineTheme set ThemeImage=(select ThemeImage from T_KS_THEME where ThemeID=9) where ThemeID=9");
    TQuery paper;
    QVERIFY(OpenQuery(&paper, "Select * From T_Ks_ExamineTheme Where ExamineID=1 Order By ID"));
    paper.FetchAll();
    QCOMPARE(ExecSql("Delete from T_KS_EXAMINETHEME where ExamineID=1"), 2);
    paper.Last();
    QCOMPARE(paper.FieldByName("ThemeID")->AsInteger(), 9);
    QCOMPARE(paper.FieldByName("ThemeImage")->AsBytes(), picture);
    QCOMPARE(paper.FieldByName("ThemeResult")->AsString(), QString("1"));
}

// Where the loader does not apply, rows are whole from the start: a paper
// deleted after the open is still read, and edits are still written.
void TestUSqliteRowLoader::PlainPathReadsWholeRowsAtOpen_data()
{
    QTest::addColumn<bool>("lazy");
    QTest::addColumn<QString>("sql");
    const QString paper = QStringLiteral("Select * From T_Ks_ExamineTheme Where ExamineID=1 Order By ID");
    QTest::newRow("loader switched off") << false << paper;
    QTest::newRow("table in brackets") << true << "Select * From [T_Ks_ExamineTheme] Where ExamineID=1 Order By ID";
    QTest::newRow("computed column") << true << "Select *, 1 as One From T_Ks_ExamineTheme Where ExamineID=1 Order By ID";
    QTest::newRow("join")
        << true
        << "Select e.* From T_Ks_ExamineTheme e join T_KS_THEME t on t.ThemeID=e.ThemeID Where ExamineID=1 Order By ID";
}

void TestUSqliteRowLoader::PlainPathReadsWholeRowsAtOpen()
{
    QFETCH(bool, lazy);
    QFETCH(QString, sql);
    StorePaper(*FBank, "T_KS_ExamineTheme", 1, {1, 3});
    TQuery paper;
    paper.SetLazyRows(lazy);
    QVERIFY(OpenQuery(&paper, sql));
    QCOMPARE(ExecSql("Delete from T_KS_EXAMINETHEME where ExamineID=1"), 2);
    paper.Last();
    QCOMPARE(paper.FieldByName("ThemeResult")->AsString(), QString("134"));
    QCOMPARE(paper.FieldByName("ThemeType")->AsInteger(), 3);
    paper.FetchAll();
    QCOMPARE(paper.RecordCount(), 2);

    StorePaper(*FBank, "T_KS_ExamineTheme", 1, {1, 3});
    paper.Edit();
    paper.FieldByName("AnswerResult")->SetAsString("14");
    paper.Post();
    QCOMPARE(FBank->Scalar("select group_concat(ifnull(AnswerResult,'-')) from T_KS_ExamineTheme").toString(),
             QString("-,14"));
}

QTEST_GUILESS_MAIN(TestUSqliteRowLoader)
#include "tst_USqliteRowLoader.moc"
