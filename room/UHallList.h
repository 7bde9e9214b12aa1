#pragma once

#include <optional>
#include <vector>

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

class TConnection;

// One seat's paper as its record row holds it: open while the candidate
// works, handed in or abandoned once finished.
struct THallPaper
{
    qint64 RecordID = 0;
    QString Seat;
    QString CandidateName;
    QString CandidateIdNumber;
    QString DriveTypeCaption;
    QString Status;
    std::optional<int> AnsweredCount;
    std::optional<int> QuestionCount;
    std::optional<int> SecondsLeft;
    std::optional<int> Score;
    std::optional<bool> Passed; // none for the practice modes
    QDateTime StartedAt;
    QDateTime HandedInAt;
};

// What the room view shows: the papers being worked and those finished.
struct THallList
{
    std::vector<THallPaper> Open;     // by seat
    std::vector<THallPaper> Finished; // newest first
};

// The papers of the room (every room when roomName is empty) started since
// `since` and still open, and those handed in or abandoned since then.
// Only reads; throws EDatabaseError with the engine's text.
THallList ReadHallList(TConnection *connection, const QString &roomName, const QDateTime &since);

// The columns and cells of the two lists, as the window and the print show them.
QStringList OpenPaperHeader();
QStringList OpenPaperCells(const THallPaper &paper);
QStringList FinishedPaperHeader();
QStringList FinishedPaperCells(const THallPaper &paper);

// "合格", "不合格", "已放弃"; empty for a practice paper.
QString HallVerdict(const THallPaper &paper);

// Both lists in one table, the open papers first, for a spreadsheet.
QByteArray HallCsv(const THallList &list);

// The printed page: a title with the room and the time, then both lists.
QString HallPrintHtml(const THallList &list, const QString &roomName, const QDateTime &at);
