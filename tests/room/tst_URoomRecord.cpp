#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include "RoomFixture.h"
#include "UComm.h"
#include "UDM.h"
#include "URecordSchema.h"

// What the exam room adds to the learning record: who sat the paper and in
// which room, and that a seat resumes only its own candidate's paper.
class TestURoomRecord : public QObject
{
    Q_OBJECT

private slots:
    void RecordsKeepTheCandidateAndTheRoom();
    void OutsideARoomTheNewColumnsStayNull();
    void AnOlderRecordTableGainsTheColumnsAndKeepsItsRows();
    void ResumeInARoomFindsOnlyTheCandidatesOwnPaper();
};

void TestURoomRecord::RecordsKeepTheCandidateAndTheRoom()
{
    TRoomFixture room;
    const TSeatPaper paper = room.SitDown("seat-07", "王芳", "11010519491231002X", "第一考场");
    QSqlQuery query(room.Bank().Db());
    QVERIFY(query.exec(QStringLiteral("SELECT CandidateIdNumber, CandidateName, RoomName, Seat FROM T_KS_ExamRecord "
                                      "WHERE RecordID=%1")
                           .arg(paper.RecordID)));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toString(), QStringLiteral("11010519491231002X"));
    QCOMPARE(query.value(1).toString(), QStringLiteral("王芳"));
    QCOMPARE(query.value(2).toString(), QStringLiteral("第一考场"));
    QCOMPARE(query.value(3).toString(), QStringLiteral("seat-07"));

    // The start of a run takes them from the run context, the seat from the computer.
    TRunContext run;
    run.CandidateIdNumber = QStringLiteral("E12345678");
    run.CandidateName = QStringLiteral("Anna Li");
    run.RoomName = QStringLiteral("第二考场");
    const TRecordStart start = RecordStartOf(run, 1, QStringLiteral("T_KS_ExamineTheme"), 45, 100);
    QCOMPARE(start.CandidateIdNumber, run.CandidateIdNumber);
    QCOMPARE(start.CandidateName, run.CandidateName);
    QCOMPARE(start.RoomName, run.RoomName);
    QVERIFY(!start.Seat.isEmpty());
}

void TestURoomRecord::OutsideARoomTheNewColumnsStayNull()
{
    TRoomFixture room;
    const TSeatPaper paper = room.SitDown("home", QString(), QString(), QString());
    QCOMPARE(room.Bank()
                 .Scalar(QStringLiteral(
                             "SELECT COUNT(*) FROM T_KS_ExamRecord WHERE RecordID=%1 "
                             "AND CandidateName IS NULL AND RoomName IS NULL AND COALESCE(CandidateIdNumber,'')=''")
                             .arg(paper.RecordID))
                 .toInt(),
             1);
}

void TestURoomRecord::AnOlderRecordTableGainsTheColumnsAndKeepsItsRows()
{
    TTestBank bank;
    // The record table as the version before the exam room wrote it.
    bank.Exec(QStringLiteral("CREATE TABLE T_KS_ExamRecord (RecordID INTEGER PRIMARY KEY, ExamineID INTEGER, "
                             "PracticeMode TEXT, PracticeScope TEXT, DriveTypeCode TEXT, DriveTypeCaption TEXT, "
                             "CandidateIdNumber TEXT, Seat TEXT, ProgramFolder TEXT, PaperTable TEXT, StartedAt TEXT, "
                             "HandedInAt TEXT, ExamMinutes INTEGER, SecondsLeft INTEGER, QuestionCount INTEGER, "
                             "AnsweredCount INTEGER, RightCount INTEGER, WrongCount INTEGER, Score INTEGER, "
                             "Passed INTEGER, Status TEXT NOT NULL)"));
    bank.Exec(QStringLiteral("INSERT INTO T_KS_ExamRecord (RecordID, Score, Status) VALUES (5, 96, 'handed-in')"));
    QString reason;
    QVERIFY2(EnsureRecordTables(DM->ACon, &reason), qPrintable(reason));
    QVERIFY2(EnsureRecordTables(DM->ACon, &reason), qPrintable(reason)); // a second start changes nothing
    const QSqlRecord columns = bank.Db().record(QStringLiteral("T_KS_ExamRecord"));
    QVERIFY(columns.contains(QStringLiteral("CandidateName")));
    QVERIFY(columns.contains(QStringLiteral("RoomName")));
    QCOMPARE(bank.Scalar(QStringLiteral("SELECT Score FROM T_KS_ExamRecord WHERE RecordID=5")).toInt(), 96);
    QCOMPARE(bank.Scalar(QStringLiteral("SELECT COUNT(*) FROM T_KS_ExamRecord")).toInt(), 1);
}

void TestURoomRecord::ResumeInARoomFindsOnlyTheCandidatesOwnPaper()
{
    TRoomFixture room;
    const QString folder = room.Bank().AppPath(); // every seat runs from the same path
    const TSeatPaper wang = room.SitDown("seat-01", "王芳", "11010519491231002X");
    const TSeatPaper li = room.SitDown("seat-02", "李雷", "320102198511200012");

    // At seat 1, after a restart, 李雷 signs in: 王芳's paper is not his.
    std::optional<TOpenRecord> found = room.Store().FindOpen("001", "3", "", folder, "seat-01",
                                                             QStringLiteral("320102198511200012"));
    QVERIFY(found);
    QCOMPARE(found->RecordID, li.RecordID);
    // 王芳 moved to seat 3 finds her own.
    found = room.Store().FindOpen("001", "3", "", folder, "seat-03", QStringLiteral("11010519491231002X"));
    QVERIFY(found);
    QCOMPARE(found->RecordID, wang.RecordID);
    QVERIFY(!room.Store().FindOpen("001", "3", "", folder, "seat-01", QStringLiteral("E12345678")));
    // Outside a room the folder or the seat decide, as ever.
    QCOMPARE(room.Store().FindOpen("001", "3", "", folder, "seat-01")->RecordID, li.RecordID);
}

QTEST_GUILESS_MAIN(TestURoomRecord)
#include "tst_URoomRecord.moc"
