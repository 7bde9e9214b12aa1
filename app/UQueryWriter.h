#pragma once

#include <functional>
#include <vector>

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "UQueryTable.h"

class TField;

// Writes a query's edits through at once to the one table of its FROM:
// INSERT of the changed columns, UPDATE and DELETE of the row found by its
// key columns or, without them, by every column that is not a picture.
class TQueryWriter
{
public:
    // A cell of the row as it was read, by field index.
    using TOriginal = std::function<QVariant(int fieldIndex)>;

    // table empty: the statement has no table to write to, and every write
    // throws. whereFields are the fields that find a row in the table, its
    // key columns when they are among keyColumns.
    TQueryWriter(const QSqlDatabase &db, const QString &table, const QSqlRecord &tableRecord,
                 const std::vector<TField> &fields, const std::vector<int> &whereFields, const QStringList &keyColumns);

    // Each throws EDatabaseError with the engine's text, or when the row is
    // not found exactly once.
    void Insert(const TQueryRow &row, const std::vector<bool> &modified);
    void Update(const TQueryRow &edited, const std::vector<bool> &modified, const TOriginal &original);
    void Delete(const TOriginal &original);

private:
    struct TColumn
    {
        QString Name;
        // A column of the table, not one the statement computed.
        bool InTable = false;
    };

    void RequireTable() const;
    QString Where(const TOriginal &original, std::vector<QVariant> &binds) const;
    void RunBound(const QString &sql, const std::vector<QVariant> &binds, int expectedRows);

    QString FTable;
    std::vector<TColumn> FColumns;
    std::vector<int> FWhereFields;
    // How a where field is compared with its value: SQLite's IS matches NULL
    // and uses the key's index; elsewhere a key is compared with "=", the
    // other columns with the standard's null-safe form.
    QString FMatch;
    TPreparedStatements FStatements;
};
