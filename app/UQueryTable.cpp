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
    // A server's tables do not change under a running seat: a table found
    // there is kept for the connection's life, with the version 0.
    const bool server = !TSqliteRowLoader::Serves(db);
    const int version = server ? 0 : TSqliteRowLoader::SchemaVersion(db);
    const QString key = db.connectionName() + QLatin1Char('\n') + db.databaseName() + QLatin1Char('\n') + table.toLower();
    const auto found = shapes.constFind(key);
    if (version >= 0 && found != shapes.constEnd() && found->SchemaVersion == version)
        return *found;
    TTableShape shape;
    shape.SchemaVersion = version;
    // PostgreSQL folds a name written without quotes to lower case, as the
    // statement's own name is folded; its driver looks the name up as given.
    const bool folds = db.driverName() == QLatin1String("QPSQL") && !table.startsWith(QLatin1Char('"'));
    const QString name = folds ? table.toLower() : table;
    shape.Record = db.record(name);
    const QSqlIndex index = db.primaryIndex(name);
    for (int i = 0; i < index.count(); ++i)
        shape.Keys << index.fieldName(i);
    if (shape.Keys.size() == 1)
        shape.KeyIsRowId = TSqliteRowLoader::KeyIsRowId(db, name, shape.Keys[0]);
    if (version >= 0 && !(server && shape.Record.isEmpty()))
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

QVariant RowValue(QSqlQuery &query)
{
    if (!query.exec())
        throw EngineError(query);
    if (!query.next()) {
        query.finish();
        throw RowDeletedError();
    }
    const QVariant value = query.value(0);
    query.finish();
    return value;
}

EDatabaseError ReadOnlyError()
{
    return EDatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
}
