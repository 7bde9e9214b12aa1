#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QObject>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "UQueryTable.h"

class TConnection;
class TQuery;
class TQueryWriter;
class TServerBlobs;
class TSqliteRowLoader;

// One column of a query's current row, in the manner of a classic dataset
// field: read as text (NULL reads empty), integer, bytes or variant, and
// written through the query's edit buffer.
class TField
{
public:
    TField(TQuery *query, int index, const QString &name, bool isBlob);

    const QString &FieldName() const { return FName; }
    int Index() const { return FIndex; }
    bool IsBlob() const { return FIsBlob; }

    QVariant Value() const;
    bool IsNull() const;
    QString AsString() const;
    // NULL reads as 0; text that is not a whole number throws EDatabaseError.
    int AsInteger() const;
    // The variant conversion of the draw: NULL is an error, not 0.
    int ValueAsInteger() const;
    QByteArray AsBytes() const;
    // The text a report or grid shows: OnGetText may replace AsString.
    QString DisplayText() const;

    void SetValue(const QVariant &value);
    void SetAsString(const QString &value) { SetValue(value); }
    void SetAsInteger(int value) { SetValue(value); }
    void Clear() { SetValue(QVariant()); }

    std::function<void(const TField &field, QString &text, bool displayText)> OnGetText;

private:
    TQuery *FQuery;
    int FIndex;
    QString FName;
    bool FIsBlob;
};

// A client-side result set on a TConnection. Opening reads every row, so
// the row count, moves in both directions and Locate work on the buffer;
// Edit/Append + Post write through at once to the one table of the FROM.
// A whole-table select on SQLite reads its rows lazily (TSqliteRowLoader):
// a row deleted meanwhile then fails to be read. On a server it reads every
// row but leaves the pictures there until they are asked for (TServerBlobs).
// Notifications are virtual hooks (Do...) that emit the signals of the
// same names; derived classes add their work around the base call.
class TQuery : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TQuery)

public:
    enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

    explicit TQuery(QObject *owner = nullptr);
    ~TQuery() override;

    TConnection *Connection() const { return FConnection; }
    void SetConnection(TConnection *connection);
    QString SQL() const { return FSql; }
    void SetSQL(const QString &sql);

    // Throws EDatabaseError with the engine's text; the query stays closed.
    void Open();
    void Close();
    bool Active() const { return FState != dsInactive; }
    // Runs the statement without a result set; returns the rows affected.
    int ExecSQL();
    // Off: the next open reads every row whole, as on an engine other
    // than SQLite; tests and benchmarks compare the two paths with it.
    void SetLazyRows(bool lazy) { FLazyRows = lazy; }

    TDataSetState State() const { return FState; }
    int RecordCount() const { return int(FRows.size()); }
    bool IsEmpty() const { return FRows.empty(); }
    // 1-based number of the current row; 0 when there is none.
    int RecNo() const { return FRows.empty() ? 0 : FCurrent + 1; }
    bool Bof() const { return FBof; }
    bool Eof() const { return FEof; }

    void First();
    void Last();
    void Next();
    void Prior();
    // Moves up to distance rows, stopping on the first or last row; returns
    // the rows actually moved.
    int MoveBy(int distance);
    // Makes the first row whose field equals the value current. Text is
    // compared without regard to letter case.
    bool Locate(const QString &fieldName, const QVariant &value);
    // Orders the buffered rows by a column (numbers by value); the current
    // row becomes the first.
    void SortBy(const QString &fieldName, bool ascending = true);

    // A buffered row's value without moving the cursor, as a grid reads
    // rows; null outside the rows.
    QVariant RowValue(int row, int fieldIndex) const;

    int FieldCount() const { return int(FFields.size()); }
    TField *Fields(int index);
    TField *FindField(const QString &name);
    const TField *FindField(const QString &name) const;
    // Throws EDatabaseError when the query has no such field.
    TField *FieldByName(const QString &name);
    QStringList FieldNames() const;

    void Edit();
    void Append();
    void Insert();
    void Post();
    void Cancel();
    // Ends an edit whose write failed, keeping its values in the buffered
    // row only, for a caller that writes them itself later.
    void EndEditUnwritten();
    void Delete();
    // Reads every column of every row, pictures included, so that the rows
    // stay readable after they are deleted from the database.
    void FetchAll();

    // The master link of a detail query; the paging bar unlinks it while it
    // reloads. Only stored here.
    QObject *MasterSource() const { return FMasterSource; }
    void SetMasterSource(QObject *source) { FMasterSource = source; }

