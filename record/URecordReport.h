#pragma once

#include <vector>

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class TConnection;

// A past paper as its record row holds it. Counts stay as stored, so that a
// damaged row is shown as it is rather than mended or dropped.
struct TPastPaper
{
    qint64 RecordID = 0;
    QString StartedAt;
    QString HandedInAt;
    QString PracticeMode;
    QString PracticeScope;
    QString ScopeName; // the chapter's name for chapter practice, else the scope
    QString Status;
    QVariant QuestionCount;
    QVariant RightCount;
    QVariant WrongCount;
    QVariant Score;
    QVariant Passed;
};

// The licence class's papers, newest first. Throws EDatabaseError.
std::vector<TPastPaper> ReadPastPapers(TConnection *connection, const QString &driveTypeCode);

// The list's columns and one paper's cells, as the window shows them and
// the export writes them.
QStringList PastPaperHeader();
QStringList PastPaperCells(const TPastPaper &paper);
QByteArray PastPapersCsv(const std::vector<TPastPaper> &papers);

struct TScorePoint
{
    QDateTime At;
    int Score = 0;
};

// Handed-in mock exams with a readable time and score, oldest first.
std::vector<TScorePoint> MockExamScores(const std::vector<TPastPaper> &papers);

// How ready the learner is, from the five newest mock exams.
struct TReadiness
{
    int Exams = 0;
    int Average = 0;
    int Passes = 0;

    bool Ready() const { return Exams == 5 && Passes == 5; }
    // "最近 5 次模拟考试平均 N 分，合格 M 次"
    QString Line() const;
    // The plain verdict once the last five all passed; empty before.
    QString Verdict() const;
};

TReadiness ReadinessOf(const std::vector<TScorePoint> &scoresOldestFirst);

// Right answers among the counted answers of one chapter or question type.
struct TAccuracy
{
    QString Name;
    int Asked = 0;
    int Right = 0;

    QString PercentText() const;
};

// Per chapter (named from T_KS_CHAPTER) and per question type (判断, 单选,
// 多选), in number order. Throws EDatabaseError.
std::vector<TAccuracy> ChapterAccuracy(TConnection *connection, const QString &driveTypeCode);
std::vector<TAccuracy> TypeAccuracy(TConnection *connection, const QString &driveTypeCode);
