#include "UExamRules.h"

#include <algorithm>
#include <array>
#include <utility>

#include "UComm.h"

namespace {

bool IsBlankOrControl(QChar c)
{
    return c.unicode() <= 32;
}

// Only the ASCII letters change case in the right-answer rule.
QChar AsciiUpper(QChar c)
{
    return c >= QLatin1Char('a') && c <= QLatin1Char('z') ? QChar(c.unicode() - 32) : c;
}

} // namespace

TPracticeKind PracticeKindOf(const QString &practiceMode)
{
    if (!IsPracticeMode(practiceMode))
        return TPracticeKind::MockExam;
    return practiceMode == QLatin1String("1") ? TPracticeKind::SetPractice : TPracticeKind::ChapterPractice;
}

QString TrimEntry(const QString &text)
{
    return TrimBlanks(text);
}

bool IsValidAnswerEntry(const QString &entry, int themeType, const QString &offeredOptions)
{
    switch (themeType) {
    case 1:
    case 2: return entry.size() == 1 && offeredOptions.contains(entry.at(0));
    case 3:
        for (const QChar c : entry) {
            if (!offeredOptions.contains(c) || CountCharText(entry, QString(c)) > 1)
                return false;
        }
        return true;
    default: return true;
    }
}

QString NormalAnswer(const QString &entry)
{
    if (entry.isEmpty())
        return QString();
    QString padded = entry;
    while (padded.size() < 5)
        padded += QLatin1Char('0');
    std::array<QChar, 5> c{padded.at(0), padded.at(1), padded.at(2), padded.at(3), padded.at(4)};
    // The ten compare-and-swap steps of the stored form, in their order.
    static constexpr std::array<std::pair<int, int>, 10> steps{
        {{0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}}};
    for (const auto &[a, b] : steps) {
        if (c[a].unicode() > c[b].unicode())
            std::swap(c[a], c[b]);
    }
    QString answer;
    for (const QChar ch : c) {
        if (!IsBlankOrControl(ch) && ch != QLatin1Char('0'))
            answer += ch;
    }
    return answer;
}

bool IsAnswerRight(const QString &themeResult, const QString &answerResult)
{
    if (themeResult.size() != answerResult.size())
        return false;
    for (qsizetype i = 0; i < themeResult.size(); ++i) {
        if (AsciiUpper(themeResult.at(i)) != AsciiUpper(answerResult.at(i)))
            return false;
    }
    return true;
}

QString PracticeFeedback(const QString &answer, const QString &rightAnswer)
{
    if (answer == rightAnswer)
        return QStringLiteral("恭喜你答对了，正确答案：") + rightAnswer;
    return QStringLiteral("很遗憾，答错了，正确答案：") + rightAnswer;
}

QString CorrectAnswerLine(const QString &rightAnswer)
{
    return QStringLiteral("正确答案：") + rightAnswer;
}

QString ValidityFlag(const QString &answer, int validityIndex)
{
    return answer.isEmpty() ? QString() : QString::number(validityIndex);
}

int ValidityIndexOf(const QString &storedFlag, const QString &storedAnswer)
{
    return storedFlag == QLatin1String("1") && !storedAnswer.isEmpty() ? 1 : 0;
}

TAnswerState AnswerStateOf(const QString &answer, int validityIndex)
{
    if (answer.isEmpty())
        return asUnanswered;
    return validityIndex == 0 ? asCertain : asUncertain;
}

QString QuestionTypeName(int themeType)
{
    switch (themeType) {
    case 1: return QStringLiteral("判断");
    case 2: return QStringLiteral("单选");
    case 3: return QStringLiteral("多选");
    default: return QString();
    }
}

QString TypeLine(int themeType)
{
    return QStringLiteral("（本题为 ") + QuestionTypeName(themeType) + QStringLiteral("）");
}

QString QuestionLine(const QString &idText, const QString &content)
{
    return QStringLiteral("    ") + idText + QStringLiteral("、") + content;
}

QString ClockText(int secondsLeft)
{
    const int hours = secondsLeft / 3600;
    const int minutes = (secondsLeft - hours * 3600) / 60;
    const int seconds = secondsLeft % 60;
    const auto twoDigits = [](int value) { return QString::number(value).rightJustified(2, QLatin1Char('0')); };
    return twoDigits(hours) + QStringLiteral("小时") + twoDigits(minutes) + QStringLiteral("分") + twoDigits(seconds)
        + QStringLiteral("秒");
}

QColor ClockColor(int secondsLeft)
{
    return secondsLeft < 300 ? QColor(255, 0, 0) : QColor(51, 51, 51);
}

namespace {

QString CountsLine(int rightCount, int wrongCount, int score)
{
    return QStringLiteral("本次答题共正确 %1 道，错误 %2 道，得分 %3 分。").arg(rightCount).arg(wrongCount).arg(score);
}

const QString KAskForSheet = QStringLiteral("是否需要查询答题信息？");

} // namespace

QString HandInSummary(int rightCount, int wrongCount, int score)
{
    return CountsLine(rightCount, wrongCount, score) + QLatin1Char('\r') + KAskForSheet;
}

QString MockExamSummary(int rightCount, int wrongCount, int score)
{
    return CountsLine(rightCount, wrongCount, score) + QLatin1Char('\r') + VerdictText(score) + QLatin1Char('\r')
        + KAskForSheet;
}

QString VerdictText(int score)
{
    return score >= KPassScore ? QStringLiteral("成绩合格") : QStringLiteral("成绩不合格");
}

QString HandInQuestion(int unansweredCount)
{
    const QString question = QStringLiteral("交卷后系统将关闭答题功能，确定要交卷吗？");
    if (unansweredCount <= 0)
        return question;
    return QStringLiteral("您还有 %1 道题未答。").arg(unansweredCount) + QLatin1Char('\r') + question;
}

QString TimeUpText()
{
    return QStringLiteral("考试时间到，系统已自动交卷。");
}

QString ChapterSummary(int rightCount)
{
    return QStringLiteral("本次答题共正确 %1 道。").arg(rightCount);
}
