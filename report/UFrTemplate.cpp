#include "UFrTemplate.h"

#include <algorithm>

#include <QRegularExpression>
#include <QStringList>

namespace {

struct TBandName
{
    const char *Name;
    TfrBandType Type;
};

const TBandName BandNames[] = {
    {"PageHeader", TfrBandType::PageHeader},       {"ReportTitle", TfrBandType::ReportTitle},
    {"ColumnHeader", TfrBandType::ColumnHeader},   {"MasterData", TfrBandType::MasterData},
    {"ReportSummary", TfrBandType::ReportSummary}, {"PageFooter", TfrBandType::PageFooter},
};

bool SameWord(const QString &a, const char *b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

double ParseLength(const QString &text, const QString &what)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || value < 0)
        throw ETemplateError(QStringLiteral("%1 不是有效的长度：%2").arg(what, text.trimmed()));
    return value;
}

std::vector<double> ParseLengths(const QString &text, int count, const QString &what)
{
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() != count)
        throw ETemplateError(QStringLiteral("%1 需要 %2 个数值").arg(what).arg(count));
    std::vector<double> values;
    for (const QString &word : words)
        values.push_back(ParseLength(word, what));
    return values;
}

TfrCondition ParseCondition(const QString &text)
{
    TfrCondition condition;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return condition;
    qsizetype at = trimmed.indexOf(QStringLiteral("<>"));
    int length = 2;
    if (at < 0) {
        at = trimmed.indexOf(QLatin1Char('='));
        length = 1;
        condition.Equal = true;
    } else {
        condition.Equal = false;
    }
    if (at <= 0)
        throw ETemplateError(QStringLiteral("条件格式应为 字段=值 或 字段<>值：%1").arg(trimmed));
    condition.Field = trimmed.left(at).trimmed();
    condition.Value = trimmed.mid(at + length).trimmed();
    return condition;
}

