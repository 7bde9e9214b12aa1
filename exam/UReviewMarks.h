#pragma once

#include <QString>

#include "UExamRules.h"

// How the answer sheet marks a question, while answering and in the review
// after hand-in, and how the review marks its options: with a sign and
// words, so that nothing rests on colour alone.

// "•" answered, "?" uncertain, nothing when unanswered.
QString AnswerStateSign(TAnswerState state);
// "第 3 题：已答", "第 3 题：不确定" or "第 3 题：未答", for a screen reader.
QString AnswerStateDescription(int number, TAnswerState state);

enum class TReviewMark { Right, Wrong, Unanswered };

// The right-answer rule of scoring; an empty answer is unanswered.
TReviewMark ReviewMarkOf(const QString &themeResult, const QString &answerResult);
// "✓", "✗" or "–".
QString ReviewSign(TReviewMark mark);
// "第 3 题：答错", for the accessible description of a sheet button.
QString ReviewDescription(int number, TReviewMark mark);

// What option n (1 to 5) of a question in review is: one of the right
// answer, one the candidate chose, both or neither.
struct TOptionReview
{
    bool Right = false;
    bool Chosen = false;
};
TOptionReview OptionReviewOf(int option, const QString &answerResult, const QString &themeResult);
// The words set after the option's text: "  ✓正确答案", "  ✗您的选择",
// "  ✓正确答案 · 您的选择" or nothing.
QString OptionReviewNote(const TOptionReview &review);
