#include "UExamRecording.h"

#include <QSqlQuery>
#include <QTimer>

#include "UComm.h"
#include "UDM.h"
#include "UError.h"
#include "UQuery.h"
#include "URecordRules.h"
#include "URecordSchema.h"
#include "UScoring.h"

namespace {

constexpr int KTicksBetweenUpdates = 5;

// The answers stored in the paper itself: the record's own count may be an
// answer behind when the program was stopped right after one.
int StoredAnswerCount(const TOpenRecord &record)
{
    QSqlQuery query = RecordQuery(
        DM->ACon, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE ExamineID=? AND AnswerResult<>''").arg(record.PaperTable),
        {record.ExamineID});
    return query.next() ? query.value(0).toInt() : record.AnsweredCount;
}

} // namespace

QString RunPaperTable()
{
    return IsPracticeMode(RunContext.PracticeMode) ? QStringLiteral("T_KS_ExamineTheme_TT")
                                                   : QStringLiteral("T_KS_ExamineTheme");
}

int AnsweredCount(TQuery &paper)
{
    const int column = paper.FieldByName(QStringLiteral("AnswerResult"))->Index();
    int answered = 0;
    for (int row = 0; row < paper.RecordCount(); ++row)
        answered += paper.RowValue(row, column).toString().isEmpty() ? 0 : 1;
    return answered;
}

QString ResumeQuestion(int answeredCount, int secondsLeft)
{
    return QStringLiteral("上次的考试尚未交卷（已答 %1 题，剩余 %2 分 %3 秒），是否继续？")
        .arg(answeredCount)
        .arg(secondsLeft / 60)
        .arg(secondsLeft % 60);
}

TExamRecording::TExamRecording(std::function<TAnsweringState()> progress, QObject *parent)
    : QObject(parent),
      FProgress(std::move(progress)),
      FAfterAnswer(new QTimer(this))
{
    FAfterAnswer->setSingleShot(true);
    FAfterAnswer->setInterval(0);
    connect(FAfterAnswer, &QTimer::timeout, this, &TExamRecording::KeepCurrent);
}

TExamRecording::~TExamRecording() = default;

bool TExamRecording::Prepare()
{
    if (!FPrepared) {
        FPrepared = true;
        QString reason;
        if (EnsureRecordTables(DM ? DM->ACon : nullptr, &reason))
            FStore = std::make_unique<TExamRecord>(DM->ACon);
        else
            ShowInfo(reason);
    }
    return FStore != nullptr;
}

std::optional<TOpenRecord> TExamRecording::OfferResume()
{
    if (!Prepare())
        return std::nullopt;
    const TRecordStart run = RecordStartOf(RunContext, 0, QString(), 0, 0);
    std::optional<TOpenRecord> open = FStore->FindOpen(run.DriveTypeCode, run.PracticeMode, run.PracticeScope,
                                                       run.ProgramFolder, run.Seat, run.CandidateIdNumber);
    if (!open)
        return std::nullopt;
    if (AskOkCancel(ResumeQuestion(StoredAnswerCount(*open), open->SecondsLeft)) != 1) {
        FStore->Abandon(open->RecordID, open->PaperTable, open->ExamineID, open->SecondsLeft);
        return std::nullopt;
    }
    FRecordId = open->RecordID;
    return open;
}

void TExamRecording::Open(qint64 examineId, int examMinutes, int questionCount)
{
    if (!Prepare())
        return;
    try {
        FRecordId = FStore->Open(RecordStartOf(RunContext, examineId, RunPaperTable(), examMinutes, questionCount));
    } catch (const EExamoraError &error) {
        // The paper is worked and handed in as ever, only without its record.
        ShowInfo(QStringLiteral("本次成绩不会保存为学习记录。（%1）").arg(error.Message()));
    }
}

void TExamRecording::AnswerCommitted()
{
    if (FRecordId > 0)
        FAfterAnswer->start();
}

void TExamRecording::ClockTicked()
{
    if (FRecordId > 0 && ++FTicks % KTicksBetweenUpdates == 0)
        KeepCurrent();
}

void TExamRecording::KeepCurrent()
{
    if (FRecordId <= 0)
        return;
    const TAnsweringState progress = FProgress();
    try {
        FStore->KeepCurrent(FRecordId, progress.SecondsLeft, progress.AnsweredCount);
    } catch (const EExamoraError &) {
        // A bank busy for a moment: the paper holds every answer, and the
        // next update, a few seconds on, catches up.
    }
}

void TExamRecording::HandIn(qint64 examineId, int secondsLeft)
{
    const qint64 recordId = FRecordId;
    FRecordId = 0;
    FAfterAnswer->stop();
    if (recordId > 0) {
        try {
            FStore->HandIn(recordId, RunPaperTable(), examineId, secondsLeft);
            return;
        } catch (const EExamoraError &) {
            // Kept open, the record is not offered again once its paper is gone.
        }
    }
    DeletePaper(examineId);
}

void TExamRecording::Abandon(qint64 examineId, int secondsLeft)
{
    if (FRecordId > 0)
        FStore->Abandon(FRecordId, RunPaperTable(), examineId, secondsLeft);
    FRecordId = 0;
}
