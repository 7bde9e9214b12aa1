#pragma once

#include <vector>

#include <QString>

class TConnection;

// The wrong-answer book: the questions a learner still gets wrong.

// The rule on one question's recorded answers, newest first (true = right):
// in the book once answered wrong, out again after two right answers in a row.
bool StaysInBook(const std::vector<bool> &rightNewestFirst);

struct TBookEntry
{
    int ThemeID = 0;
    int WrongTimes = 0;
    QString LastWrongAt; // HandedInAt of the newest paper that got it wrong
};

// The book of a licence class: its recorded papers' questions within the
// chapter filter (an SQL condition on T_KS_THEME, empty for every chapter),
// newest mistakes first. Throws EDatabaseError when a statement fails.
std::vector<TBookEntry> ReadWrongBook(TConnection *connection, const QString &driveTypeCode,
                                      const QString &chapterFilter);
