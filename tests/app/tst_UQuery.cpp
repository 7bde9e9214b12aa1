#include <QSqlQuery>
#include <QTest>

#include "QueryTestBank.h"
#include "TestSupport.h"
#include "UComm.h"
#include "UConnection.h"
#include "UDM.h"
#include "UDbError.h"
#include "UQuery.h"
#include "USqlText.h"

// The database layer against the statements the program issues, on a real
// SQLite file of the bank's schema, and in the "_postgres" run on a real
// PostgreSQL server.
class TestUQuery : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void SetListAndChapterListReadFieldZeroAndOne();
    void TemplateStatementsResolveInAnyCase();
    void MaxOfEmptyPaperTableIsNullThenLargestPlusOne();
    void CountStatementsReadFieldZero();
    void LocateComparesTextWithoutCase();
    void AppendPostWritesThroughAndIntegerTextIsAccepted();
    void EditPostWritesAnswerOfCurrentRowOnly();
    void ResultSheetStatementAddsEmptyOtzColumn();
    void DeleteStatementReturnsRowsAffected();
    void MovesStopAtTheEndsAndSetFlags();
    void MoveByStopsOnLastRow();
    void ScrollNotificationsFollowEveryMove();
    void AfterScrollSeesTheEndsOfTheNewRow();
    void FieldReadsNullAsEmptyTextAndZero();
    void ValueAsIntegerRefusesNull();
    void BadStatementLeavesQueryClosed();
    void BlobFieldRoundTrips();
    void WholeBankPicturesAreReadWhenAsked();
    void TopIsTranslatedForSqlite();
    void QuoteInEmbeddedValueStaysInsideTheLiteral();
    void NamesThatNeedQuotingAreWrittenBack_data();
    void NamesThatNeedQuotingAreWrittenBack();

private:
    std::unique_ptr<TTestBank> FBank;
};

void TestUQuery::init()
{
    EXAMORA_REQUIRE_TEST_ENGINE();
    FBank = MakeQueryTestBank();
}

void TestUQuery::cleanup()
{
    FBank.reset();
}

void TestUQuery::SetListAndChapterListReadFieldZeroAndOne()
{
    TQuery sets;
    QVERIFY(OpenQuery(
        &sets,
        "select Distinct(TT) from T_KS_THEME where THEMECHAPTER in (1) and (TT is not null or TT<>'') order by TT "));
    QCOMPARE(sets.RecordCount(), 1);
    QCOMPARE(sets.Fields(0)->AsString(), QString("01"));

    TQuery chapters;
    QVERIFY(OpenQuery(&chapters,
                      "select ThemeChapter,THEMENAME from T_KS_CHAPTER where THEMECHAPTER in (20,21,22,23,24,25,26)"));
    QCOMPARE(chapters.RecordCount(), 2);
    QCOMPARE(chapters.Fields(0)->AsString(), QString("20"));
    QCOMPARE(chapters.Fields(1)->AsString(), QString("安全一"));
}

void TestUQuery::TemplateStatementsResolveInAnyCase()
{
    TQuery model;
    QVERIFY(OpenQuery(&model, "Select * From T_Ks_Model Where IsUser=1 And DirvesType='001'"));
    QCOMPARE(model.RecordCount(), 1);
    QCOMPARE(model.FieldByName("modelid")->AsString(), QString("7"));
    QCOMPARE(model.FieldByName("RANDOMTHEME")->ValueAsInteger(), 0);
    QVERIFY(OpenQuery(&model, "Select * From T_KS_ThemeModelContent Where ModelID=7 order by themeType"));
    QCOMPARE(model.FieldByName("BitCount")->AsInteger(), 100);
    QVERIFY(OpenQuery(&model, "Select * From T_Ks_Theme Where ZT=1 and ThemePart=1 And ThemeChapter=1 And ThemeType=2"));
    QCOMPARE(model.RecordCount(), 1);
    QVERIFY(OpenQuery(&model, "Select ThemeID From T_KS_THEME where ThemeID=99"));
    QCOMPARE(model.RecordCount(), 0);
    QVERIFY(model.Eof() && model.Bof());
}

