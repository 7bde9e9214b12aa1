#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

class TConnection;
class TQuery;

// The rules of the question-bank editor, apart from its window.

// The paging bar's base statement: the bank in question-number order.
inline const QString KThemePageSql = QStringLiteral("select ThemeID as Xh, * from T_KS_THEME");

// The three question types' codes; their names are the exam screen's.
inline const QStringList KThemeTypeCodes{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};

// A question picture as the bank's pictures are drawn and the exam screen
// shows them: landscape, 10 : 7.
inline constexpr QSize KThemePictureSize{320, 224};

// The base statement of the list: the whole bank for an empty search, else
// the questions whose number is the search text or whose text contains it.
// The search text never enters the statement; StoreThemeSearch hands it
// over through a table of the connection's own.
QString ThemeListSql(const QString &searchText);
// Writes the search (trimmed) where ThemeListSql reads it, as bound
// values. Throws EDatabaseError.
void StoreThemeSearch(TConnection *connection, const QString &searchText);

// A question as the editor is about to save it.
struct TThemeDraft
{
    int Type = 0;        // 1 true/false, 2 single choice, 3 multiple choice
    QStringList Options; // texts of options 1 … 5
    QString Result;      // the right answer as typed
};

// The answer in the form the exam compares with: option numbers in
// ascending order, each once, blanks and separators dropped.
QString NormaliseResult(const QString &result);

// Checks that the exam can offer and score the question: at least two
// options, an answer made of offered option numbers, one number for
// true/false and single choice, two or more for multiple choice. Returns
// the message to show, or the empty text when the question may be saved.
QString CheckThemeDraft(const TThemeDraft &draft);

// Largest question number + 1, or 1 for an empty bank. Throws EDatabaseError.
int NextThemeId(TConnection *connection);

struct TChapterList
{
    QStringList Names;
    QStringList Codes;
};
// Every chapter in number order. Throws EDatabaseError.
TChapterList ReadChapters(TConnection *connection);

// Option columns the exam tests for empty text: a blank option is stored as
// empty text, never as NULL.
void EmptyTextForBlankOptions(TQuery &query);

// Sets ThemeCount of every template row to the questions the draw finds for
// it now, so that the mock exam draws correctly after questions were added,
// changed or deleted. Returns the number of rows that now hold fewer
// questions than they draw. Throws EDatabaseError.
int RecountTemplateRows(TConnection *connection);
