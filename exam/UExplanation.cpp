#include "UExplanation.h"

#include <QSqlQuery>

#include "UConnection.h"

QString ReadExplanation(TConnection *connection, int themeId)
{
    if (!connection || !connection->Connected())
        return QString();
    const QSqlDatabase database = connection->Database();
    if (!database.tables().contains(QStringLiteral("T_KS_ThemeNote"), Qt::CaseInsensitive))
        return QString();
    QSqlQuery query(database);
    query.prepare(QStringLiteral("Select Explanation From T_KS_ThemeNote Where ThemeID=?"));
    query.addBindValue(themeId);
    if (!query.exec() || !query.next())
        return QString();
    return query.value(0).toString().trimmed();
}

QString ExplanationLine(const QString &explanation)
{
    return QStringLiteral("解析：") + explanation;
}
