#include "UQuery.h"

#include <algorithm>

#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include "UConnection.h"
#include "UDbError.h"
#include "UQueryWriter.h"
#include "UServerBlobs.h"
#include "USqlText.h"
#include "USqliteRowLoader.h"

TField::TField(TQuery *query, int index, const QString &name, bool isBlob)
    : FQuery(query),
      FIndex(index),
      FName(name),
      FIsBlob(isBlob)
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

void TQuery::OpenPlain(const QSqlRecord &tableRecord)
{
    QSqlQuery query(FConnection->Database());
    query.setForwardOnly(true);
    if (!query.exec(EngineSql(FBlobs ? FBlobs->Statement() : FSql)))
        throw EngineError(query);
    if (!query.isSelect())
        throw EDatabaseError(QStringLiteral("SQL statement did not return a result set"));

    const QSqlRecord record = query.record();
    FFields.clear();
    FFields.reserve(record.count());
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField field = record.field(i);
        // An empty result reports no byte type: the declared column of the
        // table decides then.
        const int declared = tableRecord.indexOf(field.name());
        const bool isBlob = IsBlobColumn(record, i) || (declared >= 0 && IsBlobColumn(tableRecord, declared));
        FFields.emplace_back(this, i, field.name(), isBlob);
    }
    FRows.clear();
    while (query.next()) {
        TQueryRow row;
        row.Values.resize(FFields.size());
        for (size_t i = 0; i < FFields.size(); ++i)
            row.Values[i] = query.value(int(i));
        if (FBlobs)
            FBlobs->Mark(row.Values);
        FRows.push_back(std::move(row));
    }
}

void TQuery::Open()
{
    if (Active())
        return;
    DoBeforeOpen();
    RequireConnection();
    const QSqlDatabase db = FConnection->Database();
    const QString table = FirstFromTable(FSql);
    const TTableShape shape = table.isEmpty() ? TTableShape() : TableShape(db, table);
    FLoader = FLazyRows ? TSqliteRowLoader::Open(db, table, shape, FSql, FRows) : nullptr;
    if (FLoader) {
        FFields.clear();
        for (int i = 0; i < shape.Record.count(); ++i)
            FFields.emplace_back(this, i, shape.Record.fieldName(i), IsBlobColumn(shape.Record, i));
    } else {
        const bool server = FLazyRows && !table.isEmpty() && !TSqliteRowLoader::Serves(db);
        FBlobs = server ? TServerBlobs::For(db, table, shape, FSql) : nullptr;
        OpenPlain(shape.Record);
    }
    FWriter = std::make_unique<TQueryWriter>(db, table, shape.Record, FFields, WhereFields(shape.Keys), shape.Keys);
    FCurrent = 0;
    FBof = true;
    FEof = FRows.empty();
    FState = dsBrowse;
    DoAfterOpen();
    if (!FRows.empty())
        DoAfterScroll();
}

std::vector<int> TQuery::WhereFields(const QStringList &keyColumns) const
{
    std::vector<int> where;
    for (const QString &key : keyColumns) {
        const TField *field = FindField(key);
        if (!field) {
            where.clear();
            break;
        }
        where.push_back(field->Index());
    }
    if (where.empty()) {
        for (const TField &field : FFields) {
            if (!field.IsBlob())
                where.push_back(FindField(field.FieldName())->Index());
        }
    }
    return where;
}

QVariant &TQuery::Cell(TQueryRow &row, int index) const
{
    if (!row.Read) {
        if (const int slot = FLoader->KeySlot(index); slot >= 0)
            return row.Values[slot];
        FLoader->ReadRow(row);
    }
    return row.Values[index];
}

QVariant TQuery::Resolved(QVariant &cell, int index) const
{
    if (FLoader)
        return FLoader->Resolved(cell, index);
    return FBlobs ? FBlobs->Resolved(cell, index) : cell;
}

void TQuery::FetchAll()
{
    RequireActive();
    if (FLoader)
        FLoader->ReadAll(FRows);
    for (TQueryRow &row : FRows) {
        for (int i = 0; FBlobs && i < FieldCount(); ++i)
            FBlobs->Resolved(row.Values[i], i);
    }
}

