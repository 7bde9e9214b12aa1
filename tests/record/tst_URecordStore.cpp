#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTest>

#include "RecordFixture.h"
#include "UConnection.h"
#include "UDM.h"
#include "UDbError.h"
#include "URecordSchema.h"
#include "URecordStore.h"

namespace {

const QString KMockTable = QStringLiteral("T_KS_ExamineTheme");
const QString KPracticeTable = QStringLiteral("T_KS_ExamineTheme_TT");

// Reopens the data module's connection the way SQLite opens a file it may
// not write.
void ReopenReadOnly()
{
    QSqlDatabase db = DM->ACon->Database();
    db.close();
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    QVERIFY(db.open());
}

std::vector<TPaperQuestion> FourQuestions()
{
    // Right (10 points), wrong, unanswered with a key, right multiple choice (5).
    return {{11, "1", "1", 1, 2, 10}, {12, "2", "1", 1, 2, 10}, {13, "", "3", 2, 1, 10}, {14, "24", "24", 2, 3, 5}};
}

} // namespace

class TestURecordStore : public QObject
{
    Q_OBJECT

private slots:
    void init() { EXAMORA_REQUIRE_TEST_ENGINE(); }
    void TablesAreAddedOnceAndKeepTheirRows();
    void ReadOnlyBankIsReportedNotFatal();
    void OpenWritesTheOpenRow();
    void KeepCurrentTouchesOnlyTheOpenRecord();
    void HandInKeepsEveryQuestionAndDeletesThePaper();
    void PassLine_data();
    void PassLine();
    void FailureInTheSecondHalfChangesNothing();
    void AbandonKeepsTheAnswersAsAbandoned();
    void ClosedRecordCannotBeClosedAgain();
    void WithoutARecordOnlyThePaperGoes();
    void UnknownPaperTableIsRefused();
    void FindOpenChoosesTheResumablePaper();
};

void TestURecordStore::TablesAreAddedOnceAndKeepTheirRows()
{
    TRecordFixture fixture;
    fixture.Bank().AddTheme(7);
    fixture.SitMockExam(50);
    QString reason;
    QVERIFY2(EnsureRecordTables(DM->ACon, &reason), qPrintable(reason));
    QVERIFY(reason.isEmpty());
    QCOMPARE(fixture.Bank().Scalar("select count(*) from T_KS_ExamRecord").toInt(), 1);
    QCOMPARE(fixture.Bank().Scalar("select count(*) from T_KS_ExamRecordTheme").toInt(), 10);
    QCOMPARE(fixture.Bank().Scalar("select count(*) from T_KS_THEME").toInt(), 1);
    const QString indexes = TTestBank::OnServer()
        ? "select count(*) from pg_indexes where indexname like 'ix_examrecordtheme_%'"
        : "select count(*) from sqlite_master where name like 'IX_EXAMRECORDTHEME_%'";
    QCOMPARE(fixture.Bank().Scalar(indexes).toInt(), 2);
}

void TestURecordStore::ReadOnlyBankIsReportedNotFatal()
{
    EXAMORA_SQLITE_ONLY();
    {
        TTestBank olderBank;
        ReopenReadOnly();
        QString reason;
        QVERIFY(!EnsureRecordTables(DM->ACon, &reason));
        QVERIFY(reason.contains(QStringLiteral("不会保存为学习记录")));
        QVERIFY(!EnsureRecordTables(DM->ACon)); // no place for a reason is no fault
    }
    {
        // Tables already there do not hide that nothing can be written.
        TRecordFixture fixture;
        ReopenReadOnly();
        QString reason;
        QVERIFY(!EnsureRecordTables(DM->ACon, &reason));
        QVERIFY(!reason.isEmpty());
    }
    QString reason;
    QVERIFY(!EnsureRecordTables(nullptr, &reason));
    QVERIFY(!reason.isEmpty());
}

