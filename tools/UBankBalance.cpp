#include "UBankBalance.h"

#include <QMap>
#include <QSqlError>
#include <QSqlQuery>

#include "UBankFile.h"
#include "UDbError.h"

namespace {

const QStringList KTypeNames{QStringLiteral("判断"), QStringLiteral("单选"), QStringLiteral("多选")};
const QString KPositions = QStringLiteral("ABCD");
const QStringList KKeySizeNames{QStringLiteral("两项"), QStringLiteral("三项"), QStringLiteral("四项")};

constexpr double KTrueShareMin = 40, KTrueShareMax = 60;
constexpr double KPositionMin = 15, KPositionMax = 35;
constexpr double KLongestMax = 40;
constexpr double KMultipleKeyMax = 15;
constexpr double KTypeMixTolerance = 10;

// The keys of one chapter group (科目一 or 科目四).
struct TGroupTally
{
    explicit TGroupTally(const QString &name)
        : Name(name)
    {
    }

    QString Name;
    int TrueFalse = 0;
    int KeyedTrue = 0;
    int Single = 0;
    int Positions[4] = {};
    int Longest = 0;
    int Multiple = 0;
    QMap<QString, int> MultipleKeys;
    int KeySizes[3] = {}; // two, three, four options
};

double Share(int part, int whole)
{
    return whole > 0 ? 100.0 * part / whole : 0;
}

QString Percent(double share)
{
    return QString::number(share, 'f', 1) + QLatin1Char('%');
}

QString Quoted(const QString &text)
{
    return QStringLiteral("“") + text + QStringLiteral("”");
}

// Whether the key's option is longer than each other offered option.
bool KeyIsStrictlyLongest(const QStringList &options, int key)
{
    for (int i = 0; i < options.size(); ++i)
        if (i != key && !options[i].isEmpty() && options[i].size() >= options[key].size())
            return false;
    return true;
}

class TBalanceMeter
{
public:
    explicit TBalanceMeter(const QSqlDatabase &db)
        : FDb(db)
    {
    }

    TBankBalance Run()
    {
        TallyQuestions();
        for (const TGroupTally &group : std::as_const(FGroups)) {
            JudgeTrueFalse(group);
            JudgeSingle(group);
            JudgeMultiple(group);
        }
        JudgeTemplates();
        JudgeSets();
        return FBalance;
    }

private:
    QSqlDatabase FDb;
    QList<TGroupTally> FGroups{TGroupTally(QStringLiteral("科目一")), TGroupTally(QStringLiteral("科目四"))};
    TBankBalance FBalance;

    void Warn(TBalanceRule rule, const QString &text) { FBalance.Warnings.append({rule, text}); }

    QSqlQuery Open(const QString &sql) const { return OpenBankQuery(FDb, sql); }

    void TallyQuestions()
    {
        QSqlQuery rows = Open(QStringLiteral("SELECT ThemeChapter, ThemeType, ThemeResult, ThemeSpareA, ThemeSpareB, "
                                             "ThemeSpareC, ThemeSpareD FROM T_KS_THEME WHERE ThemeChapter=1 "
                                             "OR ThemeChapter BETWEEN 20 AND 26"));
        while (rows.next()) {
            TGroupTally &group = FGroups[rows.value(0).toInt() == 1 ? 0 : 1];
            const QString key = rows.value(2).toString();
            const QStringList options{rows.value(3).toString(), rows.value(4).toString(), rows.value(5).toString(),
                                      rows.value(6).toString()};
            const int first = key.isEmpty() ? -1 : key[0].digitValue() - 1;
            switch (rows.value(1).toInt()) {
            case 1:
                ++group.TrueFalse;
                if (key.size() == 1 && first >= 0 && first < 4 && options[first] == QStringLiteral("正确"))
                    ++group.KeyedTrue;
                break;
            case 2:
                ++group.Single;
                if (key.size() == 1 && first >= 0 && first < 4) {
                    ++group.Positions[first];
                    if (KeyIsStrictlyLongest(options, first))
                        ++group.Longest;
                }
                break;
            case 3:
                ++group.Multiple;
                ++group.MultipleKeys[key];
                if (key.size() >= 2 && key.size() <= 4)
                    ++group.KeySizes[key.size() - 2];
                break;
            }
        }
    }

