#pragma once

#include <QString>

class TQuery;

// The process-wide values the set-up dialogs fill and the rest reads.
// One thread, no accessors: every unit reads and writes them directly.
struct TRunContext
{
    QString AppPath;       // folder of the executable, ending in the separator
    QString DriveTypeCode; // "001" … "005", "101" … "104"
    QString DriveTypeCaption;
    QString ChapterFilter;     // an SQL condition on THEMECHAPTER
    QString PracticeMode;      // "1" set, "2" chapter, "3" (or empty, "0") mock exam
    QString PracticeScope;     // set number or chapter number
    QString CandidateIdNumber; // empty, or in an exam room the number the candidate signed in with
    QString CandidateName;     // exam room only: the candidate's name
    QString RoomName;          // exam room only: the room's name from ExamRoom.cfg
};

extern TRunContext RunContext;

// Message boxes with fixed captions; AskOkCancel returns 1 (OK) or 2.
void ShowError(const QString &text);
void ShowInfo(const QString &text);
int AskOkCancel(const QString &text);

// Statement runners on DM.ACon. They never raise: failure is false,
// nullptr or -1, and the caller chooses the message.
bool OpenQuery(TQuery *query, const QString &sql);
TQuery *CreateOpenQuery(const QString &sql);
int ExecSql(const QString &sql);

// "major.minor" of the executable's file version, "0.00" without one.
QString GetVersionText();
// "release.build" of the same version, "0.00" without one.
QString GetSystemFlagText();
QString GetComputerNameText();

int CountChar(const QString &text, QChar c);
int CountCharText(const QString &text, const QString &search);
// The classic Trim: blanks and control characters off both ends.
QString TrimBlanks(const QString &text);
QString GetField(const QString &text, int fieldNumber, QChar separator);
QString GetDataSource(const QString &connectionString);

// The mode table's one switch: "1" and "2" are the practice modes, every
// other value (also empty and "0") the mock exam.
bool IsPracticeMode(const QString &practiceMode);
