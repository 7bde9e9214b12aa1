#pragma once

#include <memory>
#include <vector>

#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include "UQueryTable.h"

// The plain path's pictures on an engine other than SQLite: a whole-table
// "select * from <table> …" reads, for each picture column, only whether
// the row has one; the bytes are read by the row's key the first time they
// are asked for. Opening the whole bank then costs no picture at all.
class TServerBlobs
{
public:
    // Null when the statement is of another form or the table has no key
    // or no picture column: the statement then runs as written.
    static std::unique_ptr<TServerBlobs> For(const QSqlDatabase &db, const QString &table, const TTableShape &shape,
                                             const QString &sql);

    // The statement to run instead: the table's columns in their order,
    // each picture as its marker.
    const QString &Statement() const { return FStatement; }
    // Turns a freshly read row's markers into cells that remember its key.
    void Mark(QVarLengthArray<QVariant, 1> &values) const;
    // The cell's value, reading a picture that is still on the server.
    QVariant Resolved(QVariant &cell, int fieldIndex);

private:
    TServerBlobs(const QSqlDatabase &db, const QString &table, const TTableShape &shape);

    QString FTable;
    TTableShape FShape;
    std::vector<int> FKeyFields;
    std::vector<int> FBlobFields;
    QString FStatement;
    TPreparedStatements FStatements;
};