    void JudgeTrueFalse(const TGroupTally &group)
    {
        if (group.TrueFalse == 0)
            return;
        const double share = Share(group.KeyedTrue, group.TrueFalse);
        FBalance.Figures << QStringLiteral("%1 判断题 %2 道，答案为“正确”的 %3 道，占 %4（应为 40%–60%）")
                                .arg(group.Name)
                                .arg(group.TrueFalse)
                                .arg(group.KeyedTrue)
                                .arg(Percent(share));
        if (share < KTrueShareMin || share > KTrueShareMax)
            Warn(TBalanceRule::TrueKeyShare,
                 QStringLiteral("%1 判断题答案为“正确”的占 %2，不在 40%–60% 之间").arg(group.Name, Percent(share)));
    }

    void JudgeSingle(const TGroupTally &group)
    {
        if (group.Single == 0)
            return;
        QStringList positions;
        for (int i = 0; i < 4; ++i) {
            const double share = Share(group.Positions[i], group.Single);
            positions << KPositions[i] + QLatin1Char(' ') + Percent(share);
            if (share < KPositionMin || share > KPositionMax)
                Warn(TBalanceRule::KeyPosition,
                     QStringLiteral("%1 单选题答案为 %2 的占 %3，不在 15%–35% 之间")
                         .arg(group.Name, KPositions[i], Percent(share)));
        }
        const double longest = Share(group.Longest, group.Single);
        FBalance.Figures << QStringLiteral(
                                "%1 单选题 %2 道，答案为 %3（各应为 15%–35%）；正确选项最长的 %4 道，占 %5（应不超过 40%）")
                                .arg(group.Name)
                                .arg(group.Single)
                                .arg(positions.join(QStringLiteral("、")))
                                .arg(group.Longest)
                                .arg(Percent(longest));
        if (longest > KLongestMax)
            Warn(TBalanceRule::LongestKey,
                 QStringLiteral("%1 单选题中正确选项最长的占 %2，超过 40%").arg(group.Name, Percent(longest)));
    }

    void JudgeMultiple(const TGroupTally &group)
    {
        if (group.Multiple == 0)
            return;
        QString commonKey;
        for (auto key = group.MultipleKeys.cbegin(); key != group.MultipleKeys.cend(); ++key)
            if (commonKey.isNull() || key.value() > group.MultipleKeys.value(commonKey))
                commonKey = key.key();
        const int common = group.MultipleKeys.value(commonKey);
        const double share = Share(common, group.Multiple);
        QStringList sizes;
        QStringList missing;
        for (int i = 0; i < 3; ++i) {
            sizes << QStringLiteral("%1 %2 道").arg(KKeySizeNames[i]).arg(group.KeySizes[i]);
            if (group.KeySizes[i] == 0)
                missing << KKeySizeNames[i];
        }
        FBalance.Figures << QStringLiteral("%1 多选题 %2 道，最常见的答案%3 %4 道，占 %5（应不超过 15%）；答案%6")
                                .arg(group.Name)
                                .arg(group.Multiple)
                                .arg(Quoted(commonKey))
                                .arg(common)
                                .arg(Percent(share))
                                .arg(sizes.join(QStringLiteral("、")));
        if (share > KMultipleKeyMax)
            Warn(TBalanceRule::MultipleKeyShare,
                 QStringLiteral("%1 多选题答案%2占 %3，超过 15%").arg(group.Name, Quoted(commonKey), Percent(share)));
        if (!missing.isEmpty())
            Warn(TBalanceRule::MultipleKeySizes,
                 QStringLiteral("%1 多选题中没有%2的答案").arg(group.Name, missing.join(QStringLiteral("、"))));
    }

