#include "URecordStore.h"

#include <QSqlError>
#include <QSysInfo>

#include "UComm.h"
#include "UConnection.h"
#include "UDbError.h"
#include "UEngineErrorText.h"
#include "UExamRules.h"
#include "URecordRules.h"

struct TExamRecord::TPaperRow
{
    QVariant ID, ThemeID, ThemeChapter, ThemePart, ThemeType, ThemeBit;
    QString ThemeResult, AnswerResult, YxxSt;
    bool IsRight = false;
};

namespace {

const QStringList KPaperColumns{QStringLiteral("ID"),           QStringLiteral("ThemeID"),
                                QStringLiteral("ThemeChapter"), QStringLiteral("ThemePart"),
                                QStringLiteral("ThemeType"),    QStringLiteral("ThemeBit"),
                                QStringLiteral("ThemeResult"),  QStringLiteral("AnswerResult"),
                                QStringLiteral("Yxx_St")};

// Outside an exam room the room's columns stay NULL, as in rows written
// before they existed.
QVariant RoomValue(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

QString LocalTimeText(const QDateTime &time)
{
    return time.toString(Qt::ISODate);
}

// Rolls back unless committed, so that every way out of a hand-in that
// failed halfway leaves the bank as it was.
class TRecordTransaction
{
public:
    explicit TRecordTransaction(QSqlDatabase db)
        : FDb(std::move(db))
    {
        if (!FDb.transaction())
            throw EngineError(FDb.lastError(), FDb.driver());
    }
    ~TRecordTransaction()
    {
        if (!FCommitted)
            FDb.rollback();
    }
    TRecordTransaction(const TRecordTransaction &) = delete;
    TRecordTransaction &operator=(const TRecordTransaction &) = delete;

    void Commit()
    {
        if (!FDb.commit())
            throw EngineError(FDb.lastError(), FDb.driver());
        FCommitted = true;
    }

private:
    QSqlDatabase FDb;
    bool FCommitted = false;
};

} // namespace

bool IsPaperTable(const QString &table)
{
    return table.compare(QLatin1String("T_KS_ExamineTheme"), Qt::CaseInsensitive) == 0
        || table.compare(QLatin1String("T_KS_ExamineTheme_TT"), Qt::CaseInsensitive) == 0;
}

TRecordStart RecordStartOf(const TRunContext &run, qint64 examineId, const QString &paperTable, int examMinutes,
                           int questionCount)
{
    TRecordStart start;
    start.ExamineID = examineId;
    start.PaperTable = paperTable;
    start.PracticeMode = run.PracticeMode;
    start.PracticeScope = run.PracticeScope;
    start.DriveTypeCode = run.DriveTypeCode;
    start.DriveTypeCaption = run.DriveTypeCaption;
    start.CandidateIdNumber = run.CandidateIdNumber;
    start.CandidateName = run.CandidateName;
    start.RoomName = run.RoomName;
    start.Seat = QSysInfo::machineHostName();
    start.ProgramFolder = run.AppPath;
    start.ExamMinutes = examMinutes;
    start.QuestionCount = questionCount;
    return start;
}

TExamRecord::TExamRecord(TConnection *connection)
    : FConnection(connection)
{
}

QSqlQuery TExamRecord::Run(const QString &sql, const QVariantList &binds)
{
    return RecordQuery(FConnection, sql, binds);
}

qint64 TExamRecord::Open(const TRecordStart &start)
{
    QSqlQuery query = Run(QStringLiteral(
                              "INSERT INTO T_KS_ExamRecord (ExamineID, PaperTable, PracticeMode, PracticeScope, "
                              "DriveTypeCode, DriveTypeCaption, CandidateIdNumber, CandidateName, RoomName, Seat, "
                              "ProgramFolder, StartedAt, ExamMinutes, SecondsLeft, QuestionCount, AnsweredCount, "
                              "Status) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,0,'open') RETURNING RecordID"),
                          {start.ExamineID, start.PaperTable, start.PracticeMode, start.PracticeScope,
                           start.DriveTypeCode, start.DriveTypeCaption, start.CandidateIdNumber,
                           RoomValue(start.CandidateName), RoomValue(start.RoomName), start.Seat, start.ProgramFolder,
                           LocalTimeText(Clock()), start.ExamMinutes, start.ExamMinutes * 60, start.QuestionCount});
    if (!query.next())
        throw EDatabaseError(QStringLiteral("学习记录未能写入。"));
    return query.value(0).toLongLong();
}

bool TExamRecord::ExecKeepCurrent(qint64 recordId, int secondsLeft, int answeredCount)
{
    if (FKeepCurrent.lastQuery().isEmpty()) {
        FKeepCurrent = QSqlQuery(FConnection->Database());
        if (!FKeepCurrent.prepare(QStringLiteral("UPDATE T_KS_ExamRecord SET SecondsLeft=?, AnsweredCount=? "
                                                 "WHERE RecordID=? AND Status='open'")))
            return false;
    }
    FKeepCurrent.bindValue(0, secondsLeft);
    FKeepCurrent.bindValue(1, answeredCount);
    FKeepCurrent.bindValue(2, recordId);
    return FKeepCurrent.exec();
}

void TExamRecord::KeepCurrent(qint64 recordId, int secondsLeft, int answeredCount)
{
    if (!FConnection || !FConnection->Connected())
        throw EDatabaseError(QStringLiteral("没有打开的题库。"));
    // Prepared once, as it runs every few seconds for hours; prepared anew
    // when the connection has been reopened since.
    if (ExecKeepCurrent(recordId, secondsLeft, answeredCount))
        return;
    FKeepCurrent = QSqlQuery();
    if (!ExecKeepCurrent(recordId, secondsLeft, answeredCount)) {
        const EDatabaseError error = EngineError(FKeepCurrent.lastError(), FKeepCurrent.driver());
        FKeepCurrent = QSqlQuery();
        throw error;
    }
}

TRecordOutcome TExamRecord::HandIn(qint64 recordId, const QString &paperTable, qint64 examineId, int secondsLeft)
{
    return Close(recordId, paperTable, examineId, secondsLeft, KStatusHandedIn);
}

TRecordOutcome TExamRecord::Abandon(qint64 recordId, const QString &paperTable, qint64 examineId, int secondsLeft)
{
    return Close(recordId, paperTable, examineId, secondsLeft, KStatusAbandoned);
}

std::vector<TExamRecord::TPaperRow> TExamRecord::ReadPaper(const QString &paperTable, qint64 examineId)
{
    QSqlQuery query = Run(QStringLiteral("SELECT %1 FROM %2 WHERE ExamineID=? ORDER BY ID")
                              .arg(KPaperColumns.join(QLatin1Char(',')), paperTable),
                          {examineId});
    std::vector<TPaperRow> rows;
    while (query.next()) {
        TPaperRow row{query.value(0),
                      query.value(1),
                      query.value(2),
                      query.value(3),
                      query.value(4),
                      query.value(5),
                      query.value(6).toString(),
                      query.value(7).toString(),
                      query.value(8).toString()};
        row.IsRight = IsAnswerRight(row.ThemeResult, row.AnswerResult);
        rows.push_back(std::move(row));
    }
    return rows;
}

QString TExamRecord::RecordMode(qint64 recordId)
{
    QSqlQuery query = Run(QStringLiteral("SELECT PracticeMode FROM T_KS_ExamRecord WHERE RecordID=? AND Status='open'"),
                          {recordId});
    if (!query.next())
        throw EDatabaseError(QStringLiteral("学习记录 %1 不存在或已结束。").arg(recordId));
    return query.value(0).toString();
}

TRecordOutcome TExamRecord::Close(qint64 recordId, const QString &paperTable, qint64 examineId, int secondsLeft,
                                  const QString &status)
{
    if (!IsPaperTable(paperTable))
        throw EDatabaseError(QStringLiteral("“%1”不是试卷表。").arg(paperTable));
    // Only this run writes its paper, so it may be read before the transaction.
    const std::vector<TPaperRow> rows = recordId > 0 ? ReadPaper(paperTable, examineId) : std::vector<TPaperRow>();
    TRecordOutcome outcome;
    if (recordId > 0) {
        outcome.QuestionCount = int(rows.size());
        for (const TPaperRow &row : rows) {
            outcome.AnsweredCount += row.AnswerResult.isEmpty() ? 0 : 1;
            outcome.RightCount += row.IsRight ? 1 : 0;
            outcome.Score += row.IsRight ? row.ThemeBit.toInt() : 0;
        }
        outcome.WrongCount = outcome.QuestionCount - outcome.RightCount;
        if (RecordModeOf(RecordMode(recordId)) == TRecordMode::MockExam)
            outcome.Passed = outcome.Score >= KPassScore;
    }
    TRecordTransaction transaction(FConnection->Database());
    if (recordId > 0)
        WriteOutcome(recordId, rows, outcome, secondsLeft, status);
    Run(QStringLiteral("DELETE FROM %1 WHERE ExamineID=?").arg(paperTable), {examineId});
    transaction.Commit();
    return outcome;
}

void TExamRecord::WriteOutcome(qint64 recordId, const std::vector<TPaperRow> &rows, const TRecordOutcome &outcome,
                               int secondsLeft, const QString &status)
{
    for (const TPaperRow &row : rows) {
        Run(QStringLiteral("INSERT INTO T_KS_ExamRecordTheme (RecordID, ID, ThemeID, ThemeChapter, ThemePart, ThemeType, "
                           "ThemeBit, ThemeResult, AnswerResult, Yxx_St, IsRight) VALUES (?,?,?,?,?,?,?,?,?,?,?)"),
            {recordId, row.ID, row.ThemeID, row.ThemeChapter, row.ThemePart, row.ThemeType, row.ThemeBit,
             row.ThemeResult, row.AnswerResult, row.YxxSt, row.IsRight ? 1 : 0});
    }
    const QVariant passed = outcome.Passed ? QVariant(*outcome.Passed ? 1 : 0) : QVariant();
    const QSqlQuery update = Run(QStringLiteral("UPDATE T_KS_ExamRecord SET HandedInAt=?, SecondsLeft=?, QuestionCount=?, "
                                                "AnsweredCount=?, RightCount=?, WrongCount=?, Score=?, Passed=?, Status=? "
                                                "WHERE RecordID=? AND Status='open'"),
                                 {LocalTimeText(Clock()), secondsLeft, outcome.QuestionCount, outcome.AnsweredCount,
                                  outcome.RightCount, outcome.WrongCount, outcome.Score, passed, status, recordId});
    if (update.numRowsAffected() != 1)
        throw EDatabaseError(QStringLiteral("学习记录 %1 不存在或已结束。").arg(recordId));
}

int TExamRecord::PaperRowCount(const QString &paperTable, qint64 examineId)
{
    QSqlQuery query = Run(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE ExamineID=?").arg(paperTable), {examineId});
    return query.next() ? query.value(0).toInt() : 0;
}

std::optional<TOpenRecord> TExamRecord::FindOpen(const QString &driveTypeCode, const QString &practiceMode,
                                                 const QString &practiceScope, const QString &programFolder,
                                                 const QString &seat, const QString &candidateIdNumber)
{
    QVariantList binds{driveTypeCode, practiceMode, practiceScope};
    QString whose = QStringLiteral("(ProgramFolder=? OR Seat=?)");
    if (candidateIdNumber.isEmpty()) {
        binds << programFolder << seat;
    } else {
        whose = QStringLiteral("CandidateIdNumber=?");
        binds << candidateIdNumber;
    }
    // A mock exam has no scope, kept as NULL or as the empty text alike.
    QSqlQuery query = Run(QStringLiteral(
                              "SELECT RecordID, ExamineID, PaperTable, AnsweredCount, SecondsLeft, QuestionCount "
                              "FROM T_KS_ExamRecord WHERE Status='open' AND DriveTypeCode=? AND PracticeMode=? "
                              "AND COALESCE(PracticeScope,'')=COALESCE(?,'') AND %1 ORDER BY RecordID DESC")
                              .arg(whose),
                          binds);
    std::vector<TOpenRecord> candidates;
    while (query.next()) {
        candidates.push_back({query.value(0).toLongLong(), query.value(1).toLongLong(), query.value(2).toString(),
                              CountValue(query.value(3)).value_or(0), CountValue(query.value(4)).value_or(0),
                              CountValue(query.value(5)).value_or(0)});
    }
    for (const TOpenRecord &candidate : candidates) {
        // A record naming no paper table, or whose paper is gone, cannot be resumed.
        if (IsPaperTable(candidate.PaperTable) && PaperRowCount(candidate.PaperTable, candidate.ExamineID) > 0)
            return candidate;
    }
    return std::nullopt;
}
