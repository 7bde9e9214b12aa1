#include "USqliteRowLoader.h"

#include <algorithm>

#include <sqlite3.h>

#include <QHash>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlQuery>

#include "USqlText.h"

namespace {

// A large column left in the database until it is read: the rowid of its row.
struct TLazyBlob
{
    qint64 RowId = 0;
};

} // namespace

Q_DECLARE_METATYPE(TLazyBlob)

namespace {

// The SQLite connection behind Qt's driver, or null for another engine.
sqlite3 *SqliteHandle(const QSqlDatabase &db)
{
    if (!db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

// The first column of every row as a rowid, read through SQLite itself: Qt's
// driver turns each row into a vector of values first, and that dominated
// opening a whole bank. False when the statement cannot run this way.
bool ReadRowIds(sqlite3 *handle, const QString &sql, std::vector<qint64> &rowIds)
{
    sqlite3_stmt *statement = nullptr;
    const QByteArray text = sql.toUtf8();
    int result = sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &statement, nullptr);
    while (result == SQLITE_OK || result == SQLITE_ROW) {
        result = sqlite3_step(statement);
        if (result == SQLITE_ROW)
            rowIds.push_back(sqlite3_column_int64(statement, 0));
    }
    sqlite3_finalize(statement);
    return result == SQLITE_DONE;
}

void SortRowsByRowId(std::vector<TQueryRow> &rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const TQueryRow &a, const TQueryRow &b) { return a.RowId < b.RowId; });
}

} // namespace

bool TSqliteRowLoader::Serves(const QSqlDatabase &db)
{
    return SqliteHandle(db) != nullptr;
}

int TSqliteRowLoader::SchemaVersion(const QSqlDatabase &db)
{
    if (!Serves(db))
        return -1;
    QSqlQuery query(db);
    return query.exec(QStringLiteral("PRAGMA schema_version")) && query.next() ? query.value(0).toInt() : -1;
}

bool TSqliteRowLoader::KeyIsRowId(const QSqlDatabase &db, const QString &table, const QString &key)
{
    if (!Serves(db))
        return false;
    QSqlQuery plan(db);
    return plan.exec(QStringLiteral("EXPLAIN QUERY PLAN SELECT 1 FROM %1 WHERE %2=1").arg(table, QuotedIdentifier(key)))
        && plan.next() && plan.value(3).toString().contains(QLatin1String("INTEGER PRIMARY KEY"));
}

TSqliteRowLoader::TSqliteRowLoader(const QSqlDatabase &db, const QString &table, const TTableShape &shape)
    : FDatabase(db),
      FTable(table),
      FShape(shape),
      FStatements(db)
{
    FKeySlot.assign(shape.Record.count(), -1);
    for (int i = 0; i < shape.Record.count(); ++i)
        FKeySlot[i] = int(shape.Keys.indexOf(shape.Record.fieldName(i)));
}

std::unique_ptr<TSqliteRowLoader> TSqliteRowLoader::Open(const QSqlDatabase &db, const QString &table,
                                                         const TTableShape &shape, const QString &sql,
                                                         std::vector<TQueryRow> &rows)
{
    // Its rows are rows of the table, each known by its rowid.
    if (!Serves(db) || shape.Record.isEmpty())
        return nullptr;
    const std::optional<QString> rest = WholeTableSelectRest(sql);
    if (!rest)
        return nullptr;

    std::unique_ptr<TSqliteRowLoader> loader(new TSqliteRowLoader(db, table, shape));
    bool sortByRowId = false;
    const QString lazySql = loader->LazySql(*rest, sortByRowId);
    std::vector<TQueryRow> read;
    if (lazySql.isEmpty() || !loader->ReadKeys(lazySql, read))
        return nullptr;
    if (sortByRowId)
        SortRowsByRowId(read);
    rows = std::move(read);
    loader->FReadRowSql = loader->ReadRowSql();
    return loader;
}

