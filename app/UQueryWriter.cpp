#include "UQueryWriter.h"

#include <QSqlQuery>
#include <QStringList>

#include "UQuery.h"
#include "USqlText.h"

TQueryWriter::TQueryWriter(const QSqlDatabase &db, const QString &table, const QSqlRecord &tableRecord,
                           const std::vector<TField> &fields, const std::vector<int> &whereFields,
                           const QStringList &keyColumns)
    : FTable(table),
      FWhereFields(whereFields),
      FStatements(db)
{
    for (const TField &field : fields)
        FColumns.push_back({field.FieldName(), tableRecord.indexOf(field.FieldName()) >= 0});
    bool keyed = !whereFields.empty();
    for (const int index : whereFields)
        keyed = keyed && keyColumns.contains(FColumns[index].Name, Qt::CaseInsensitive);
    if (db.driverName() == QLatin1String("QSQLITE"))
        FMatch = QStringLiteral(" IS ?");
    else
        FMatch = keyed ? QStringLiteral("=?") : QStringLiteral(" IS NOT DISTINCT FROM ?");
}

void TQueryWriter::RequireTable() const
{
    if (FTable.isEmpty())
        throw ReadOnlyError();
}

QString TQueryWriter::Where(const TOriginal &original, std::vector<QVariant> &binds) const
{
    QStringList terms;
    for (const int index : FWhereFields) {
        terms << QuotedIdentifier(FColumns[index].Name) + FMatch;
        binds.push_back(original(index));
    }
    return terms.join(QLatin1String(" AND "));
}

void TQueryWriter::RunBound(const QString &sql, const std::vector<QVariant> &binds, int expectedRows)
{
    QSqlQuery &query = FStatements.Get(sql);
    for (size_t i = 0; i < binds.size(); ++i)
        query.bindValue(int(i), binds[i]);
    if (!query.exec()) {
        const EDatabaseError error = EngineError(query);
        // A statement prepared on a connection that was lost is gone with it.
        FStatements.Forget(sql);
        throw error;
    }
    const int affected = query.numRowsAffected();
    query.finish();
    if (expectedRows >= 0 && affected != expectedRows)
        throw EDatabaseError(QStringLiteral(
            "Row cannot be located for updating. Some values may have been changed since it was last read."));
}

void TQueryWriter::Insert(const TQueryRow &row, const std::vector<bool> &modified)
{
    RequireTable();
    QStringList columns, marks;
    std::vector<QVariant> binds;
    for (size_t i = 0; i < FColumns.size(); ++i) {
        if (!modified[i] || !FColumns[i].InTable)
            continue;
        columns << QuotedIdentifier(FColumns[i].Name);
        marks << QStringLiteral("?");
        binds.push_back(row.Values[int(i)]);
    }
    const QString sql = columns.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(FTable)
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
              .arg(FTable, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    RunBound(sql, binds, 1);
}

void TQueryWriter::Update(const TQueryRow &edited, const std::vector<bool> &modified, const TOriginal &original)
{
    RequireTable();
    QStringList sets;
    std::vector<QVariant> binds;
    for (size_t i = 0; i < FColumns.size(); ++i) {
        if (!modified[i] || !FColumns[i].InTable)
            continue;
        sets << QuotedIdentifier(FColumns[i].Name) + QStringLiteral("=?");
        binds.push_back(edited.Values[int(i)]);
    }
    if (sets.isEmpty())
        return;
    const QString where = Where(original, binds);
    RunBound(QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(FTable, sets.join(QLatin1Char(',')), where), binds, 1);
}

void TQueryWriter::Delete(const TOriginal &original)
{
    RequireTable();
    std::vector<QVariant> binds;
    const QString where = Where(original, binds);
    RunBound(QStringLiteral("DELETE FROM %1 WHERE %2").arg(FTable, where), binds, -1);
}
