#include "UConnectionText.h"

namespace {

constexpr QChar KQuote = QLatin1Char('"');

bool NeedsQuotes(const QString &value)
{
    return value.contains(QLatin1Char(';')) || value.contains(KQuote) || value.startsWith(QLatin1Char('\''))
        || value.trimmed() != value;
}

} // namespace

QString QuoteConnectionValue(const QString &value)
{
    if (!NeedsQuotes(value))
        return value;
    QString quoted = value;
    quoted.replace(KQuote, QStringLiteral("\"\""));
    return KQuote + quoted + KQuote;
}

QStringList SplitConnectionEntries(const QString &connectionString)
{
    QStringList entries;
    QString entry;
    bool quoted = false;
    for (const QChar c : connectionString) {
        if (c == KQuote)
            quoted = !quoted; // a doubled quote toggles twice and stays inside
        if (c == QLatin1Char(';') && !quoted) {
            entries << entry;
            entry.clear();
        } else {
            entry += c;
        }
    }
    entries << entry;
    return entries;
}

QString UnquoteConnectionValue(const QString &value)
{
    if (value.size() < 2 || !value.startsWith(KQuote) || !value.endsWith(KQuote))
        return value;
    QString inner = value.mid(1, value.size() - 2);
    inner.replace(QStringLiteral("\"\""), QString(KQuote));
    return inner;
}
