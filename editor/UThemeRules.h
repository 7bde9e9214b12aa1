#pragma once

#include <QString>
#include <QStringList>

class TConnection;
class TQuery;

// The rules of the question-bank editor, apart from its window.

// The paging bar's base statement: the bank in question-number order.
inline const QString KThemePageSql = QStringLiteral("select ThemeID as Xh, * from T_KS_THEME");

// The three question types: codes and the names the exam screen uses.
inline const QStringList KThemeTypeCodes{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
inline const QStringList KThemeTypeNames{QStringLiteral("判断"), QStringLiteral("单选"), QStringLiteral("多选")};

// A question as the editor is about to save it.
struct TThemeDraft
{
    int Type = 0;          // 1 true/false, 2 single choice, 3 multiple choice
    QStringList Options;   // texts of options 1 … 5
    QString Result;        // the right answer as typed
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