void TestUQuery::MaxOfEmptyPaperTableIsNullThenLargestPlusOne()
{
    TQuery max;
    QVERIFY(OpenQuery(&max, "Select Max(ExamineID) From T_KS_ExamineTheme"));
    QCOMPARE(max.RecordCount(), 1);
    QVERIFY(max.Fields(0)->IsNull());
    QCOMPARE(max.Fields(0)->AsString(), QString());
    StorePaper(*FBank, "T_KS_ExamineTheme", 1, {1});
    StorePaper(*FBank, "T_KS_ExamineTheme", 2, {1});
    StorePaper(*FBank, "T_KS_ExamineTheme", 7, {1});
    QVERIFY(OpenQuery(&max, "Select Max(ExamineID) From T_KS_ExamineTheme"));
    QCOMPARE(max.Fields(0)->AsInteger(), 7);
    QVERIFY(OpenQuery(&max, "Select Max(ExamineID) From T_KS_ExamineTheme_TT"));
    QVERIFY(max.Fields(0)->IsNull());
}

void TestUQuery::CountStatementsReadFieldZero()
{
    TQuery count;
    QVERIFY(OpenQuery(&count, "select Count(*) from T_KS_THEME where TT='01' and THEMECHAPTER in (1)"));
    QCOMPARE(count.Fields(0)->AsInteger(), 2);
    QVERIFY(OpenQuery(&count, "select Count(*) from T_KS_THEME where THEMECHAPTER=21"));
    QCOMPARE(count.Fields(0)->AsInteger(), 1);
}

void TestUQuery::LocateComparesTextWithoutCase()
{
    FBank->AddTheme(5, {{"ThemeContent", "Abc"}});
    TQuery bank;
    QVERIFY(OpenQuery(&bank, "Select * From T_Ks_Theme"));
    QVERIFY(bank.Locate("ThemeID", "3"));
    QCOMPARE(bank.FieldByName("ThemeResult")->AsString(), QString("134"));
    QVERIFY(bank.Locate("themecontent", "aBC"));
    QCOMPARE(bank.FieldByName("ThemeID")->AsInteger(), 5);
    QVERIFY(!bank.Locate("ThemeID", "-1"));
    QCOMPARE(bank.FieldByName("ThemeID")->AsInteger(), 5);
}

void TestUQuery::AppendPostWritesThroughAndIntegerTextIsAccepted()
{
    TQuery source, target;
    QVERIFY(OpenQuery(&source, "Select * From T_Ks_Theme"));
    QVERIFY(OpenQuery(&target, "Select * From T_Ks_ExamineTheme where ExamineID=1"));
    QVERIFY(target.IsEmpty());
    target.Append();
    target.FieldByName("ID")->SetAsString("1");
    target.FieldByName("ExamineID")->SetAsInteger(1);
    for (const char *column : {"ThemeID", "ThemeContent", "ThemeImage", "ThemeSpareF", "ThemeResult"})
        target.FieldByName(column)->SetValue(source.FieldByName(column)->Value());
    target.FieldByName("ThemeBit")->SetAsString("2");
    target.Post();
    QCOMPARE(target.RecordCount(), 1);
    // The storage type of a value: SQLite's own, or the server's column type.
    const QString typeOf = TTestBank::OnServer() ? "pg_typeof(%1)::text" : "typeof(%1)";
    QCOMPARE(FBank->Scalar("select " + typeOf.arg("ID") + " || " + typeOf.arg("ThemeBit") + " from T_KS_ExamineTheme")
                 .toString(),
             TTestBank::OnServer() ? QString("bigintbigint") : QString("integerinteger"));
    QVERIFY(FBank->Scalar("select ThemeSpareF is null and AnswerResult is null from T_KS_ExamineTheme").toBool());
    // Papers are read in ID order, so the column must sort numerically.
    StorePaper(*FBank, "T_KS_ExamineTheme", 3, {1, 2, 3, 4, 1, 2, 3, 4, 1, 2});
    TQuery paper;
    QVERIFY(OpenQuery(&paper, "Select * From T_Ks_ExamineTheme Where ExamineID=3 Order By ID"));
    paper.Last();
    QCOMPARE(paper.FieldByName("ID")->AsString(), QString("10"));
}

