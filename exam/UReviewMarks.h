#pragma once

#include <QString>

// How the review after hand-in marks a question and its options: with a
// sign and words, so that nothing rests on colour alone.

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
