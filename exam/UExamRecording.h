#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QObject>
#include <QString>

#include "URecordStore.h"

class QTimer;
class TQuery;

// Where the exam screen's paper stands, as its learning record keeps it.
struct TAnsweringState
{
    int SecondsLeft = 0;
    int AnsweredCount = 0;
};

// The learning record of the exam screen's paper: opened once the paper is
// stored, kept current while it is answered, completed at hand-in, and an
// open paper of an earlier run offered for resuming. A bank that cannot
// keep records is reported once; from then on no record call is made.
class TExamRecording : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TExamRecording)

public:
    // progress is read whenever the record is brought up to date.
    TExamRecording(std::function<TAnsweringState()> progress, QObject *parent);
    ~TExamRecording() override;

    // Before a paper is loaded: when an open paper of this class, mode and
    // scope was left by an earlier run, asks whether to go on with it. OK
    // gives that paper, now this run's record; Cancel abandons it and
    // gives none, as does a bank without one.
    std::optional<TOpenRecord> OfferResume();
    // The paper just stored gets its "open" record.
    void Open(qint64 examineId, int examMinutes, int questionCount);

    // An answer was committed: the record follows once the answer's own
    // handling is done, so that the answer is never kept waiting.
    void AnswerCommitted();
    // One second of the exam clock went by; every fifth brings the record up to date.
    void ClockTicked();

    // Scores the paper into its record and deletes the paper's rows in one
    // transaction; without a record only the rows are deleted, as always.
    void HandIn(qint64 examineId, int secondsLeft);
    // A paper that cannot be worked (no questions) is given up.
    void Abandon(qint64 examineId, int secondsLeft);

private:
    bool Prepare();
    void KeepCurrent();

    std::function<TAnsweringState()> FProgress;
    std::unique_ptr<TExamRecord> FStore; // none while the bank cannot keep records
    bool FPrepared = false;
    qint64 FRecordId = 0;
    int FTicks = 0;
    QTimer *FAfterAnswer;
};

// The paper table of the run's practice mode.
QString RunPaperTable();
// The questions of the paper answered so far.
int AnsweredCount(TQuery &paper);
// "上次的考试尚未交卷（已答 N 题，剩余 M 分 S 秒），是否继续？"
QString ResumeQuestion(int answeredCount, int secondsLeft);
