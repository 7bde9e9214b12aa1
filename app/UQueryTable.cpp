#include "UQueryTable.h"

#include <QHash>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>

#include "UEngineErrorText.h"
#include "USqliteRowLoader.h"

TTableShape TableShape(const QSqlDatabase &db, const QString &table)
{
    static QHash<QString, TTableShape> shapes;
    const int version = TSqliteRowLoader::SchemaVersion(db);
    const QString key = db.connectionName() + QLatin1Char('\n') + db.databaseName() + QLatin1Char('\n') + table.toLower();
    const auto found = shapes.constFind(key);
    if (version >= 0 && found != shapes.constEnd() && found->SchemaVersion == version)
        return *found;
    TTableShape shape;
    shape.SchemaVersion = version;
    shape.Record = db.record(table);
    const QSqlIndex index = db.primaryIndex(table);
    for (int i = 0; i < index.count(); ++i)
        shape.Keys << index.fieldName(i);
    if (shape.Keys.size() == 1)
        shape.KeyIsRowId = TSqliteRowLoader::KeyIsRowId(db, table, shape.Keys[0]);
    if (version >= 0)
        shapes.insert(key, shape);
    return shape;
}

bool IsBlobColumn(const QSqlRecord &record, int index)
{
    return record.field(index).metaType().id() == QMetaType::QByteArray;
}

QSqlQuery &TPreparedStatements::Get(const QString &sql)
{
    auto found = FStatements.find(sql);
    if (found != FStatements.end())
        return found->second;
    QSqlQuery query(FDatabase);
    if (!query.prepare(sql))
        throw EngineError(query);
    return FStatements.emplace(sql, std::move(query)).first->second;
}

EDatabaseError EngineError(const QSqlQuery &query)
{
    return EngineError(query.lastError(), query.driver());
}

EDatabaseError RowDeletedError()
{
    return EDatabaseError(QStringLiteral("Row cannot be read: it was deleted after the query was opened"));
}

EDatabaseError ReadOnlyError()
{
    return EDatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
}