void TestUQuery::EditPostWritesAnswerOfCurrentRowOnly()
{
    StorePaper(*FBank, "T_KS_ExamineTheme", 1, {1, 2, 3});
    StorePaper(*FBank, "T_KS_ExamineTheme", 2, {1, 2, 3});
    TQuery paper;
    QVERIFY(OpenQuery(&paper, "Select * From T_Ks_ExamineTheme Where ExamineID=1 Order By ID"));
    paper.Next();
    paper.Edit();
    paper.FieldByName("AnswerResult")->SetAsString("24");
    paper.FieldByName("Yxx_St")->SetAsString("1");
    paper.Post();
    QCOMPARE(FBank
                 ->Scalar("select group_concat(answer) from (select ifnull(AnswerResult,'-') as answer "
                          "from T_KS_ExamineTheme order by ExamineID, ID) a")
                 .toString(),
             QString("-,24,-,-,-,-"));
    QCOMPARE(FBank->Scalar("select Yxx_St from T_KS_ExamineTheme where ExamineID=1 and ID=2").toString(), QString("1"));
    QCOMPARE(paper.FieldByName("AnswerResult")->AsString(), QString("24"));
    QCOMPARE(paper.State(), TQuery::dsBrowse);
}

void TestUQuery::ResultSheetStatementAddsEmptyOtzColumn()
{
    StorePaper(*FBank, "T_KS_ExamineTheme_TT", 4, {3, 1});
    TQuery sheet;
    QVERIFY(OpenQuery(&sheet, "Select *,'' as OTZ From T_Ks_ExamineTheme_TT where ExamineID=4 order by id"));
    QCOMPARE(sheet.RecordCount(), 2);
    TField *otz = sheet.FieldByName("OTZ");
    QCOMPARE(otz->AsString(), QString());
    QVERIFY(!otz->IsNull());
    otz->OnGetText = [](const TField &, QString &text, bool) { text = QStringLiteral("正确"); };
    QCOMPARE(otz->DisplayText(), QString("正确"));
    QCOMPARE(sheet.FieldByName("ThemeID")->AsInteger(), 3);
}

void TestUQuery::DeleteStatementReturnsRowsAffected()
{
    StorePaper(*FBank, "T_KS_ExamineTheme", 5, {1, 2, 3});
    QCOMPARE(ExecSql("Delete from T_KS_EXAMINETHEME where ExamineID=5"), 3);
    QCOMPARE(ExecSql("Delete from T_KS_EXAMINETHEME where ExamineID=5"), 0);
    QCOMPARE(ExecSql("Delete from T_KS_NOSUCHTABLE where ExamineID=5"), -1);
}

void TestUQuery::MovesStopAtTheEndsAndSetFlags()
{
    TQuery bank;
    QVERIFY(OpenQuery(&bank, "select * from T_KS_THEME order by ThemeID"));
    QVERIFY(bank.Bof());
    QVERIFY(!bank.Eof());
    bank.Prior();
    QVERIFY(bank.Bof());
    QCOMPARE(bank.RecNo(), 1);
    bank.Next();
    QVERIFY(!bank.Bof());
    bank.Last();
    QVERIFY(bank.Eof());
    bank.Prior();
    QVERIFY(!bank.Eof());
    bank.Next();
    bank.Next();
    QVERIFY(bank.Eof());
    QCOMPARE(bank.FieldByName("ThemeID")->AsInteger(), 4);
}

void TestUQuery::MoveByStopsOnLastRow()
{
    TQuery bank;
    QVERIFY(OpenQuery(&bank, "select * from T_KS_THEME order by ThemeID"));
    QCOMPARE(bank.MoveBy(2), 2);
    QCOMPARE(bank.FieldByName("ThemeID")->AsInteger(), 3);
    bank.First();
    QCOMPARE(bank.MoveBy(10), 3);
    QCOMPARE(bank.FieldByName("ThemeID")->AsInteger(), 4);
    QVERIFY(bank.Eof());
}

void TestUQuery::ScrollNotificationsFollowEveryMove()
{
    TQuery bank;
    int opened = 0, scrolled = 0;
    connect(&bank, &TQuery::AfterOpen, this, [&opened](TQuery *) { ++opened; });
    connect(&bank, &TQuery::AfterScroll, this, [&scrolled](TQuery *) { ++scrolled; });
    QVERIFY(OpenQuery(&bank, "select * from T_KS_THEME order by ThemeID"));
    QCOMPARE(opened, 1);
    QCOMPARE(scrolled, 1);
    bank.Prior(); // at the first row: no move, but the row is synchronised again
    QCOMPARE(scrolled, 2);
    QVERIFY(bank.Locate("ThemeID", 3));
    QCOMPARE(scrolled, 3);
    QVERIFY(OpenQuery(&bank, "select * from T_KS_THEME where ThemeID=0"));
    QCOMPARE(opened, 2);
    QCOMPARE(scrolled, 3);
}

