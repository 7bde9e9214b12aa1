#include "RoomFixture.h"

#include <QTest>

#include "UComm.h"
#include "UDM.h"
#include "URecordSchema.h"

namespace {

const QString KPaperTable = QStringLiteral("T_KS_ExamineTheme");

} // namespace

TRoomFixture::TRoomFixture()
    : Now(QDate(2026, 12, 9), QTime(9, 0)),
      FStore(DM->ACon)
{
    QString reason;
    if (!EnsureRecordTables(DM->ACon, &reason))
        QTest::qFail(qPrintable(reason), __FILE__, __LINE__);
    FStore.Clock = [this] { return Now; };
}

TSeatPaper TRoomFixture::SitDown(const QString &seat, const QString &name, const QString &idNumber, const QString &room,
                                 int questions)
{
    TSeatPaper paper{0, FNextExamineId++};
    for (int id = 1; id <= questions; ++id) {
        FBank.Exec(QStringLiteral("INSERT INTO %1 (ID, ExamineID, ThemeID, ThemePart, ThemeChapter, ThemeType, "
                                  "ThemeContent, ThemeResult, ThemeBit) VALUES (%2, %3, %2, 1, 1, 2, 'q', '1', %4)")
                       .arg(KPaperTable)
                       .arg(id)
                       .arg(paper.ExamineID)
                       .arg(100 / questions));
    }
    TRunContext run;
    run.AppPath = FBank.AppPath();
    run.PracticeMode = QStringLiteral("3");
    run.DriveTypeCode = QStringLiteral("001");
    run.DriveTypeCaption = QStringLiteral("小型汽车（C1、C2、C3、C4）");
    run.CandidateIdNumber = idNumber;
    run.CandidateName = name;
    run.RoomName = room;
    TRecordStart start = RecordStartOf(run, paper.ExamineID, KPaperTable, 45, questions);
    start.Seat = seat; // every seat is its own computer in the room
    paper.RecordID = FStore.Open(start);
    return paper;
}

void TRoomFixture::Answer(const TSeatPaper &paper, int answered, int right, int secondsLeft)
{
    FBank.Exec(QStringLiteral("UPDATE %1 SET AnswerResult=CASE WHEN ID<=%2 THEN '1' ELSE '2' END, Yxx_St='0' "
                              "WHERE ExamineID=%3 AND ID<=%4")
                   .arg(KPaperTable)
                   .arg(right)
                   .arg(paper.ExamineID)
                   .arg(answered));
    FStore.KeepCurrent(paper.RecordID, secondsLeft, answered);
}

TRecordOutcome TRoomFixture::HandIn(const TSeatPaper &paper, int secondsLeft)
{
    return FStore.HandIn(paper.RecordID, KPaperTable, paper.ExamineID, secondsLeft);
}