signals:
    void BeforeOpen(TQuery *query);
    void AfterOpen(TQuery *query);
    void BeforeClose(TQuery *query);
    void AfterClose(TQuery *query);
    void BeforeScroll(TQuery *query);
    void AfterScroll(TQuery *query);
    void BeforeEdit(TQuery *query);
    void AfterEdit(TQuery *query);
    void BeforeInsert(TQuery *query);
    void AfterInsert(TQuery *query);
    void BeforePost(TQuery *query);
    void AfterPost(TQuery *query);
    void BeforeCancel(TQuery *query);
    void AfterCancel(TQuery *query);
    void BeforeDelete(TQuery *query);
    void AfterDelete(TQuery *query);

protected:
    virtual void DoBeforeOpen() { emit BeforeOpen(this); }
    virtual void DoAfterOpen() { emit AfterOpen(this); }
    virtual void DoBeforeClose() { emit BeforeClose(this); }
    virtual void DoAfterClose() { emit AfterClose(this); }
    virtual void DoBeforeScroll() { emit BeforeScroll(this); }
    virtual void DoAfterScroll() { emit AfterScroll(this); }
    virtual void DoBeforeEdit() { emit BeforeEdit(this); }
    virtual void DoAfterEdit() { emit AfterEdit(this); }
    virtual void DoBeforeInsert() { emit BeforeInsert(this); }
    virtual void DoAfterInsert() { emit AfterInsert(this); }
    virtual void DoBeforePost() { emit BeforePost(this); }
    virtual void DoAfterPost() { emit AfterPost(this); }
    virtual void DoBeforeCancel() { emit BeforeCancel(this); }
    virtual void DoAfterCancel() { emit AfterCancel(this); }
    virtual void DoBeforeDelete() { emit BeforeDelete(this); }
    virtual void DoAfterDelete() { emit AfterDelete(this); }

private:
    friend class TField;

    QString EngineSql(const QString &sql) const;
    void OpenPlain(const QSqlRecord &tableRecord);
    // The fields that find the current row in the table: its key columns
    // when the statement selects them all, else every non-picture field.
    std::vector<int> WhereFields(const QStringList &keyColumns) const;
    int FieldIndex(const QString &name) const;
    // The cell of a field in a row, reading the row first when needed.
    QVariant &Cell(TQueryRow &row, int index) const;
    // The cell's value, fetching a picture that was left on disk.
    QVariant Resolved(QVariant &cell, int index) const;
    void RequireConnection() const;
    void RequireActive() const;
    TQueryRow *CurrentRow() const;
    QVariant ValueAt(int index) const;
    void SetValueAt(int index, const QVariant &value);
    // Makes a row current with the ends flags it is seen with, then
    // notifies: handlers read the flags of the new row.
    void Scroll(int target, bool bof, bool eof);
    void StartInsert(bool atEnd);

    TConnection *FConnection = nullptr;
    QString FSql;
    bool FLazyRows = true;
    TDataSetState FState = dsInactive;
    // Rows are read lazily (see above): cached reads change them.
    mutable std::vector<TQueryRow> FRows;
    std::vector<TField> FFields;
    // Null on the plain path, where every row is read whole at open.
    std::unique_ptr<TSqliteRowLoader> FLoader;
    // Null unless the plain path left pictures on the server.
    std::unique_ptr<TServerBlobs> FBlobs;
    std::unique_ptr<TQueryWriter> FWriter;
    int FCurrent = 0;
    bool FBof = true;
    bool FEof = true;
    mutable TQueryRow FEditBuffer;
    std::vector<bool> FModified;
    int FInsertPos = -1;
    QObject *FMasterSource = nullptr;
};
