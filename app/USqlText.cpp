#include "USqlText.h"

#include <vector>

#include <QRegularExpression>

QString QuoteSqlText(const QString &value)
{
    QString result = value;
    result.replace(QLatin1Char('\''), QLatin1String("''"));
    return result;
}

QString QuotedIdentifier(const QString &name)
{
    QString inner = name;
    return QLatin1Char('"') + inner.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

namespace {

bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Length of a quoted run starting at pos (quote char doubled inside counts
// as part of it), so scanners can skip literals and quoted identifiers.
int QuotedLength(const QString &sql, int pos)
{
    const QChar quote = sql.at(pos);
    const QChar close = quote == QLatin1Char('[') ? QLatin1Char(']') : quote;
    int i = pos + 1;
    while (i < sql.size()) {
        if (sql.at(i) == close) {
            if (close != QLatin1Char(']') && i + 1 < sql.size() && sql.at(i + 1) == close) {
                i += 2;
                continue;
            }
            return i - pos + 1;
        }
        ++i;
    }
    return sql.size() - pos;
}

bool IsQuote(QChar c)
{
    return c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[');
}

bool WordAt(const QString &sql, int pos, QLatin1String word)
{
    if (pos + word.size() > sql.size())
        return false;
    if (pos > 0 && IsWordChar(sql.at(pos - 1)))
        return false;
    if (QStringView(sql).mid(pos, word.size()).compare(word, Qt::CaseInsensitive) != 0)
        return false;
    const int end = pos + word.size();
    return end >= sql.size() || !IsWordChar(sql.at(end));
}

struct TTopClause
{
    int Start = 0; // position of "top"
    int End = 0;   // just past the count and its trailing blanks
    QString Count;
    int ScopeEnd = 0; // where the select ends: its closing parenthesis or the text end
};

} // namespace

QString TranslateTopToLimit(const QString &sql)
{
    std::vector<TTopClause> clauses;
    std::vector<std::vector<size_t>> openByDepth(1);
    int i = 0;
    while (i < sql.size()) {
        const QChar c = sql.at(i);
        if (IsQuote(c)) {
            i += QuotedLength(sql, i);
            continue;
        }
        if (c == QLatin1Char('(')) {
            openByDepth.emplace_back();
            ++i;
            continue;
        }
        if (c == QLatin1Char(')')) {
            if (openByDepth.size() > 1) {
                for (size_t index : openByDepth.back())
                    clauses[index].ScopeEnd = i;
                openByDepth.pop_back();
            }
            ++i;
            continue;
        }
        if (WordAt(sql, i, QLatin1String("select"))) {
            int j = i + 6;
            while (j < sql.size() && sql.at(j).isSpace())
                ++j;
            if (WordAt(sql, j, QLatin1String("top"))) {
                int k = j + 3;
                while (k < sql.size() && sql.at(k).isSpace())
                    ++k;
                const int digitsStart = k;
                while (k < sql.size() && sql.at(k).isDigit())
                    ++k;
                if (k > digitsStart) {
                    TTopClause clause;
                    clause.Start = j;
                    clause.Count = sql.mid(digitsStart, k - digitsStart);
                    while (k < sql.size() && sql.at(k).isSpace())
                        ++k;
                    clause.End = k;
                    clause.ScopeEnd = sql.size();
                    openByDepth.back().push_back(clauses.size());
                    clauses.push_back(clause);
                    i = k;
                    continue;
                }
            }
            i += 6;
            continue;
        }
        ++i;
    }
    if (clauses.empty())
        return sql;

    // Apply edits from the back so earlier positions stay valid.
    struct TEdit
    {
        int Pos;
        int Length;
        QString Text;
    };
    std::vector<TEdit> edits;
    for (const TTopClause &clause : clauses) {
        edits.push_back({clause.Start, clause.End - clause.Start, QString()});
        edits.push_back({clause.ScopeEnd, 0, QLatin1String(" LIMIT ") + clause.Count});
    }
    std::stable_sort(edits.begin(), edits.end(), [](const TEdit &a, const TEdit &b) { return a.Pos > b.Pos; });
    QString result = sql;
    for (const TEdit &edit : edits) {
        if (edit.Length == 0) {
            // Trailing blanks stay after the inserted LIMIT, not before it.
            int pos = edit.Pos;
            while (pos > 0 && result.at(pos - 1).isSpace())
                --pos;
            result.insert(pos, edit.Text);
        } else {
            result.remove(edit.Pos, edit.Length);
        }
    }
    return result;
}

QString FirstFromTable(const QString &sql)
{
    static const QRegularExpression fromTable(
        QStringLiteral("\\bfrom\\s+(?:\\[([^\\]]+)\\]|\"((?:[^\"]|\"\")+)\"|([A-Za-z_][A-Za-z0-9_]*))"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = fromTable.match(sql);
    if (!match.hasMatch())
        return QString();
    if (match.hasCaptured(3))
        return match.captured(3);
    // A delimited name keeps its letters exactly: it is written back in the
    // standard double quotes, which every engine of ours reads.
    const QString name = match.hasCaptured(1) ? match.captured(1)
                                              : match.captured(2).replace(QLatin1String("\"\""), QLatin1String("\""));
    return QuotedIdentifier(name);
}

std::optional<QString> WholeTableSelectRest(const QString &sql)
{
    static const QRegularExpression wholeTable(
        QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+([A-Za-z_][A-Za-z0-9_]*)(\\s+(?:where|order\\s+by|limit)\\b.*)?$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression compound(QStringLiteral("\\b(?:union|intersect|except|group\\s+by|having|join)\\b"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = wholeTable.match(sql);
    if (!match.hasMatch() || match.captured(2).contains(compound))
        return std::nullopt;
    return match.captured(2);
}

QString BlobPresence(const QString &column)
{
    return QStringLiteral("CASE WHEN %1 IS NULL THEN NULL ELSE 1 END").arg(QuotedIdentifier(column));
}
