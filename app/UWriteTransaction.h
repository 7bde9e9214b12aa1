#pragma once

#include <QSqlDatabase>
#include <QString>

class TConnection;

// A write transaction for numbering: a number read after LockNumbering (the
// largest plus 1 of serialTable) stays this transaction's until the rows are
// committed, on every engine. SQLite takes its write lock at once; a server
// takes, in LockNumbering, a lock on the table's numbering that only other
// numbering waits for, so answers written meanwhile by other seats go on.
// Rolled back unless committed. Throws EDatabaseError with the engine's text.
class TWriteTransaction
{
public:
    TWriteTransaction(TConnection *connection, const QString &serialTable);
    ~TWriteTransaction() { Rollback(); }
    TWriteTransaction(const TWriteTransaction &) = delete;
    TWriteTransaction &operator=(const TWriteTransaction &) = delete;

    void LockNumbering();
    void Commit();
    void Rollback();

private:
    void Run(const QString &sql);

    QSqlDatabase FDb;
    QString FSerialTable;
    bool FServer = false;
    bool FOpen = false;
};
