#include "app/UQuery.h"

#include <algorithm>

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QRegularExpression>

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

const QString KRowIdColumn = QStringLiteral("__examora_rowid");

} // namespace

Q_DECLARE_METATYPE(TLazyBlob)

QString TQuery::LazyBlobSql() const
{
    // Only "select * from <table> ..." on SQLite: the whole bank is opened
    // that way, and reading every picture would cost time and memory that
    // the few questions actually copied do not need.
    static const QRegularExpression selectAll(
        QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+([A-Za-z_][A-Za-z0-9_]*)(\\s.*)?$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    if (!FConnection->NeedsLimitForTop())
        return QString();
    const QRegularExpressionMatch match = selectAll.match(FSql);
    if (!match.hasMatch())
        return QString();
    const QSqlRecord record = FConnection->Database().record(match.captured(1));
    QStringList columns{QStringLiteral("rowid AS ") + KRowIdColumn};
    bool hasBlob = false;
    for (int i = 0; i < record.count(); ++i) {
        const QString name = record.fieldName(i);
        if (record.field(i).metaType().id() == QMetaType::QByteArray) {
            hasBlob = true;
            columns << QStringLiteral("CASE WHEN \"%1\" IS NULL THEN NULL ELSE 1 END AS \"%1\"").arg(name);
        } else {
            columns << QStringLiteral("\"%1\"").arg(name);
        }
    }
    if (!hasBlob)
        return QString();
    return QStringLiteral("SELECT %1 FROM %2%3").arg(columns.join(QLatin1Char(',')), match.captured(1), match.captured(2));
}

void TQuery::Open()
{
    if (Active())
        return;
    DoBeforeOpen();
    RequireConnection();
    FTable = FirstFromTable(FSql);
    const QString lazySql = LazyBlobSql();
    QSqlQuery query(FConnection->Database());
    query.setForwardOnly(true);
    if (!query.exec(lazySql.isEmpty() ? EngineSql(FSql) : lazySql))
        throw EDatabaseError(query.lastError().text());
    if (!query.isSelect())
        throw EDatabaseError(QStringLiteral("SQL statement did not return a result set"));

    const QSqlRecord record = query.record();
    const int first = lazySql.isEmpty() ? 0 : 1;
    const QSqlRecord tableRecord = FTable.isEmpty() ? QSqlRecord() : FConnection->Database().record(FTable);
    FFields.clear();
    FFields.reserve(record.count() - first);
    for (int i = first; i < record.count(); ++i) {
        const QSqlField field = record.field(i);
        // An empty result or a lazy column reports no byte type: the
        // declared column of the table decides then.
        const int declared = tableRecord.indexOf(field.name());
        const bool isBlob = field.metaType().id() == QMetaType::QByteArray
            || (declared >= 0 && tableRecord.field(declared).metaType().id() == QMetaType::QByteArray);
        FFields.emplace_back(this, i - first, field.name(), isBlob);
    }
    FRows.clear();
    while (query.next()) {
        TRow row(FFields.size());
        const qint64 rowId = first ? query.value(0).toLongLong() : 0;
        for (size_t i = 0; i < FFields.size(); ++i) {
            const QVariant value = query.value(int(i) + first);
            row[i] = first && FFields[i].IsBlob() && !value.isNull() ? QVariant::fromValue(TLazyBlob{rowId}) : value;
        }
        FRows.push_back(std::move(row));
    }
    FCurrent = 0;
    FBof = true;
    FEof = FRows.empty();
    FState = dsBrowse;
    DoAfterOpen();
    if (!FRows.empty())
        DoAfterScroll();
}

QVariant TQuery::Resolved(QVariant &cell, int index) const
{
    if (cell.metaType() != QMetaType::fromType<TLazyBlob>())
        return cell;
    QSqlQuery query(FConnection->Database());
    query.prepare(QStringLiteral("SELECT \"%1\" FROM %2 WHERE rowid=?").arg(FFields[index].FieldName(), FTable));
    query.addBindValue(cell.value<TLazyBlob>().RowId);
    if (!query.exec() || !query.next())
        throw EDatabaseError(query.lastError().text().isEmpty() ? QStringLiteral("Row cannot be located") : query.lastError().text());
    cell = query.value(0);
    return cell;
}

void TQuery::Close()
{
    if (!Active())
        return;
    DoBeforeClose();
    FRows.clear();
    FFields.clear();
    FEditBuffer.clear();
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

const TQuery::TRow *TQuery::CurrentRow() const
{
    if (FState == dsEdit || FState == dsInsert)
        return &FEditBuffer;
    if (FRows.empty())
        return nullptr;
    return &FRows[FCurrent];
}

QVariant TQuery::ValueAt(int index) const
{
    TRow *row = const_cast<TRow *>(CurrentRow());
    if (!row || index < 0 || index >= int(row->size()))
        return QVariant();
    return Resolved((*row)[index], index);
}

void TQuery::SetValueAt(int index, const QVariant &value)
{
    if (FState != dsEdit && FState != dsInsert)
        throw EDatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
    FEditBuffer[index] = value;
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
        const QVariant cell = FRows[i][field->Index()];
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
    std::stable_sort(FRows.begin(), FRows.end(), [index, ascending](const TRow &a, const TRow &b) {
        bool okA = false, okB = false;
        const double x = a[index].toDouble(&okA);
        const double y = b[index].toDouble(&okB);
        const bool less = (okA && okB) ? x < y : a[index].toString() < b[index].toString();
        const bool greater = (okA && okB) ? y < x : b[index].toString() < a[index].toString();
        return ascending ? less : greater;
    });
    FCurrent = 0;
    FBof = true;
    FEof = FRows.empty();
}

QVariant TQuery::RowValue(int row, int fieldIndex) const
{
    if (row < 0 || row >= RecordCount() || fieldIndex < 0 || fieldIndex >= int(FRows[row].size()))
        return QVariant();
    return FRows[row][fieldIndex];
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
        if (field.FieldName().compare(wanted, Qt::CaseInsensitive) == 0)
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
    FEditBuffer.assign(FFields.size(), QVariant());
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
        FRows.insert(FRows.begin() + FInsertPos, FEditBuffer);
        FCurrent = FInsertPos;
    } else {
        WriteUpdate();
        FRows[FCurrent] = FEditBuffer;
    }
    FEditBuffer.clear();
    FModified.clear();
    FState = dsBrowse;
    DoAfterPost();
}

void TQuery::Cancel()
{
    if (FState != dsEdit && FState != dsInsert)
        return;
    DoBeforeCancel();
    FEditBuffer.clear();
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

QStringList TQuery::KeyColumns() const
{
    QStringList keys;
    const QSqlIndex index = FConnection->Database().primaryIndex(FTable);
    for (int i = 0; i < index.count(); ++i)
        keys << index.fieldName(i);
    return keys;
}

QString TQuery::WhereForRow(const TRow &row, std::vector<QVariant> &binds) const
{
    QStringList keys = KeyColumns();
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
        binds.push_back(row[index]);
    }
    return terms.join(QLatin1String(" AND "));
}

namespace {

void RunBound(TConnection *connection, const QString &sql, const std::vector<QVariant> &binds,
              int expectedRows)
{
    QSqlQuery query(connection->Database());
    if (!query.prepare(sql))
        throw EDatabaseError(query.lastError().text());
    for (const QVariant &value : binds)
        query.addBindValue(value);
    if (!query.exec())
        throw EDatabaseError(query.lastError().text());
    if (expectedRows >= 0 && query.numRowsAffected() != expectedRows)
        throw EDatabaseError(QStringLiteral("Row cannot be located for updating. Some values may have been changed since it was last read."));
}

} // namespace

void TQuery::WriteInsert()
{
    if (FTable.isEmpty())
        throw EDatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
    const QSqlRecord tableRecord = FConnection->Database().record(FTable);
    QStringList columns, marks;
    std::vector<QVariant> binds;
    for (size_t i = 0; i < FFields.size(); ++i) {
        if (!FModified[i] || tableRecord.indexOf(FFields[i].FieldName()) < 0)
            continue;
        columns << FFields[i].FieldName();
        marks << QStringLiteral("?");
        binds.push_back(FEditBuffer[i]);
    }
    const QString sql = columns.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(FTable)
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(FTable, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    RunBound(FConnection, sql, binds, 1);
}

void TQuery::WriteUpdate()
{
    if (FTable.isEmpty())
        throw EDatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
    const QSqlRecord tableRecord = FConnection->Database().record(FTable);
    QStringList sets;
    std::vector<QVariant> binds;
    for (size_t i = 0; i < FFields.size(); ++i) {
        if (!FModified[i] || tableRecord.indexOf(FFields[i].FieldName()) < 0)
            continue;
        sets << QStringLiteral("%1=?").arg(FFields[i].FieldName());
        binds.push_back(FEditBuffer[i]);
    }
    if (sets.isEmpty())
        return;
    const QString where = WhereForRow(FRows[FCurrent], binds);
    RunBound(FConnection, QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(FTable, sets.join(QLatin1Char(',')), where),
             binds, 1);
}

void TQuery::WriteDelete()
{
    if (FTable.isEmpty())
        throw EDatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
    std::vector<QVariant> binds;
    const QString where = WhereForRow(FRows[FCurrent], binds);
    RunBound(FConnection, QStringLiteral("DELETE FROM %1 WHERE %2").arg(FTable, where), binds, -1);
}
