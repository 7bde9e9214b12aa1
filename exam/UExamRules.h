#pragma once

#include <QColor>
#include <QString>

// The answer rules of the exam screen, apart from its widgets.

// What the paper is worked for. The mode text is read once, by the rule of
// IsPracticeMode: "1" set practice, "2" chapter practice, anything else
// (also empty, "0" and "3") the mock exam.
enum class TPracticeKind { MockExam, SetPractice, ChapterPractice };
TPracticeKind PracticeKindOf(const QString &practiceMode);

// An answer entry is trimmed as the classic Trim does (TrimBlanks).
QString TrimEntry(const QString &text);

// Whether an answer entry (already trimmed, not empty) may be stored for a
// question of the given type. offeredOptions holds the numbers of the
// options on show, e.g. "124". True/false and single choice take exactly
// one offered number; multiple choice takes offered numbers, each once.
// Other types are not checked.
bool IsValidAnswerEntry(const QString &entry, int themeType, const QString &offeredOptions);

// The stored form of an entry: its first five characters sorted, blanks,
// control characters and "0" dropped ("31" gives "13"; "" gives "").
QString NormalAnswer(const QString &entry);

// The right-answer rule of scoring and of the result sheet: both texts
// upper-cased (ASCII letters only), nothing trimmed, equal.
bool IsAnswerRight(const QString &themeResult, const QString &answerResult);

// The practice feedback line; the answer must equal the right answer exactly.
QString PracticeFeedback(const QString &answer, const QString &rightAnswer);
QString CorrectAnswerLine(const QString &rightAnswer);

// The validity flag stored with an answer: "" without an answer, else the
// selector's index ("0" certain, "1" uncertain).
QString ValidityFlag(const QString &answer, int validityIndex);
// The selector index a stored row calls for.
int ValidityIndexOf(const QString &storedFlag, const QString &storedAnswer);

// Answer-sheet button states.
enum TAnswerState { asUnanswered = 0, asUncertain = 1, asCertain = 2 };
TAnswerState AnswerStateOf(const QString &answer, int validityIndex);

// "判断", "单选", "多选"; empty for any other type.
QString QuestionTypeName(int themeType);
QString TypeLine(int themeType);
QString QuestionLine(const QString &idText, const QString &content);

// "HH小时MM分SS秒" and its colour (red in the last five minutes).
QString ClockText(int secondsLeft);
QColor ClockColor(int secondsLeft);

// The mock exam is passed with 90 points or more.
constexpr int KPassScore = 90;

// The hand-in summaries: with the offer of the result sheet, and the short
// one of chapter practice. The mock exam's names its verdict on a line
// between the two of the practice one.
QString HandInSummary(int rightCount, int wrongCount, int score);
QString MockExamSummary(int rightCount, int wrongCount, int score);
QString ChapterSummary(int rightCount);
// "成绩合格" from KPassScore points on, else "成绩不合格".
QString VerdictText(int score);

// The hand-in question; with unanswered questions it first says how many.
QString HandInQuestion(int unansweredCount);
// Told before the summary when the clock handed the paper in.
QString TimeUpText();