bool TSqliteRowLoader::ReadKeys(const QString &sql, std::vector<TQueryRow> &rows) const
{
    std::vector<qint64> rowIds;
    if (FShape.KeyIsRowId && ReadRowIds(SqliteHandle(FDatabase), sql, rowIds)) {
        rows.reserve(rowIds.size());
        for (const qint64 rowId : rowIds) {
            TQueryRow row;
            row.Read = false;
            row.RowId = rowId;
            row.Values.push_back(QVariant(rowId));
            rows.push_back(std::move(row));
        }
        return true;
    }
    QSqlQuery query(FDatabase);
    query.setForwardOnly(true);
    if (!query.exec(sql))
        return false;
    while (query.next()) {
        TQueryRow row;
        row.Read = false;
        const QVariant rowId = query.value(0);
        row.RowId = rowId.toLongLong();
        if (FShape.KeyIsRowId) {
            row.Values.push_back(rowId);
        } else {
            for (int k = 0; k < FShape.Keys.size(); ++k)
                row.Values.push_back(query.value(k + 1));
        }
        rows.push_back(std::move(row));
    }
    return true;
}

QString TSqliteRowLoader::QueryPlan(const QString &sql) const
{
    QSqlQuery query(FDatabase);
    if (!query.exec(QStringLiteral("EXPLAIN QUERY PLAN ") + sql))
        return QString();
    QStringList steps;
    while (query.next())
        steps << query.value(3).toString();
    return steps.join(QLatin1Char('\n'));
}

QString TSqliteRowLoader::LazySql(const QString &rest, bool &sortByRowId) const
{
    // A key that is the rowid is not read twice.
    QStringList keys;
    for (const QString &key : FShape.Keys) {
        if (!FShape.KeyIsRowId)
            keys << QLatin1Char(',') + QuotedIdentifier(key);
    }
    // The rowid behind a never-taken branch that names every column, as "*"
    // does: SQLite plans this as the statement as written, so the rows come
    // in its order. A view or a table without rowid has no plan for it.
    QStringList all;
    for (int i = 0; i < FShape.Record.count(); ++i)
        all << QuotedIdentifier(FShape.Record.fieldName(i));
    const QString named = QStringLiteral("SELECT coalesce(CASE WHEN 0 THEN coalesce(%1, NULL) END, rowid)%2 FROM %3%4")
                              .arg(all.join(QLatin1Char(',')), keys.join(QString()), FTable, rest);
    const QString namedPlan = QueryPlan(named);
    if (namedPlan.isEmpty())
        return QString();
    // Naming only the rowid and keys may let SQLite read a small index
    // instead of the table. The rows keep their order when it walks the
    // same index the same way; a whole-table scan runs in rowid order, so
    // its rows are put back in that order.
    const QString lean = QStringLiteral("SELECT rowid%1 FROM %2%3").arg(keys.join(QString()), FTable, rest);
    QString leanPlan = QueryPlan(lean);
    leanPlan.replace(QLatin1String("COVERING INDEX"), QLatin1String("INDEX"));
    static const QRegularExpression tableScan(QStringLiteral("^SCAN (TABLE )?\\S+$"));
    sortByRowId = rest.trimmed().isEmpty() && tableScan.match(namedPlan).hasMatch();
    return leanPlan == namedPlan || sortByRowId ? lean : named;
}

QString TSqliteRowLoader::ReadRowSql() const
{
    // The key columns must still match: a rowid alone may have been given
    // to another row after this one was deleted.
    QStringList columns, terms{QStringLiteral("rowid=?")};
    for (int i = 0; i < FShape.Record.count(); ++i) {
        const QString name = FShape.Record.fieldName(i);
        if (FKeySlot[i] < 0)
            columns << (IsBlobColumn(FShape.Record, i) ? BlobPresence(name) : QuotedIdentifier(name));
    }
    for (const QString &key : FShape.Keys)
        terms << QuotedIdentifier(key) + QStringLiteral(" IS ?");
    return QStringLiteral("SELECT %1 FROM %2 WHERE %3")
        .arg(columns.isEmpty() ? QStringLiteral("1") : columns.join(QLatin1Char(',')), FTable,
             terms.join(QLatin1String(" AND ")));
}

