#include "app/UQuery.h"

#include <algorithm>

#include <QHash>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QRegularExpression>

#include <sqlite3.h>

#include "app/UConnection.h"
#include "app/UDbError.h"
#include "app/USqlText.h"

TField::TField(TQuery *query, int index, const QString &name, bool isBlob)
    : FQuery(query), FIndex(index), FName(name), FIsBlob(isBlob)
{
}

QVariant TField::Value() const
{
    return FQuery->ValueAt(FIndex);
}

bool TField::IsNull() const
{
    return Value().isNull();
}

QString TField::AsString() const
{
    const QVariant value = Value();
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(value.toByteArray());
    return value.toString();
}

int TField::AsInteger() const
{
    const QVariant value = Value();
    if (value.isNull())
        return 0;
    bool ok = false;
    const int result = value.toString().trimmed().toInt(&ok);
    if (!ok)
        throw EDatabaseError(QStringLiteral("'%1' is not a valid integer value").arg(value.toString()));
    return result;
}

int TField::ValueAsInteger() const
{
    if (IsNull())
        throw EDatabaseError(QStringLiteral("Could not convert variant of type (Null) into type (Integer)"));
    return AsInteger();
}

QByteArray TField::AsBytes() const
{
    return Value().toByteArray();
}

QString TField::DisplayText() const
{
    QString text = AsString();
    if (OnGetText)
        OnGetText(*this, text, true);
    return text;
}

void TField::SetValue(const QVariant &value)
{
    FQuery->SetValueAt(FIndex, value);
}

TQuery::TQuery(QObject *owner)
    : QObject(owner)
{
}

TQuery::~TQuery() = default;

void TQuery::SetConnection(TConnection *connection)
{
    FConnection = connection;
}

void TQuery::SetSQL(const QString &sql)
{
    FSql = sql;
}

QString TQuery::EngineSql(const QString &sql) const
{
    return FConnection->NeedsLimitForTop() ? TranslateTopToLimit(sql) : sql;
}

void TQuery::RequireConnection() const
{
    if (!FConnection || !FConnection->Connected())
        throw EDatabaseError(QStringLiteral("数据库连接没有打开。"));
}

void TQuery::RequireActive() const
{
    if (FState == dsInactive)
        throw EDatabaseError(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

namespace {

// A large column left in the database until it is read: the rowid of its row.
struct TLazyBlob
{
    qint64 RowId = 0;
};

QString Quoted(const QString &column)
{
    return QLatin1Char('"') + column + QLatin1Char('"');
}

// The marker column of a picture: NULL or 1, never the bytes.
QString BlobPresence(const QString &column)
{
    return QStringLiteral("CASE WHEN %1 IS NULL THEN NULL ELSE 1 END").arg(Quoted(column));
}

bool IsBlobColumn(const QSqlRecord &record, int index)
{
    return record.field(index).metaType().id() == QMetaType::QByteArray;
}

// A table's columns and primary key.
struct TTableShape
{
    int SchemaVersion = -1;
    QSqlRecord Record;
    QStringList Keys;
    // The one key is SQLite's rowid under another name.
    bool KeyIsRowId = false;
};

int SchemaVersion(const QSqlDatabase &db)
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral("PRAGMA schema_version")) && query.next() ? query.value(0).toInt() : -1;
}

// Read once and kept while SQLite's schema version stays the same: the
// many small statements of a paper need not each ask the engine again.
TTableShape TableShape(const QSqlDatabase &db, const QString &table)
{
    static QHash<QString, TTableShape> shapes;
    const int version = db.driverName() == QLatin1String("QSQLITE") ? SchemaVersion(db) : -1;
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
    if (version >= 0 && shape.Keys.size() == 1) {
        QSqlQuery plan(db);
        shape.KeyIsRowId = plan.exec(QStringLiteral("EXPLAIN QUERY PLAN SELECT 1 FROM %1 WHERE \"%2\"=1").arg(table, shape.Keys[0]))
            && plan.next() && plan.value(3).toString().contains(QLatin1String("INTEGER PRIMARY KEY"));
    }
    if (version >= 0)
        shapes.insert(key, shape);
    return shape;
}

} // namespace

Q_DECLARE_METATYPE(TLazyBlob)