void TestURecordStore::OpenWritesTheOpenRow()
{
    TRecordFixture fixture;
    const qint64 first = fixture.StorePaper("2", "3", 41, FourQuestions());
    const qint64 second = fixture.StorePaper("3", "", 42, FourQuestions());
    QVERIFY(first > 0);
    QVERIFY(second > first);
    QSqlQuery row(fixture.Bank().Db());
    QVERIFY(row.exec(QStringLiteral("select ExamineID, PaperTable, PracticeMode, PracticeScope, DriveTypeCode, "
                                    "DriveTypeCaption, Seat, ProgramFolder, StartedAt, HandedInAt, ExamMinutes, "
                                    "SecondsLeft, QuestionCount, AnsweredCount, Status, Passed "
                                    "from T_KS_ExamRecord where RecordID=%1")
                         .arg(first)));
    QVERIFY(row.next());
    const QVariantList expected{41,
                                KPracticeTable,
                                "2",
                                "3",
                                "001",
                                QStringLiteral("小型汽车"),
                                QSysInfo::machineHostName(),
                                fixture.Bank().AppPath(),
                                "2026-11-02T09:01:00",
                                QVariant(),
                                45,
                                45 * 60,
                                4,
                                0,
                                "open",
                                QVariant()};
    // A server's NULL keeps its column's type, and would read as "0".
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(row.value(i).isNull() ? QString() : row.value(i).toString(), expected.at(i).toString());
    QVERIFY(row.value(9).isNull());
}

void TestURecordStore::KeepCurrentTouchesOnlyTheOpenRecord()
{
    TRecordFixture fixture;
    const qint64 open = fixture.StorePaper("3", "", 1, FourQuestions());
    const qint64 handedIn = fixture.SitPaper("1", "01", FourQuestions());
    for (int seconds = 2700; seconds > 2600; seconds -= 5)
        fixture.Store().KeepCurrent(open, seconds, 2);
    fixture.Store().KeepCurrent(handedIn, 1, 1);
    // The statement kept prepared survives the connection being reopened.
    DM->ACon->Close();
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, fixture.Store().KeepCurrent(open, 2700, 0));
    DM->ACon->Open();
    fixture.Store().KeepCurrent(open, 2605, 2);
    QCOMPARE(fixture.Bank()
                 .Scalar(QStringLiteral("select SecondsLeft from T_KS_ExamRecord where RecordID=%1").arg(open))
                 .toInt(),
             2605);
    QCOMPARE(fixture.Bank()
                 .Scalar(QStringLiteral("select AnsweredCount from T_KS_ExamRecord where RecordID=%1").arg(open))
                 .toInt(),
             2);
    QCOMPARE(fixture.Bank()
                 .Scalar(QStringLiteral("select SecondsLeft from T_KS_ExamRecord where RecordID=%1").arg(handedIn))
                 .toInt(),
             600);
    QCOMPARE(fixture.Bank()
                 .Scalar(QStringLiteral("select AnsweredCount from T_KS_ExamRecord where RecordID=%1").arg(handedIn))
                 .toInt(),
             3);
}

void TestURecordStore::HandInKeepsEveryQuestionAndDeletesThePaper()
{
    TRecordFixture fixture;
    const qint64 recordId = fixture.StorePaper("3", "", 5, FourQuestions());
    fixture.StorePaper("3", "", 6, FourQuestions()); // another paper stays
    const TRecordOutcome outcome = fixture.Store().HandIn(recordId, KMockTable, 5, 1234);
    QCOMPARE(outcome.QuestionCount, 4);
    QCOMPARE(outcome.AnsweredCount, 3);
    QCOMPARE(outcome.RightCount, 2);
    QCOMPARE(outcome.WrongCount, 2);
    QCOMPARE(outcome.Score, 15);
    QCOMPARE(outcome.Passed, std::optional<bool>(false));

    TTestBank &bank = fixture.Bank();
    QCOMPARE(bank.Scalar("select count(*) from T_KS_ExamineTheme where ExamineID=5").toInt(), 0);
    QCOMPARE(bank.Scalar("select count(*) from T_KS_ExamineTheme where ExamineID=6").toInt(), 4);
    QSqlQuery record(bank.Db());
    QVERIFY(record.exec(QStringLiteral("select Status, HandedInAt, SecondsLeft, AnsweredCount, RightCount, WrongCount, "
                                       "Score, Passed from T_KS_ExamRecord where RecordID=%1")
                            .arg(recordId)));
    QVERIFY(record.next());
    QCOMPARE(record.value(0).toString(), QStringLiteral("handed-in"));
    QCOMPARE(record.value(1).toString(), QStringLiteral("2026-11-02T09:03:00"));
    for (int i = 2; i < 8; ++i)
        QCOMPARE(record.value(i).toInt(), (QList<int>{1234, 3, 2, 2, 15, 0}).at(i - 2));

    QSqlQuery themes(bank.Db());
    QVERIFY(themes.exec(QStringLiteral("select ID, ThemeID, ThemeChapter, ThemeType, ThemeResult, AnswerResult, Yxx_St, "
                                       "IsRight from T_KS_ExamRecordTheme where RecordID=%1 order by ID")
                            .arg(recordId)));
    const QStringList expected{"1|11|1|2|1|1|0|1", "2|12|1|2|1|2|0|0", "3|13|2|1|3|||0", "4|14|2|3|24|24|0|1"};
    for (const QString &line : expected) {
        QVERIFY(themes.next());
        QStringList cells;
        for (int i = 0; i < 8; ++i)
            cells << themes.value(i).toString();
        QCOMPARE(cells.join('|'), line);
    }
    QVERIFY(!themes.next());
}