TfrExpression ParseExpression(const QString &text)
{
    static const QRegularExpression call(QStringLiteral("^\\s*(\\w+)\\s*\\((.*)\\)\\s*$"),
                                         QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression name(QStringLiteral("^\\s*([\\w#]+)\\s*$"),
                                         QRegularExpression::UseUnicodePropertiesOption);
    TfrExpression expression;
    const QRegularExpressionMatch callMatch = call.match(text);
    if (callMatch.hasMatch()) {
        const QString function = callMatch.captured(1);
        const QString arguments = callMatch.captured(2);
        if (SameWord(function, "COUNT")) {
            expression.Kind = TfrExpression::ekCount;
            expression.Condition = ParseCondition(arguments);
            return expression;
        }
        if (SameWord(function, "SUM")) {
            expression.Kind = TfrExpression::ekSum;
            const qsizetype semicolon = arguments.indexOf(QLatin1Char(';'));
            expression.Name = arguments.left(semicolon).trimmed();
            if (semicolon >= 0)
                expression.Condition = ParseCondition(arguments.mid(semicolon + 1));
            if (expression.Name.isEmpty())
                throw ETemplateError(QStringLiteral("SUM 缺少字段名"));
            return expression;
        }
        throw ETemplateError(QStringLiteral("未知的函数：%1").arg(function));
    }
    const QRegularExpressionMatch nameMatch = name.match(text);
    if (!nameMatch.hasMatch())
        throw ETemplateError(QStringLiteral("无法识别的表达式：[%1]").arg(text));
    expression.Name = nameMatch.captured(1);
    return expression;
}

void ApplyMemoOption(TfrMemo &memo, const QString &option)
{
    const Qt::Alignment horizontal = memo.Alignment & Qt::AlignHorizontal_Mask;
    const Qt::Alignment vertical = memo.Alignment & Qt::AlignVertical_Mask;
    if (SameWord(option, "Left"))
        memo.Alignment = Qt::AlignLeft | vertical;
    else if (SameWord(option, "Center"))
        memo.Alignment = Qt::AlignHCenter | vertical;
    else if (SameWord(option, "Right"))
        memo.Alignment = Qt::AlignRight | vertical;
    else if (SameWord(option, "Top"))
        memo.Alignment = horizontal | Qt::AlignTop;
    else if (SameWord(option, "Middle"))
        memo.Alignment = horizontal | Qt::AlignVCenter;
    else if (SameWord(option, "Bottom"))
        memo.Alignment = horizontal | Qt::AlignBottom;
    else if (SameWord(option, "Bold"))
        memo.Bold = true;
    else if (SameWord(option, "Frame"))
        memo.Frame = true;
    else if (SameWord(option, "Wrap"))
        memo.WordWrap = true;
    else if (option.startsWith(QLatin1String("Size="), Qt::CaseInsensitive)) {
        memo.FontSize = ParseLength(option.mid(5), QStringLiteral("字号"));
        if (memo.FontSize <= 0)
            throw ETemplateError(QStringLiteral("字号必须大于 0"));
    } else
        throw ETemplateError(QStringLiteral("未知的选项：%1").arg(option));
}

// "x y w h | options | text"; the text is everything after the second bar.
TfrMemo ParseMemo(const QString &value)
{
    const qsizetype firstBar = value.indexOf(QLatin1Char('|'));
    const qsizetype secondBar = firstBar < 0 ? -1 : value.indexOf(QLatin1Char('|'), firstBar + 1);
    if (secondBar < 0)
        throw ETemplateError(QStringLiteral("Memo 的格式应为 x y 宽 高 | 选项 | 文本"));
    TfrMemo memo;
    const std::vector<double> box = ParseLengths(value.left(firstBar), 4, QStringLiteral("Memo 的位置"));
    memo.Rect = QRectF(box[0], box[1], box[2], box[3]);
    const QString options = value.mid(firstBar + 1, secondBar - firstBar - 1);
    for (const QString &option : options.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        ApplyMemoOption(memo, option);
    memo.Parts = ParseMemoText(value.mid(secondBar + 1).trimmed());
    return memo;
}

void ApplyReportKey(TfrTemplate &result, const QString &key, const QString &value)
{
    if (SameWord(key, "Paper")) {
        if (SameWord(value, "A4"))
            result.PaperSize = QPageSize::A4;
        else if (SameWord(value, "A5"))
            result.PaperSize = QPageSize::A5;
        else if (SameWord(value, "B5"))
            result.PaperSize = QPageSize::B5;
        else if (SameWord(value, "Letter"))
            result.PaperSize = QPageSize::Letter;
        else
            throw ETemplateError(QStringLiteral("未知的纸张：%1").arg(value));
    } else if (SameWord(key, "Orientation")) {
        if (SameWord(value, "Portrait"))
            result.Orientation = QPageLayout::Portrait;
        else if (SameWord(value, "Landscape"))
            result.Orientation = QPageLayout::Landscape;
        else
            throw ETemplateError(QStringLiteral("未知的方向：%1").arg(value));
    } else if (SameWord(key, "Margins")) {
        const std::vector<double> m = ParseLengths(value, 4, QStringLiteral("Margins"));
        result.Margins = QMarginsF(m[0], m[1], m[2], m[3]);
    } else if (SameWord(key, "Font")) {
        if (value.isEmpty())
            throw ETemplateError(QStringLiteral("Font 不能为空"));
        result.FontFamily = value;
    } else {
        throw ETemplateError(QStringLiteral("[Report] 中未知的项：%1").arg(key));
    }
}

void ApplyBandKey(TfrBand &band, const QString &key, const QString &value)
{
    if (SameWord(key, "Height"))
        band.Height = ParseLength(value, QStringLiteral("Height"));
    else if (SameWord(key, "Memo"))
        band.Memos.push_back(ParseMemo(value));
    else
        throw ETemplateError(QStringLiteral("未知的项：%1").arg(key));
}

} // namespace

const TfrBand *TfrTemplate::Band(TfrBandType type) const
{
    for (const TfrBand &band : Bands) {
        if (band.Type == type)
            return &band;
    }
    return nullptr;
}

QPageLayout TfrTemplate::PageLayout() const
{
    return QPageLayout(QPageSize(PaperSize), Orientation, Margins, QPageLayout::Millimeter);
}

std::vector<TfrTextPart> ParseMemoText(const QString &text)
{
    std::vector<TfrTextPart> parts;
    QString literal;
    auto flushLiteral = [&parts, &literal] {
        if (!literal.isEmpty()) {
            TfrTextPart part;
            part.Literal = literal;
            parts.push_back(part);
            literal.clear();
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('[') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('[')) {
            literal += c;
            ++i;
        } else if (c == QLatin1Char(']') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char(']')) {
            literal += c;
            ++i;
        } else if (c == QLatin1Char('[')) {
            const qsizetype close = text.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0)
                throw ETemplateError(QStringLiteral("缺少 ]：%1").arg(text));
            flushLiteral();
            TfrTextPart part;
            part.IsExpression = true;
            part.Expression = ParseExpression(text.mid(i + 1, close - i - 1));
            parts.push_back(part);
            i = close;
        } else {
            literal += c;
        }
    }
    flushLiteral();
    return parts;
}

TfrTemplate ParseTemplate(const QString &text)
{
    TfrTemplate result;
    enum { None, ReportSection, BandSection } section = None;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int number = 1; number <= lines.size(); ++number) {
        const QString line = lines.at(number - 1).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
            continue;
        try {
            if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
                const QString name = line.mid(1, line.size() - 2).trimmed();
                if (SameWord(name, "Report")) {
                    section = ReportSection;
                    continue;
                }
                const auto known = std::find_if(std::begin(BandNames), std::end(BandNames),
                                                [&name](const TBandName &band) { return SameWord(name, band.Name); });
                if (known == std::end(BandNames))
                    throw ETemplateError(QStringLiteral("未知的段：[%1]").arg(name));
                if (result.Band(known->Type))
                    throw ETemplateError(QStringLiteral("段 [%1] 重复").arg(name));
                TfrBand band;
                band.Type = known->Type;
                result.Bands.push_back(band);
                section = BandSection;
                continue;
            }
            const qsizetype equals = line.indexOf(QLatin1Char('='));
            if (equals <= 0)
                throw ETemplateError(QStringLiteral("应为 名称 = 值"));
            const QString key = line.left(equals).trimmed();
            const QString value = line.mid(equals + 1).trimmed();
            if (section == ReportSection)
                ApplyReportKey(result, key, value);
            else if (section == BandSection)
                ApplyBandKey(result.Bands.back(), key, value);
            else
                throw ETemplateError(QStringLiteral("此行不在任何段中"));
        } catch (const ETemplateError &error) {
            throw ETemplateError(QStringLiteral("报表模板第 %1 行有误：%2").arg(number).arg(error.Message()));
        }
    }
    return result;
}
