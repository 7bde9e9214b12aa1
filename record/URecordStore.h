#pragma once

#include <functional>
#include <optional>

#include <QDateTime>
#include <QSqlQuery>
#include <QString>

class TConnection;
struct TRunContext;

// What is known of a paper when it is stored.
struct TRecordStart
{
    qint64 ExamineID = 0;
    QString PaperTable;
    QString PracticeMode;
    QString PracticeScope;
    QString DriveTypeCode;
    QString DriveTypeCaption;
    QString CandidateIdNumber;
    QString CandidateName; // exam room only, else empty
    QString RoomName;      // exam room only, else empty
    QString Seat;
    QString ProgramFolder;
    int ExamMinutes = 0;
    int QuestionCount = 0;
};

// The start of the run's current paper: this computer as the seat, the
// program folder of the run, in an exam room the candidate and the room.
TRecordStart RecordStartOf(const TRunContext &run, qint64 examineId, const QString &paperTable, int examMinutes,
                           int questionCount);

// The outcome of a handed-in or abandoned paper, as stored in its record.
struct TRecordOutcome
{
    int QuestionCount = 0;
    int AnsweredCount = 0;
    int RightCount = 0;
    int WrongCount = 0;
    int Score = 0;
    std::optional<bool> Passed; // none for the practice modes
};

// An open paper of an earlier run, for the question whether to resume it.
struct TOpenRecord
{
    qint64 RecordID = 0;
    qint64 ExamineID = 0;
    QString PaperTable;
    int AnsweredCount = 0;
    int SecondsLeft = 0;
    int QuestionCount = 0;
};

// The learning record of the papers sat, kept in the bank through the data
// module's connection. Every failing statement throws EDatabaseError.
class TExamRecord
{
public:
    explicit TExamRecord(TConnection *connection);

    // Writes the "open" row of a paper just stored; returns its RecordID.
    qint64 Open(const TRecordStart &start);
    // The clock and the answers so far: one small UPDATE, cheap enough for
    // every answer and every few seconds.
    void KeepCurrent(qint64 recordId, int secondsLeft, int answeredCount);
    // Scores the paper, keeps one row per question and deletes the paper's
    // rows, all in one transaction: a failure leaves the paper as it was.
    // RecordID 0 (no record could be opened) only deletes the paper.
    TRecordOutcome HandIn(qint64 recordId, const QString &paperTable, qint64 examineId, int secondsLeft);
    // The same for a paper given up unfinished.
    TRecordOutcome Abandon(qint64 recordId, const QString &paperTable, qint64 examineId, int secondsLeft);
    // The newest open record of this class, mode and scope from this
    // program folder or this seat whose paper is still stored. In an exam
    // room (a candidate signed in) only that candidate's own papers count,
    // from any seat: every seat shares the program folder's path and the bank.
    std::optional<TOpenRecord> FindOpen(const QString &driveTypeCode, const QString &practiceMode,
                                        const QString &practiceScope, const QString &programFolder, const QString &seat,
                                        const QString &candidateIdNumber = QString());

    // The local time written as StartedAt and HandedInAt.
    std::function<QDateTime()> Clock = [] { return QDateTime::currentDateTime(); };

private:
    struct TPaperRow;
    TRecordOutcome Close(qint64 recordId, const QString &paperTable, qint64 examineId, int secondsLeft,
                         const QString &status);
    bool ExecKeepCurrent(qint64 recordId, int secondsLeft, int answeredCount);
    std::vector<TPaperRow> ReadPaper(const QString &paperTable, qint64 examineId);
    QString RecordMode(qint64 recordId);
    void WriteOutcome(qint64 recordId, const std::vector<TPaperRow> &rows, const TRecordOutcome &outcome,
                      int secondsLeft, const QString &status);
    QSqlQuery Run(const QString &sql, const QVariantList &binds);
    int PaperRowCount(const QString &paperTable, qint64 examineId);

    TConnection *FConnection;
    QSqlQuery FKeepCurrent;
};

// The two paper tables a record may name; any other name is refused.
bool IsPaperTable(const QString &table);
