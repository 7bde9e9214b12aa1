#include "UReviewMarks.h"

#include "UExamRules.h"

namespace {

QString SheetButtonWords(int number, const QString &state)
{
    return QStringLiteral("第 %1 题：").arg(number) + state;
}

} // namespace

QString AnswerStateSign(TAnswerState state)
{
    switch (state) {
    case asCertain: return QStringLiteral("•");
    case asUncertain: return QStringLiteral("?");
    case asUnanswered: break;
    }
    return QString();
}

QString AnswerStateDescription(int number, TAnswerState state)
{
    static const QString words[3] = {QStringLiteral("未答"), QStringLiteral("不确定"), QStringLiteral("已答")};
    return SheetButtonWords(number, words[state]);
}

TReviewMark ReviewMarkOf(const QString &themeResult, const QString &answerResult)
{
    if (TrimEntry(answerResult).isEmpty())
        return TReviewMark::Unanswered;
    return IsAnswerRight(themeResult, answerResult) ? TReviewMark::Right : TReviewMark::Wrong;
}

QString ReviewSign(TReviewMark mark)
{
    switch (mark) {
    case TReviewMark::Right: return QStringLiteral("✓");
    case TReviewMark::Wrong: return QStringLiteral("✗");
    case TReviewMark::Unanswered: break;
    }
    return QStringLiteral("–");
}

QString ReviewDescription(int number, TReviewMark mark)
{
    static const QString words[3] = {QStringLiteral("答对"), QStringLiteral("答错"), QStringLiteral("未答")};
    return SheetButtonWords(number, words[int(mark)]);
}

TOptionReview OptionReviewOf(int option, const QString &answerResult, const QString &themeResult)
{
    const QChar number(u'0' + option);
    return {themeResult.contains(number), answerResult.contains(number)};
}

QString OptionReviewNote(const TOptionReview &review)
{
    if (review.Right && review.Chosen)
        return QStringLiteral("  ✓正确答案 · 您的选择");
    if (review.Right)
        return QStringLiteral("  ✓正确答案");
    if (review.Chosen)
        return QStringLiteral("  ✗您的选择");
    return QString();
}
