#include "UCandidateId.h"

#include <algorithm>
#include <array>

namespace {

constexpr int KResidentIdLength = 18;
constexpr std::array<int, 17> KCheckWeights{7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
const QString KCheckChars = QStringLiteral("10X98765432");

bool IsAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

QChar CheckCharOf(const QString &first17)
{
    int sum = 0;
    for (int i = 0; i < int(KCheckWeights.size()); ++i)
        sum += first17.at(i).digitValue() * KCheckWeights[std::size_t(i)];
    return KCheckChars.at(sum % 11);
}

// Brackets of both widths and dashes appear in the numbers of passports and
// permits; anything else (blanks, quotes, control characters) is a typing slip.
bool IsOtherIdChar(QChar c)
{
    static const QString allowed = QStringLiteral("-()（）");
    return c.isLetterOrNumber() || allowed.contains(c);
}

QString NameProblem(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("请输入考生姓名。");
    if (name.size() > KMaxNameLength)
        return QStringLiteral("考生姓名不能超过%1个字符。").arg(KMaxNameLength);
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return QStringLiteral("考生姓名中有无法显示的字符，请重新输入。");
    }
    return QString();
}

} // namespace

QString ResidentIdProblem(const QString &idNumber, const QDate &today)
{
    if (idNumber.isEmpty())
        return QStringLiteral("请输入身份证明号码。");
    if (idNumber.size() != KResidentIdLength)
        return QStringLiteral("居民身份证号码应为18位，现为%1位。").arg(idNumber.size());
    const QString first17 = idNumber.left(KResidentIdLength - 1);
    const QChar last = idNumber.at(KResidentIdLength - 1).toUpper();
    if (!std::all_of(first17.begin(), first17.end(), IsAsciiDigit) || !(IsAsciiDigit(last) || last == QLatin1Char('X')))
        return QStringLiteral("居民身份证号码的前17位应为数字，最后一位为数字或X。");
    const QDate birth = QDate::fromString(idNumber.mid(6, 8), QStringLiteral("yyyyMMdd"));
    if (!birth.isValid() || birth.year() < 1900 || birth > today)
        return QStringLiteral("居民身份证号码中的出生日期（第7至14位）不正确。");
    if (CheckCharOf(first17) != last)
        return QStringLiteral("居民身份证号码的校验位不正确，请核对后重新输入。");
    return QString();
}

QString OtherIdProblem(const QString &idNumber)
{
    if (idNumber.isEmpty())
        return QStringLiteral("请输入证件号码。");
    if (idNumber.size() > KMaxOtherIdLength)
        return QStringLiteral("证件号码不能超过%1个字符。").arg(KMaxOtherIdLength);
    if (!std::all_of(idNumber.begin(), idNumber.end(), IsOtherIdChar))
        return QStringLiteral("证件号码只能由字母、数字、括号和“-”组成。");
    return QString();
}

TCandidateCheck CheckCandidate(const QString &idNumber, const QString &name, bool otherDocument, const QDate &today)
{
    TCandidateCheck check;
    check.Candidate.IdNumber = idNumber.trimmed();
    check.Candidate.Name = name.trimmed();
    if (!otherDocument)
        check.Candidate.IdNumber = check.Candidate.IdNumber.toUpper();
    check.Problem = otherDocument ? OtherIdProblem(check.Candidate.IdNumber)
                                  : ResidentIdProblem(check.Candidate.IdNumber, today);
    if (check.Problem.isEmpty()) {
        check.Problem = NameProblem(check.Candidate.Name);
        check.ProblemInName = !check.Problem.isEmpty();
    }
    return check;
}