void TSqliteRowLoader::ReadRow(TQueryRow &row)
{
    QSqlQuery &query = FStatements.Get(FReadRowSql);
    query.bindValue(0, row.RowId);
    for (qsizetype k = 0; k < row.Values.size(); ++k)
        query.bindValue(int(k) + 1, row.Values[k]);
    if (!query.exec())
        throw EngineError(query);
    if (!query.next()) {
        query.finish();
        throw RowDeletedError();
    }
    QVarLengthArray<QVariant, 1> values(FShape.Record.count());
    int column = 0;
    for (int i = 0; i < FShape.Record.count(); ++i) {
        const int slot = FKeySlot[i];
        if (slot >= 0) {
            values[i] = row.Values[slot];
            continue;
        }
        const QVariant value = query.value(column++);
        values[i] = IsBlobColumn(FShape.Record, i) && !value.isNull() ? QVariant::fromValue(TLazyBlob{row.RowId}) : value;
    }
    // A finished statement holds no read snapshot of the database.
    query.finish();
    row.Values = std::move(values);
    row.Read = true;
}

QVariant TSqliteRowLoader::Resolved(QVariant &cell, int fieldIndex)
{
    if (cell.metaType() != QMetaType::fromType<TLazyBlob>())
        return cell;
    QSqlQuery &query = FStatements.Get(QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?")
                                           .arg(QuotedIdentifier(FShape.Record.fieldName(fieldIndex)), FTable));
    query.bindValue(0, cell.value<TLazyBlob>().RowId);
    cell = RowValue(query);
    return cell;
}

void TSqliteRowLoader::ReadAll(std::vector<TQueryRow> &rows)
{
    // Unread rows in batches, pictures included: a statement per row would
    // cost more than the rows.
    constexpr size_t batchRows = 500;
    std::vector<TQueryRow *> unread;
    for (TQueryRow &row : rows) {
        if (!row.Read)
            unread.push_back(&row);
    }
    for (size_t first = 0; first < unread.size(); first += batchRows)
        ReadRows(std::vector<TQueryRow *>(unread.begin() + first,
                                          unread.begin() + std::min(unread.size(), first + batchRows)));
    for (TQueryRow &row : rows) {
        for (int i = 0; i < FShape.Record.count(); ++i)
            Resolved(row.Values[i], i);
    }
}

void TSqliteRowLoader::ReadRows(const std::vector<TQueryRow *> &rows)
{
    QHash<qint64, TQueryRow *> byRowId;
    QStringList rowIds;
    for (TQueryRow *row : rows) {
        byRowId.insert(row->RowId, row);
        rowIds << QString::number(row->RowId);
    }
    QStringList columns{QStringLiteral("rowid")};
    for (int i = 0; i < FShape.Record.count(); ++i)
        columns << QuotedIdentifier(FShape.Record.fieldName(i));
    QSqlQuery query(FDatabase);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT %1 FROM %2 WHERE rowid IN (%3)")
                        .arg(columns.join(QLatin1Char(',')), FTable, rowIds.join(QLatin1Char(',')))))
        throw EngineError(query);
    while (query.next()) {
        TQueryRow *row = byRowId.value(query.value(0).toLongLong());
        if (!row)
            continue;
        QVarLengthArray<QVariant, 1> values(FShape.Record.count());
        bool sameKeys = true;
        for (int i = 0; i < FShape.Record.count(); ++i) {
            values[i] = query.value(i + 1);
            const int slot = FKeySlot[i];
            // As a single read: a row whose keys differ is another row.
            if (slot >= 0 && values[i] != row->Values[slot])
                sameKeys = false;
        }
        if (sameKeys) {
            row->Values = std::move(values);
            row->Read = true;
        }
    }
    for (TQueryRow *row : rows) {
        if (!row->Read)
            throw RowDeletedError();
    }
}
