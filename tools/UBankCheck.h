#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include "UBankBalance.h"

// Finds what in a question bank would make a mock exam or a practice run
// fail or go wrong. Each finding is one plain line in Chinese.

enum class TBankProblem {
    MissingTable,
    MissingColumn,
    TemplateCount, // a licence class without exactly one active template
    RandomThemeNull,
    ExamTimeMissing, // KSSJ NULL or not above 0
    NoContentRows,
    PointsTotal, // BitCount of a template not adding up to 100
    RowPoints,   // BitCount not SelectCount × ThemeBit
    ContentValueNull,
    ContentValueNotWhole, // part, chapter or type not a whole number
    ThemeCountBelowSelect,
    ThemeCountMismatch, // ThemeCount not the candidates the bank holds
    DuplicateThemeId,
    ThemeIdNull,
    ThemeTypeInvalid,
    OptionNull, // an option NULL rather than empty text
    AnswerEmpty,
    AnswerNotAscending,
    AnswerEmptyOption,
    AnswerSeveralForSingle, // true/false or single choice with more than one option
    PictureNotJpeg,
    SetNumberBlank,      // TT of empty or blank text: a nameless set in the list
    NoteWithoutQuestion, // an explanation for a question the bank lacks
};

struct TBankFinding
{
    TBankProblem Problem;
    QString Text;
};

// The problems, and (when the tables are sound) the balance of the keys.
struct TBankReport
{
    QList<TBankFinding> Findings;
    TBankBalance Balance;
};

// Checks the bank on an open connection. Throws EDatabaseError when a
// statement fails for another reason than a missing table or column.
QList<TBankFinding> CheckBank(const QSqlDatabase &db);

// Opens the file read-only and checks it. Throws EDatabaseError when the
// file is missing or not an SQLite database.
QList<TBankFinding> CheckBankFile(const QString &fileName);

TBankReport ReportOnBank(const QSqlDatabase &db);
TBankReport ReportOnBankFile(const QString &fileName);