void TestUQuery::FieldReadsNullAsEmptyTextAndZero()
{
    TQuery bank;
    QVERIFY(OpenQuery(&bank, "select * from T_KS_THEME where ThemeID=4"));
    QVERIFY(bank.FieldByName("TT")->IsNull());
    QCOMPARE(bank.FieldByName("TT")->AsString(), QString());
    QCOMPARE(bank.FieldByName("TT")->AsInteger(), 0);
    QVERIFY(bank.FieldByName("ThemeImage")->IsBlob());
    QVERIFY(bank.FieldByName("ThemeImage")->IsNull());
    QVERIFY(!bank.FindField("NoSuchColumn"));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, bank.FieldByName("NoSuchColumn"));
}

void TestUQuery::ValueAsIntegerRefusesNull()
{
    FBank->AddModel(8, "002", QVariant(), 45);
    TQuery model;
    QVERIFY(OpenQuery(&model, "Select * From T_KS_Model Where ModelID=8"));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, model.FieldByName("RandomTheme")->ValueAsInteger());
    QCOMPARE(model.FieldByName("RandomTheme")->AsInteger(), 0);
}

void TestUQuery::BadStatementLeavesQueryClosed()
{
    TQuery query;
    QVERIFY(OpenQuery(&query, "select * from T_KS_THEME"));
    QVERIFY(!OpenQuery(&query, "select * form T_KS_THEME"));
    QVERIFY(!query.Active());
    QVERIFY(!CreateOpenQuery("select nothing from nowhere"));
    std::unique_ptr<TQuery> created(CreateOpenQuery("select * from T_KS_CHAPTER"));
    QVERIFY(created && created->Active());
}

void TestUQuery::BlobFieldRoundTrips()
{
    const QByteArray bytes("\xFF\xD8\xFF\x00\x01\x02 picture", 14);
    FBank->AddTheme(9, {{"ThemeImage", bytes}});
    TQuery bank;
    QVERIFY(OpenQuery(&bank, "select * from T_KS_THEME where ThemeID=9"));
    QCOMPARE(bank.FieldByName("ThemeImage")->AsBytes(), bytes);
}

void TestUQuery::WholeBankPicturesAreReadWhenAsked()
{
    const QByteArray bytes(40000, '\x7f');
    FBank->AddTheme(9, {{"ThemeImage", bytes}});
    TQuery bank, paper;
    QVERIFY(OpenQuery(&bank, "Select * From T_Ks_Theme"));
    QCOMPARE(bank.FieldCount(), 15);
    QVERIFY(bank.Locate("ThemeID", "9"));
    QVERIFY(bank.FieldByName("ThemeImage")->IsBlob());
    QVERIFY(!bank.FieldByName("ThemeImage")->IsNull());
    QVERIFY(OpenQuery(&paper, "Select * From T_Ks_ExamineTheme where ExamineID=1"));
    paper.Append();
    paper.FieldByName("ID")->SetAsString("1");
    paper.FieldByName("ExamineID")->SetAsInteger(1);
    paper.FieldByName("ThemeImage")->SetValue(bank.FieldByName("ThemeImage")->Value());
    paper.Post();
    QCOMPARE(FBank->Scalar("select ThemeImage from T_KS_ExamineTheme").toByteArray(), bytes);
    QVERIFY(bank.Locate("ThemeID", "1"));
    QVERIFY(bank.FieldByName("ThemeImage")->IsNull());
}

void TestUQuery::TopIsTranslatedForSqlite()
{
    TQuery page;
    QVERIFY(OpenQuery(&page,
                      "Select top 2 * From (SELECT THEMEID AS XH, THEMECONTENT FROM T_KS_THEME) a Order By Xh Desc"));
    QCOMPARE(page.RecordCount(), 2);
    QCOMPARE(page.FieldByName("Xh")->AsInteger(), 4);
    QVERIFY(
        OpenQuery(&page,
                  "Select Max(Xh) From (Select top 3 Xh From (SELECT THEMEID AS XH FROM T_KS_THEME) a Order By Xh) a"));
    QCOMPARE(page.Fields(0)->AsInteger(), 3);
}