void TestURecordStore::PassLine_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("score");
    QTest::addColumn<QVariant>("passed");
    QTest::newRow("mock exam at 90 passes") << "3" << 90 << QVariant(1);
    QTest::newRow("mock exam at 80 fails") << "3" << 80 << QVariant(0);
    QTest::newRow("mode 0 is the mock exam") << "0" << 100 << QVariant(1);
    QTest::newRow("empty mode is the mock exam") << "" << 0 << QVariant(0);
    QTest::newRow("set practice has no verdict") << "1" << 100 << QVariant();
    QTest::newRow("chapter practice has no verdict") << "2" << 100 << QVariant();
    QTest::newRow("wrong-answer practice has no verdict") << "4" << 100 << QVariant();
}

void TestURecordStore::PassLine()
{
    QFETCH(QString, mode);
    QFETCH(int, score);
    QFETCH(QVariant, passed);
    TRecordFixture fixture;
    std::vector<TPaperQuestion> questions;
    for (int i = 0; i < 10; ++i)
        questions.push_back({i + 1, i * 10 < score ? "1" : "3", "1", 1, 2, 10});
    const qint64 recordId = fixture.SitPaper(mode, "1", questions);
    QCOMPARE(
        fixture.Bank().Scalar(QStringLiteral("select Score from T_KS_ExamRecord where RecordID=%1").arg(recordId)).toInt(),
        score);
    const QVariant stored = fixture.Bank().Scalar(
        QStringLiteral("select Passed from T_KS_ExamRecord where RecordID=%1").arg(recordId));
    QCOMPARE(stored.isNull(), passed.isNull());
    if (!passed.isNull())
        QCOMPARE(stored.toInt(), passed.toInt());
}

void TestURecordStore::FailureInTheSecondHalfChangesNothing()
{
    TRecordFixture fixture;
    const qint64 recordId = fixture.StorePaper("3", "", 9, FourQuestions());
    // The paper's rows cannot be deleted: the record's rows written before must go too.
    fixture.Bank().RefuseRows("keep_paper", "delete", "T_KS_ExamineTheme", QString(), "disk I/O error");
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, fixture.Store().HandIn(recordId, KMockTable, 9, 100));
    TTestBank &bank = fixture.Bank();
    QCOMPARE(bank.Scalar("select count(*) from T_KS_ExamineTheme where ExamineID=9").toInt(), 4);
    QCOMPARE(bank.Scalar("select count(*) from T_KS_ExamRecordTheme").toInt(), 0);
    QCOMPARE(bank.Scalar("select Status from T_KS_ExamRecord").toString(), QStringLiteral("open"));
    QVERIFY(bank.Scalar("select HandedInAt from T_KS_ExamRecord").isNull());

    // Once the cause is gone the same hand-in succeeds.
    bank.AllowRows("keep_paper", "T_KS_ExamineTheme");
    QCOMPARE(fixture.Store().HandIn(recordId, KMockTable, 9, 100).RightCount, 2);
    QCOMPARE(bank.Scalar("select count(*) from T_KS_ExamRecordTheme").toInt(), 4);
}

void TestURecordStore::AbandonKeepsTheAnswersAsAbandoned()
{
    TRecordFixture fixture;
    const qint64 recordId = fixture.StorePaper("1", "01", 3, FourQuestions());
    const TRecordOutcome outcome = fixture.Store().Abandon(recordId, KPracticeTable, 3, 77);
    QCOMPARE(outcome.AnsweredCount, 3);
    QVERIFY(!outcome.Passed);
    TTestBank &bank = fixture.Bank();
    QCOMPARE(bank.Scalar("select Status from T_KS_ExamRecord").toString(), QStringLiteral("abandoned"));
    QCOMPARE(bank.Scalar("select SecondsLeft from T_KS_ExamRecord").toInt(), 77);
    QCOMPARE(bank.Scalar("select count(*) from T_KS_ExamRecordTheme").toInt(), 4);
    QCOMPARE(bank.Scalar("select count(*) from T_KS_ExamineTheme_TT").toInt(), 0);
}

