#pragma once

#include <map>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>
#include <QVariant>

#include "UDbError.h"

// What the query's cursor, its lazy row loader and its writer share: the
// table behind a statement, a buffered row, prepared statements and the
// texts of their errors.

// A table's columns and primary key.
struct TTableShape
{
    int SchemaVersion = -1;
    QSqlRecord Record;
    QStringList Keys;
    // The one key is SQLite's rowid under another name.
    bool KeyIsRowId = false;
};

// Read once and kept while SQLite reports the same schema version, or on a
// server for the connection's life: the many small statements of a paper
// need not each ask the engine again.
TTableShape TableShape(const QSqlDatabase &db, const QString &table);

bool IsBlobColumn(const QSqlRecord &record, int index);

// One buffered row of a query.
struct TQueryRow
{
    // Every column once the row is read; before that only the key
    // columns, usually one, held without a heap block of its own.
    QVarLengthArray<QVariant, 1> Values;
    qint64 RowId = 0;
    bool Read = true;
};

// Statements of our own, each prepared once while the query is open.
class TPreparedStatements
{
public:
    explicit TPreparedStatements(const QSqlDatabase &db)
        : FDatabase(db)
    {
    }
    // Throws EDatabaseError when the engine refuses the statement.
    QSqlQuery &Get(const QString &sql);
    void Forget(const QString &sql) { FStatements.erase(sql); }

private:
    QSqlDatabase FDatabase;
    std::map<QString, QSqlQuery> FStatements;
};

// The engine's own text for a statement that failed, after a Chinese
// sentence where the engine names the fault.
EDatabaseError EngineError(const QSqlQuery &query);
EDatabaseError RowDeletedError();
// Runs a bound statement that reads one value of one row and returns it;
// throws the engine's error, or RowDeletedError when no row is found.
QVariant RowValue(QSqlQuery &query);
EDatabaseError ReadOnlyError();