void TQuery::Close()
{
    if (!Active())
        return;
    DoBeforeClose();
    FRows.clear();
    FFields.clear();
    FLoader.reset();
    FBlobs.reset();
    FWriter.reset();
    FEditBuffer = TQueryRow();
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
        throw EngineError(query);
    return query.numRowsAffected();
}

TQueryRow *TQuery::CurrentRow() const
{
    if (FState == dsEdit || FState == dsInsert)
        return &FEditBuffer;
    if (FRows.empty())
        return nullptr;
    return &FRows[FCurrent];
}

QVariant TQuery::ValueAt(int index) const
{
    TQueryRow *row = CurrentRow();
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

void TQuery::Scroll(int target, bool bof, bool eof)
{
    DoBeforeScroll();
    FCurrent = std::clamp(target, 0, std::max(0, RecordCount() - 1));
    FBof = bof || FRows.empty();
    FEof = eof || FRows.empty();
    DoAfterScroll();
}

void TQuery::First()
{
    RequireActive();
    if (FState != dsBrowse)
        Post();
    Scroll(0, true, false);
}

void TQuery::Last()
{
    RequireActive();
    if (FState != dsBrowse)
        Post();
    Scroll(RecordCount() - 1, false, true);
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
    const int target = std::clamp(FCurrent + distance, 0, std::max(0, RecordCount() - 1));
    const int moved = target - FCurrent;
    // A move that stops short sets the flag of the end it ran into; one
    // that moves clears both; no move keeps them.
    const bool stopped = moved != distance;
    const bool bof = (moved == 0 && FBof) || (stopped && distance < 0);
    const bool eof = (moved == 0 && FEof) || (stopped && distance > 0);
    Scroll(target, bof, eof);
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
            Scroll(i, false, false);
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
    for (TQueryRow &row : FRows) {
        if (!row.Read)
            FLoader->ReadRow(row);
    }
    std::stable_sort(FRows.begin(), FRows.end(), [index, ascending](const TQueryRow &rowA, const TQueryRow &rowB) {
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

int TQuery::FieldIndex(const QString &name) const
{
    const QString wanted = name.trimmed();
    for (const TField &field : FFields) {
        // Names of another length cannot match: skips most comparisons.
        if (field.FieldName().size() == wanted.size() && field.FieldName().compare(wanted, Qt::CaseInsensitive) == 0)
            return field.Index();
    }
    return -1;
}

TField *TQuery::FindField(const QString &name)
{
    const int index = FieldIndex(name);
    return index < 0 ? nullptr : &FFields[index];
}

const TField *TQuery::FindField(const QString &name) const
{
    const int index = FieldIndex(name);
    return index < 0 ? nullptr : &FFields[index];
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
        FLoader->ReadRow(FRows[FCurrent]);
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
    FEditBuffer = TQueryRow();
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
        FWriter->Insert(FEditBuffer, FModified);
        FRows.insert(FRows.begin() + FInsertPos, std::move(FEditBuffer));
        FCurrent = FInsertPos;
    } else {
        FWriter->Update(FEditBuffer, FModified, [this](int index) { return Cell(FRows[FCurrent], index); });
        FRows[FCurrent] = std::move(FEditBuffer);
    }
    FEditBuffer = TQueryRow();
    FModified.clear();
    FState = dsBrowse;
    DoAfterPost();
}

void TQuery::Cancel()
{
    if (FState != dsEdit && FState != dsInsert)
        return;
    DoBeforeCancel();
    FEditBuffer = TQueryRow();
    FModified.clear();
    FState = dsBrowse;
    FBof = FCurrent == 0;
    FEof = FRows.empty();
    DoAfterCancel();
}

void TQuery::EndEditUnwritten()
{
    if (FState != dsEdit)
        return;
    FRows[FCurrent] = std::move(FEditBuffer);
    FEditBuffer = TQueryRow();
    FModified.clear();
    FState = dsBrowse;
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
    FWriter->Delete([this](int index) { return Cell(FRows[FCurrent], index); });
    FRows.erase(FRows.begin() + FCurrent);
    FCurrent = std::clamp(FCurrent, 0, std::max(0, RecordCount() - 1));
    FBof = FCurrent == 0;
    FEof = FRows.empty();
    DoAfterDelete();
    DoAfterScroll();
}
