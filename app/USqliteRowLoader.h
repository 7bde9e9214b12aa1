#pragma once

#include <memory>
#include <vector>

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include "UQueryTable.h"

// The one engine-specific part of the query: on SQLite a whole-table
// "select * from <table> [where|order by|limit ...]" reads only each row's
// rowid and key columns at first; the rest of a row is read the first time
// one of its columns is used, a picture only when it is read itself. Every
// other engine and statement takes the plain path that reads whole rows.
class TSqliteRowLoader
{
public:
    // The engine behind the connection is SQLite, reachable through its own
    // handle: the only case the loader and the engine facts below serve.
    static bool Serves(const QSqlDatabase &db);
    // SQLite's schema version; -1 on another engine, whose shapes are not kept.
    static int SchemaVersion(const QSqlDatabase &db);
    static bool KeyIsRowId(const QSqlDatabase &db, const QString &table, const QString &key);

    // The loader of the statement's rows, which are put in rows unread; null
    // when the statement cannot be read this way. The fields are the
    // columns of the table's record, in its order.
    static std::unique_ptr<TSqliteRowLoader> Open(const QSqlDatabase &db, const QString &table, const TTableShape &shape,
                                                  const QString &sql, std::vector<TQueryRow> &rows);

    // The place of a field among the key columns an unread row holds, or -1.
    int KeySlot(int fieldIndex) const { return FKeySlot[fieldIndex]; }
    // Throws EDatabaseError when the row is no longer in the table.
    void ReadRow(TQueryRow &row);
    // The cell's value, fetching a picture that was left on disk.
    QVariant Resolved(QVariant &cell, int fieldIndex);
    // Every column of every row, pictures included.
    void ReadAll(std::vector<TQueryRow> &rows);

private:
    TSqliteRowLoader(const QSqlDatabase &db, const QString &table, const TTableShape &shape);
    QString LazySql(const QString &rest, bool &sortByRowId) const;
    QString QueryPlan(const QString &sql) const;
    bool ReadKeys(const QString &sql, std::vector<TQueryRow> &rows) const;
    QString ReadRowSql() const;
    void ReadRows(const std::vector<TQueryRow *> &rows);

    QSqlDatabase FDatabase;
    QString FTable;
    TTableShape FShape;
    std::vector<int> FKeySlot;
    QString FReadRowSql;
    TPreparedStatements FStatements;
};