void TestUQuery::QuoteInEmbeddedValueStaysInsideTheLiteral()
{
    FBank->AddTheme(10, {{"TT", "0'1"}});
    TQuery set;
    QVERIFY(OpenQuery(&set, "select * from T_KS_THEME where TT='" + QuoteSqlText("0'1") + "'"));
    QCOMPARE(set.RecordCount(), 1);
    QVERIFY(OpenQuery(&set, "select * from T_KS_THEME where TT='" + QuoteSqlText("x' or '1'='1") + "'"));
    QCOMPARE(set.RecordCount(), 0);
}

// Handlers of AfterScroll read the ends flags of the row just made current,
// whichever move made it so.
void TestUQuery::AfterScrollSeesTheEndsOfTheNewRow()
{
    TQuery bank;
    QStringList seen;
    connect(&bank, &TQuery::AfterScroll, this, [&seen](TQuery *query) {
        seen << QStringLiteral("%1:%2%3").arg(query->RecNo()).arg(query->Bof() ? "B" : "-").arg(query->Eof() ? "E" : "-");
    });
    QVERIFY(OpenQuery(&bank, "select * from T_KS_THEME order by ThemeID"));
    bank.Last();
    bank.Prior();
    bank.First();
    bank.Next();
    bank.MoveBy(10);
    bank.MoveBy(-1);
    bank.MoveBy(-10);
    bank.Prior();
    QCOMPARE(seen, QStringList({"1:B-", "4:-E", "3:--", "1:B-", "2:--", "4:-E", "3:--", "1:B-", "1:B-"}));
    QVERIFY(bank.Bof() && !bank.Eof());
}

// Reserved words and spaces in the names of a table and its columns, on
// the plain path (a bracketed or quoted table) and the lazy one.
void TestUQuery::NamesThatNeedQuotingAreWrittenBack_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("sql");
    QTest::newRow("reserved table in brackets") << R"("Order")"
                                                << "select * from [Order]";
    QTest::newRow("reserved table in quotes") << R"("Order")"
                                              << R"(select * from "Order" order by ID)";
    QTest::newRow("table with a space, no key") << R"("Exam Notes")"
                                                << "select * from [Exam Notes]";
    QTest::newRow("plain table read lazily") << "Notes"
                                             << R"(select * from Notes where "Group" is not null or ID>0)";
}

void TestUQuery::NamesThatNeedQuotingAreWrittenBack()
{
    QFETCH(QString, table);
    QFETCH(QString, sql);
    if (TTestBank::OnServer() && sql.contains('['))
        QSKIP("brackets quote names in the local bank's statements only");
    FBank->Exec(R"(CREATE TABLE "Order" (ID INTEGER PRIMARY KEY, "Group" TEXT, "Note Text" TEXT))");
    FBank->Exec(R"(CREATE TABLE "Exam Notes" (ID INTEGER, "Group" TEXT, "Note Text" TEXT))");
    FBank->Exec(R"(CREATE TABLE Notes (ID INTEGER PRIMARY KEY, "Group" TEXT, "Note Text" TEXT))");
    const QString stored = QStringLiteral(R"(select group_concat(ID || '/' || "Group" || '/' || "Note Text") from %1)")
                               .arg(table);
    TQuery notes;
    QVERIFY(OpenQuery(&notes, sql));
    notes.Append();
    notes.FieldByName("ID")->SetAsInteger(1);
    notes.FieldByName("Group")->SetAsString("一组");
    notes.FieldByName("Note Text")->SetAsString("a");
    notes.Post();
    notes.Edit();
    notes.FieldByName("Note Text")->SetAsString("b");
    notes.Post();
    QCOMPARE(FBank->Scalar(stored).toString(), QString("1/一组/b"));
    // Read again from the table: an update and a delete of a row as stored.
    QVERIFY(OpenQuery(&notes, sql));
    QCOMPARE(notes.RecordCount(), 1);
    notes.Edit();
    notes.FieldByName("Group")->SetAsString("二组");
    notes.Post();
    QCOMPARE(FBank->Scalar(stored).toString(), QString("1/二组/b"));
    notes.Delete();
    QCOMPARE(FBank->Scalar(QStringLiteral("select count(*) from %1").arg(table)).toInt(), 0);
}

QTEST_GUILESS_MAIN(TestUQuery)
#include "tst_UQuery.moc"