namespace {

// The SQLite connection behind Qt's driver, or null for another engine.
sqlite3 *SqliteHandle(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

// The first column of every row as a rowid, read through SQLite itself: Qt's
// driver turns each row into a vector of values first, and that dominated
// opening a whole bank. False when the statement cannot run this way.
bool ReadRowIds(const QSqlDatabase &db, const QString &sql, std::vector<qint64> &rowIds)
{
    sqlite3 *handle = SqliteHandle(db);
    if (!handle)
        return false;
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

} // namespace

bool TQuery::OpenLazily()
{
    // Only a plain "select * from <table>" with a condition, order or limit:
    // its rows are rows of the table, each known by its rowid.
    static const QRegularExpression wholeTable(
        QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+([A-Za-z_][A-Za-z0-9_]*)(\\s+(?:where|order\\s+by|limit)\\b.*)?$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression compound(QStringLiteral("\\b(?:union|intersect|except|group\\s+by|having|join)\\b"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (!FConnection->NeedsLimitForTop() || FTableRecord.isEmpty())
        return false;
    const QRegularExpressionMatch match = wholeTable.match(FSql);
    if (!match.hasMatch() || match.captured(2).contains(compound))
        return false;

    bool sortByRowId = false;
    const QString sql = LazySql(match.captured(2), sortByRowId);
    if (sql.isEmpty())
        return false;
    std::vector<qint64> rowIds;
    const bool rowIdsRead = FKeyIsRowId && ReadRowIds(FConnection->Database(), sql, rowIds);
    QSqlQuery query(FConnection->Database());
    query.setForwardOnly(true);
    if (!rowIdsRead && !query.exec(sql))
        return false;
    FFields.clear();
    FKeySlot.assign(FTableRecord.count(), -1);
    const QStringList &keys = FKeyColumns;
    for (int i = 0; i < FTableRecord.count(); ++i) {
        const QString name = FTableRecord.fieldName(i);
        FFields.emplace_back(this, i, name, IsBlobColumn(FTableRecord, i));
        FKeySlot[i] = int(keys.indexOf(name));
    }
    FRows.clear();
    FRows.reserve(rowIds.size());
    for (const qint64 rowId : rowIds) {
        TRow row;
        row.Read = false;
        row.RowId = rowId;
        row.Values.push_back(QVariant(rowId));
        FRows.push_back(std::move(row));
    }
    while (!rowIdsRead && query.next()) {
        TRow row;
        row.Read = false;
        const QVariant rowId = query.value(0);
        row.RowId = rowId.toLongLong();
        if (FKeyIsRowId) {
            row.Values.push_back(rowId);
        } else {
            for (int k = 0; k < keys.size(); ++k)
                row.Values.push_back(query.value(k + 1));
        }
        FRows.push_back(std::move(row));
    }
    if (sortByRowId)
        SortRowsByRowId();
    FReadRowSql = ReadRowSql();
    return true;
}

void TQuery::SortRowsByRowId()
{
    std::vector<std::pair<qint64, int>> order(FRows.size());
    for (size_t i = 0; i < FRows.size(); ++i)
        order[i] = {FRows[i].RowId, int(i)};
    std::sort(order.begin(), order.end());
    std::vector<TRow> sorted;
    sorted.reserve(FRows.size());
    for (const auto &entry : order)
        sorted.push_back(std::move(FRows[entry.second]));
    FRows = std::move(sorted);
}

QString TQuery::QueryPlan(const QString &sql) const
{
    QSqlQuery query(FConnection->Database());
    if (!query.exec(QStringLiteral("EXPLAIN QUERY PLAN ") + sql))
        return QString();
    QStringList steps;
    while (query.next())
        steps << query.value(3).toString();
    return steps.join(QLatin1Char('\n'));
}

QString TQuery::LazySql(const QString &rest, bool &sortByRowId) const
{
    // A key that is the rowid is not read twice.
    QStringList keys;
    for (const QString &key : FKeyColumns) {
        if (!FKeyIsRowId)
            keys << QLatin1Char(',') + Quoted(key);
    }
    // The rowid behind a never-taken branch that names every column, as "*"
    // does: SQLite plans this as the statement as written, so the rows come
    // in its order. A view or a table without rowid has no plan for it.
    QStringList all;
    for (int i = 0; i < FTableRecord.count(); ++i)
        all << Quoted(FTableRecord.fieldName(i));
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

void TQuery::OpenEagerly()
{
    QSqlQuery query(FConnection->Database());
    query.setForwardOnly(true);
    if (!query.exec(EngineSql(FSql)))
        throw EDatabaseError(query.lastError().text());
    if (!query.isSelect())
        throw EDatabaseError(QStringLiteral("SQL statement did not return a result set"));

    const QSqlRecord record = query.record();
    FFields.clear();
    FFields.reserve(record.count());
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField field = record.field(i);
        // An empty result reports no byte type: the declared column of the
        // table decides then.
        const int declared = FTableRecord.indexOf(field.name());
        const bool isBlob = IsBlobColumn(record, i) || (declared >= 0 && IsBlobColumn(FTableRecord, declared));
        FFields.emplace_back(this, i, field.name(), isBlob);
    }
    FKeySlot.assign(FFields.size(), -1);
    FRows.clear();
    while (query.next()) {
        TRow row;
        row.Values.resize(FFields.size());
        for (size_t i = 0; i < FFields.size(); ++i)
            row.Values[i] = query.value(int(i));
        FRows.push_back(std::move(row));
    }
}

void TQuery::Open()
{
    if (Active())
        return;
    DoBeforeOpen();
    RequireConnection();
    FTable = FirstFromTable(FSql);
    const TTableShape shape = FTable.isEmpty() ? TTableShape() : TableShape(FConnection->Database(), FTable);
    FTableRecord = shape.Record;
    FKeyColumns = shape.Keys;
    FKeyIsRowId = shape.KeyIsRowId;
    if (!OpenLazily())
        OpenEagerly();
    FInTable.clear();
    for (const TField &field : FFields)
        FInTable.push_back(FTableRecord.indexOf(field.FieldName()) >= 0);
    FCurrent = 0;
    FBof = true;
    FEof = FRows.empty();
    FState = dsBrowse;
    DoAfterOpen();
    if (!FRows.empty())
        DoAfterScroll();
}

QVariant &TQuery::Cell(TRow &row, int index) const
{
    if (!row.Read) {
        if (FKeySlot[index] >= 0)
            return row.Values[FKeySlot[index]];
        ReadRow(row);
    }
    return row.Values[index];
}

QString TQuery::ReadRowSql() const
{
    // The key columns must still match: a rowid alone may have been given
    // to another row after this one was deleted.
    QStringList columns, terms{QStringLiteral("rowid=?")};
    for (const TField &field : FFields) {
        if (FKeySlot[field.Index()] < 0)
            columns << (field.IsBlob() ? BlobPresence(field.FieldName()) : Quoted(field.FieldName()));
    }
    for (const QString &key : FKeyColumns)
        terms << Quoted(key) + QStringLiteral(" IS ?");
    return QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(columns.isEmpty() ? QStringLiteral("1") : columns.join(QLatin1Char(',')),
                                                          FTable, terms.join(QLatin1String(" AND ")));
}

void TQuery::ReadRow(TRow &row) const
{
    QSqlQuery &query = Prepared(FReadRowSql);
    query.bindValue(0, row.RowId);
    for (qsizetype k = 0; k < row.Values.size(); ++k)
        query.bindValue(int(k) + 1, row.Values[k]);
    if (!query.exec())
        throw EDatabaseError(query.lastError().text());
    if (!query.next()) {
        query.finish();
        throw EDatabaseError(QStringLiteral("Row cannot be read: it was deleted after the query was opened"));
    }
    QVarLengthArray<QVariant, 1> values(FFields.size());
    int column = 0;
    for (const TField &field : FFields) {
        const int slot = FKeySlot[field.Index()];
        if (slot >= 0) {
            values[field.Index()] = row.Values[slot];
            continue;
        }
        const QVariant value = query.value(column++);
        values[field.Index()] = field.IsBlob() && !value.isNull() ? QVariant::fromValue(TLazyBlob{row.RowId}) : value;
    }
    // A finished statement holds no read snapshot of the database.
    query.finish();
    row.Values = std::move(values);
    row.Read = true;
}

QVariant TQuery::Resolved(QVariant &cell, int index) const
{
    if (cell.metaType() != QMetaType::fromType<TLazyBlob>())
        return cell;
    QSqlQuery &query = Prepared(QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?").arg(Quoted(FFields[index].FieldName()), FTable));
    query.bindValue(0, cell.value<TLazyBlob>().RowId);
    if (!query.exec())
        throw EDatabaseError(query.lastError().text());
    if (!query.next()) {
        query.finish();
        throw EDatabaseError(QStringLiteral("Row cannot be read: it was deleted after the query was opened"));
    }
    cell = query.value(0);
    query.finish();
    return cell;
}

void TQuery::FetchAll()
{
    RequireActive();
    // Unread rows in batches, pictures included: a statement per row would
    // cost more than the rows.
    constexpr size_t batchRows = 500;
    std::vector<TRow *> unread;
    for (TRow &row : FRows) {
        if (!row.Read)
            unread.push_back(&row);
    }
    for (size_t first = 0; first < unread.size(); first += batchRows)
        ReadRows(std::vector<TRow *>(unread.begin() + first, unread.begin() + std::min(unread.size(), first + batchRows)));
    for (TRow &row : FRows) {
        for (const TField &field : FFields)
            Resolved(Cell(row, field.Index()), field.Index());
    }
}

void TQuery::ReadRows(const std::vector<TRow *> &rows) const
{
    QHash<qint64, TRow *> byRowId;
    QStringList rowIds;
    for (TRow *row : rows) {
        byRowId.insert(row->RowId, row);
        rowIds << QString::number(row->RowId);
    }
    QStringList columns{QStringLiteral("rowid")};
    for (const TField &field : FFields)
        columns << Quoted(field.FieldName());
    QSqlQuery query(FConnection->Database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT %1 FROM %2 WHERE rowid IN (%3)")
                        .arg(columns.join(QLatin1Char(',')), FTable, rowIds.join(QLatin1Char(',')))))
        throw EDatabaseError(query.lastError().text());
    while (query.next()) {
        TRow *row = byRowId.value(query.value(0).toLongLong());
        if (!row)
            continue;
        QVarLengthArray<QVariant, 1> values(FFields.size());
        bool sameKeys = true;
        for (const TField &field : FFields) {
            values[field.Index()] = query.value(field.Index() + 1);
            const int slot = FKeySlot[field.Index()];
            // As a single read: a row whose keys differ is another row.
            if (slot >= 0 && values[field.Index()] != row->Values[slot])
                sameKeys = false;
        }
        if (sameKeys) {
            row->Values = std::move(values);
            row->Read = true;
        }
    }
    for (TRow *row : rows) {
        if (!row->Read)
            throw EDatabaseError(QStringLiteral("Row cannot be read: it was deleted after the query was opened"));
    }
}

QSqlQuery &TQuery::Prepared(const QString &sql) const
{
    auto found = FStatements.find(sql);
    if (found != FStatements.end())
        return found->second;
    QSqlQuery query(FConnection->Database());
    if (!query.prepare(sql))
        throw EDatabaseError(query.lastError().text());
    return FStatements.emplace(sql, std::move(query)).first->second;
}

void TQuery::Close()
{
    if (!Active())
        return;
    DoBeforeClose();
    FRows.clear();
    FFields.clear();
    FKeySlot.clear();
    FStatements.clear();
    FEditBuffer = TRow();
    FModified.clear();
    FState = dsInactive;
    FBof = FEof = true;
    DoAfterClose();
}

int TQuery::ExecSQL()
{
    RequireConnection();
    QSqlQuery query(FConnection->Database());
    if (!query.exec(EngineSql(FSql)))
        throw EDatabaseError(query.lastError().text());
    return query.numRowsAffected();
}

TQuery::TRow *TQuery::CurrentRow() const
{
    if (FState == dsEdit || FState == dsInsert)
        return &FEditBuffer;
    if (FRows.empty())
        return nullptr;
    return &FRows[FCurrent];
}

QVariant TQuery::ValueAt(int index) const
{
    TRow *row = CurrentRow();
    if (!row || index < 0 || index >= FieldCount())
        return QVariant();
    return Resolved(Cell(*row, index), index);
}

void TQuery::SetValueAt(int index, const QVariant &value)
{
    if (FState != dsEdit && FState != dsInsert)
        throw EDatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
    FEditBuffer.Values[index] = value;
    FModified[index] = true;
}

void TQuery::Scroll(int target)
{
    DoBeforeScroll();
    FCurrent = std::clamp(target, 0, std::max(0, RecordCount() - 1));
    DoAfterScroll();
}

void TQuery::First()
{
    RequireActive();
    if (FState != dsBrowse)
        Post();
    Scroll(0);
    FBof = true;
    FEof = FRows.empty();
}

void TQuery::Last()
{
    RequireActive();
    if (FState != dsBrowse)
        Post();
    Scroll(RecordCount() - 1);
    FEof = true;
    FBof = FRows.empty();
}

void TQuery::Next()
{
    MoveBy(1);
}

void TQuery::Prior()
{
    MoveBy(-1);
}

int TQuery::MoveBy(int distance)
{
    RequireActive();
    if (FState != dsBrowse)
        Post();
    const int from = FCurrent;
    const int last = std::max(0, RecordCount() - 1);
    const int target = std::clamp(FCurrent + distance, 0, last);
    const int moved = target - from;
    if (moved != 0) {
        FBof = false;
        FEof = false;
    }
    if (moved != distance) {
        if (distance > 0)
            FEof = true;
        else if (distance < 0)
            FBof = true;
    }
    if (FRows.empty()) {
        FBof = FEof = true;
    }
    Scroll(target);
    return moved;
}

bool TQuery::Locate(const QString &fieldName, const QVariant &value)
{
    RequireActive();
    const TField *field = FieldByName(fieldName);
    const QString wanted = value.toString();
    for (int i = 0; i < RecordCount(); ++i) {
        const QVariant cell = Resolved(Cell(FRows[i], field->Index()), field->Index());
        if (cell.isNull() != value.isNull())
            continue;
        if (cell.toString().compare(wanted, Qt::CaseInsensitive) == 0) {
            if (FState != dsBrowse)
                Post();
            FBof = FEof = false;
            Scroll(i);
            return true;
        }
    }
    return false;
}

void TQuery::SortBy(const QString &fieldName, bool ascending)
{
    RequireActive();
    const int index = FieldByName(fieldName)->Index();
    // Sorting compares whole rows: every row is read first.
    for (TRow &row : FRows) {
        if (!row.Read)
            ReadRow(row);
    }
    std::stable_sort(FRows.begin(), FRows.end(), [index, ascending](const TRow &rowA, const TRow &rowB) {
        const QVariant &a = rowA.Values[index];
        const QVariant &b = rowB.Values[index];
        bool okA = false, okB = false;
        const double x = a.toDouble(&okA);
        const double y = b.toDouble(&okB);
        const bool less = (okA && okB) ? x < y : a.toString() < b.toString();
        const bool greater = (okA && okB) ? y < x : b.toString() < a.toString();
        return ascending ? less : greater;
    });
    FCurrent = 0;
    FBof = true;
    FEof = FRows.empty();
}

QVariant TQuery::RowValue(int row, int fieldIndex) const
{
    if (row < 0 || row >= RecordCount() || fieldIndex < 0 || fieldIndex >= FieldCount())
        return QVariant();
    return Resolved(Cell(FRows[row], fieldIndex), fieldIndex);
}

TField *TQuery::Fields(int index)
{
    if (index < 0 || index >= FieldCount())
        throw EDatabaseError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return &FFields[index];
}

TField *TQuery::FindField(const QString &name)
{
    const QString wanted = name.trimmed();
    for (TField &field : FFields) {
        // Names of another length cannot match: skips most comparisons.
        if (field.FieldName().size() == wanted.size() && field.FieldName().compare(wanted, Qt::CaseInsensitive) == 0)
            return &field;
    }
    return nullptr;
}

TField *TQuery::FieldByName(const QString &name)
{
    TField *field = FindField(name);
    if (!field)
        throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(name));
    return field;
}

QStringList TQuery::FieldNames() const
{
    QStringList names;
    for (const TField &field : FFields)
        names << field.FieldName();
    return names;
}

void TQuery::Edit()
{
    RequireActive();
    if (FState == dsEdit || FState == dsInsert)
        return;
    if (FRows.empty()) {
        Append();
        return;
    }
    DoBeforeEdit();
    if (!FRows[FCurrent].Read)
        ReadRow(FRows[FCurrent]);
    FEditBuffer = FRows[FCurrent];
    FModified.assign(FFields.size(), false);
    FState = dsEdit;
    DoAfterEdit();
}

void TQuery::Append()
{
    StartInsert(true);
}

void TQuery::Insert()
{
    StartInsert(false);
}

void TQuery::StartInsert(bool atEnd)
{
    RequireActive();
    if (FState != dsBrowse)
        Post();
    DoBeforeInsert();
    DoBeforeScroll();
    FInsertPos = atEnd || FRows.empty() ? RecordCount() : FCurrent;
    FEditBuffer = TRow();
    FEditBuffer.Values.resize(FFields.size());
    FModified.assign(FFields.size(), false);
    FState = dsInsert;
    FBof = FEof = false;
    DoAfterInsert();
    DoAfterScroll();
}

void TQuery::Post()
{
    RequireActive();
    if (FState != dsEdit && FState != dsInsert)
        return;
    DoBeforePost();
    // A before-post handler that cancelled the edit has aborted the post.
    if (FState != dsEdit && FState != dsInsert)
        return;
    if (FState == dsInsert) {
        WriteInsert();
        FRows.insert(FRows.begin() + FInsertPos, std::move(FEditBuffer));
        FCurrent = FInsertPos;
    } else {
        WriteUpdate();
        FRows[FCurrent] = std::move(FEditBuffer);
    }
    FEditBuffer = TRow();
    FModified.clear();
    FState = dsBrowse;
    DoAfterPost();
}

void TQuery::Cancel()
{
    if (FState != dsEdit && FState != dsInsert)
        return;
    DoBeforeCancel();
    FEditBuffer = TRow();
    FModified.clear();
    FState = dsBrowse;
    FBof = FCurrent == 0;
    FEof = FRows.empty();
    DoAfterCancel();
}

void TQuery::Delete()
{
    RequireActive();
    if (FState == dsInsert) {
        Cancel();
        return;
    }
    if (FRows.empty())
        throw EDatabaseError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    if (FState == dsEdit)
        Cancel();
    DoBeforeDelete();
    WriteDelete();
    FRows.erase(FRows.begin() + FCurrent);
    FCurrent = std::clamp(FCurrent, 0, std::max(0, RecordCount() - 1));
    FBof = FCurrent == 0;
    FEof = FRows.empty();
    DoAfterDelete();
    DoAfterScroll();
}

QString TQuery::WhereForRow(TRow &row, std::vector<QVariant> &binds) const
{
    QStringList keys = FKeyColumns;
    bool keysSelected = !keys.isEmpty();
    for (const QString &key : keys) {
        if (!const_cast<TQuery *>(this)->FindField(key))
            keysSelected = false;
    }
    // Without a usable key every non-blob column of the row must match.
    if (!keysSelected) {
        keys.clear();
        for (const TField &field : FFields) {
            if (!field.IsBlob())
                keys << field.FieldName();
        }
    }
    QStringList terms;
    for (const QString &key : keys) {
        const int index = const_cast<TQuery *>(this)->FindField(key)->Index();
        terms << QStringLiteral("%1 IS ?").arg(key);
        binds.push_back(Cell(row, index));
    }
    return terms.join(QLatin1String(" AND "));
}

void TQuery::RunBound(const QString &sql, const std::vector<QVariant> &binds, int expectedRows) const
{
    QSqlQuery &query = Prepared(sql);
    for (size_t i = 0; i < binds.size(); ++i)
        query.bindValue(int(i), binds[i]);
    if (!query.exec())
        throw EDatabaseError(query.lastError().text());
    const int affected = query.numRowsAffected();
    query.finish();
    if (expectedRows >= 0 && affected != expectedRows)
        throw EDatabaseError(QStringLiteral("Row cannot be located for updating. Some values may have been changed since it was last read."));
}

void TQuery::WriteInsert()
{
    if (FTable.isEmpty())
        throw EDatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
    QStringList columns, marks;
    std::vector<QVariant> binds;
    for (size_t i = 0; i < FFields.size(); ++i) {
        if (!FModified[i] || !FInTable[i])
            continue;
        columns << FFields[i].FieldName();
        marks << QStringLiteral("?");
        binds.push_back(FEditBuffer.Values[i]);
    }
    const QString sql = columns.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(FTable)
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(FTable, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    RunBound(sql, binds, 1);
}

void TQuery::WriteUpdate()
{
    if (FTable.isEmpty())
        throw EDatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
    QStringList sets;
    std::vector<QVariant> binds;
    for (size_t i = 0; i < FFields.size(); ++i) {
        if (!FModified[i] || !FInTable[i])
            continue;
        sets << QStringLiteral("%1=?").arg(FFields[i].FieldName());
        binds.push_back(FEditBuffer.Values[i]);
    }
    if (sets.isEmpty())
        return;
    const QString where = WhereForRow(FRows[FCurrent], binds);
    RunBound(QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(FTable, sets.join(QLatin1Char(',')), where), binds, 1);
}

void TQuery::WriteDelete()
{
    if (FTable.isEmpty())
        throw EDatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
    std::vector<QVariant> binds;
    const QString where = WhereForRow(FRows[FCurrent], binds);
    RunBound(QStringLiteral("DELETE FROM %1 WHERE %2").arg(FTable, where), binds, -1);
}