    // The paper's mix: 科目一 40 % true/false and 60 % single choice,
    // 科目四 40 %, 40 % and 20 % multiple choice.
    void JudgeTemplates()
    {
        for (const QString &code : LicenceClassCodes()) {
            const QList<double> standard = code.startsWith(QLatin1Char('1')) ? QList<double>{40, 40, 20}
                                                                             : QList<double>{40, 60, 0};
            QSqlQuery models = Open(
                QStringLiteral("SELECT ModelID FROM T_KS_Model WHERE IsUser=1 AND DirvesType='%1'").arg(code));
            QStringList ids;
            while (models.next())
                ids << models.value(0).toString();
            if (ids.size() != 1)
                continue; // reported as a problem of its own
            int counts[3] = {};
            QSqlQuery rows = Open(QStringLiteral("SELECT ThemeType, SUM(SelectCount) FROM T_KS_ThemeModelContent "
                                                 "WHERE ModelID=%1 AND SelectCount>0 GROUP BY ThemeType")
                                      .arg(ids.first()));
            int total = 0;
            while (rows.next()) {
                const int type = rows.value(0).toInt();
                if (type >= 1 && type <= 3)
                    counts[type - 1] += rows.value(1).toInt();
                total += rows.value(1).toInt();
            }
            QStringList figures;
            QStringList shares;
            bool off = false;
            for (int i = 0; i < 3; ++i) {
                const double share = Share(counts[i], total);
                figures << QStringLiteral("%1 %2 道").arg(KTypeNames[i]).arg(counts[i]);
                shares << KTypeNames[i] + QLatin1Char(' ') + Percent(share);
                off = off || qAbs(share - standard[i]) > KTypeMixTolerance;
            }
            const QString name = QStringLiteral("模板 %1（准驾车型 %2）").arg(ids.first(), code);
            FBalance.Figures << name + QStringLiteral("：") + figures.join(QStringLiteral("、"));
            if (off)
                Warn(TBalanceRule::TemplateTypeMix,
                     name
                         + QStringLiteral("的题型比例为 %1，与 %2 相差超过 10 个百分点")
                               .arg(shares.join(QStringLiteral("、")),
                                    QStringLiteral("判断 %1%、单选 %2%、多选 %3%")
                                        .arg(standard[0])
                                        .arg(standard[1])
                                        .arg(standard[2])));
        }
    }

    void JudgeSets()
    {
        // One text over two pictures ("如图所示，这个标志是何含义？") asks two things.
        QSqlQuery twins = Open(
            QStringLiteral("SELECT TT, ThemeContent, COUNT(*) FROM T_KS_THEME WHERE TT IS NOT NULL "
                           "GROUP BY TT, ThemeContent, ThemeImage HAVING COUNT(*) > 1 ORDER BY TT, ThemeContent"));
        int found = 0;
        while (twins.next()) {
            ++found;
            Warn(TBalanceRule::DuplicateInSet,
                 QStringLiteral("套题 %1 中有 %2 道题的题目文字相同：%3")
                     .arg(twins.value(0).toString(), twins.value(2).toString(),
                          Quoted(twins.value(1).toString().left(40))));
        }
        FBalance.Figures << QStringLiteral("同一套题中题目文字相同的：%1 处").arg(found);
    }
};

} // namespace

const QStringList &LicenceClassCodes()
{
    static const QStringList codes{
        QStringLiteral("001"), QStringLiteral("002"), QStringLiteral("003"),
        QStringLiteral("004"), QStringLiteral("005"), QStringLiteral("101"),
        QStringLiteral("102"), QStringLiteral("103"), QStringLiteral("104"),
    };
    return codes;
}

TBankBalance MeasureBalance(const QSqlDatabase &db)
{
    return TBalanceMeter(db).Run();
}

QStringList BalanceLines(const TBankBalance &balance)
{
    if (balance.Figures.isEmpty())
        return {};
    QStringList lines{QStringLiteral("均衡性：")};
    for (const QString &figure : balance.Figures)
        lines << QStringLiteral("  ") + figure;
    for (const TBalanceWarning &warning : balance.Warnings)
        lines << QStringLiteral("  警告：") + warning.Text;
    return lines;
}