void TestURecordStore::ClosedRecordCannotBeClosedAgain()
{
    TRecordFixture fixture;
    const qint64 recordId = fixture.SitPaper("3", "", FourQuestions());
    // A new paper with the same number must not be swallowed by the old record.
    fixture.StorePaper("3", "", 1, FourQuestions());
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, fixture.Store().HandIn(recordId, KMockTable, 1, 0));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, fixture.Store().Abandon(recordId + 100, KMockTable, 1, 0));
    QCOMPARE(fixture.Bank().Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 4);
    QCOMPARE(fixture.Bank().Scalar("select count(*) from T_KS_ExamRecordTheme").toInt(), 4);
}

void TestURecordStore::WithoutARecordOnlyThePaperGoes()
{
    TRecordFixture fixture;
    fixture.StorePaper("2", "1", 8, FourQuestions());
    const TRecordOutcome outcome = fixture.Store().HandIn(0, KPracticeTable, 8, 0);
    QCOMPARE(outcome.QuestionCount, 0);
    QCOMPARE(fixture.Bank().Scalar("select count(*) from T_KS_ExamineTheme_TT").toInt(), 0);
    QCOMPARE(fixture.Bank().Scalar("select Status from T_KS_ExamRecord").toString(), QStringLiteral("open"));
}

void TestURecordStore::UnknownPaperTableIsRefused()
{
    TRecordFixture fixture;
    const qint64 recordId = fixture.StorePaper("3", "", 2, FourQuestions());
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, fixture.Store().HandIn(recordId, "T_KS_THEME", 2, 0));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, fixture.Store().HandIn(recordId, "T_KS_ExamineTheme; drop table x", 2, 0));
    QCOMPARE(fixture.Bank().Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 4);
}

void TestURecordStore::FindOpenChoosesTheResumablePaper()
{
    TRecordFixture fixture;
    TExamRecord &store = fixture.Store();
    const QString folder = fixture.Bank().AppPath();
    const QString seat = QSysInfo::machineHostName();
    QVERIFY(!store.FindOpen("001", "3", "", folder, seat));

    const qint64 older = fixture.StorePaper("3", "", 1, FourQuestions());
    const qint64 newer = fixture.StorePaper("3", "", 2, FourQuestions());
    fixture.StorePaper("3", "", 3, FourQuestions(), "002");
    fixture.StorePaper("1", "01", 4, FourQuestions());
    store.KeepCurrent(newer, 1500, 2);

    std::optional<TOpenRecord> found = store.FindOpen("001", "3", "", folder, seat);
    QVERIFY(found);
    QCOMPARE(found->RecordID, newer);
    QCOMPARE(found->ExamineID, 2);
    QCOMPARE(found->PaperTable, KMockTable);
    QCOMPARE(found->AnsweredCount, 2);
    QCOMPARE(found->SecondsLeft, 1500);
    // Another folder on this seat, or this folder seen from another seat, still finds it.
    QCOMPARE(store.FindOpen("001", "3", "", "/elsewhere/", seat)->RecordID, newer);
    QCOMPARE(store.FindOpen("001", "3", "", folder, "other-seat")->RecordID, newer);
    QVERIFY(!store.FindOpen("001", "3", "", "/elsewhere/", "other-seat"));
    QCOMPARE(store.FindOpen("001", "1", "01", folder, seat)->ExamineID, 4);
    QVERIFY(!store.FindOpen("001", "1", "02", folder, seat));

    // A paper deleted behind the record's back cannot be resumed: the older one can.
    fixture.Bank().Exec("delete from T_KS_ExamineTheme where ExamineID=2");
    QCOMPARE(store.FindOpen("001", "3", "", folder, seat)->RecordID, older);
    store.HandIn(older, KMockTable, 1, 0);
    QVERIFY(!store.FindOpen("001", "3", "", folder, seat));
}

QTEST_GUILESS_MAIN(TestURecordStore)
#include "tst_URecordStore.moc"
