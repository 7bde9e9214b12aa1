#include "UWriteTransaction.h"

#include <QSqlError>
#include <QSqlQuery>

#include "UConnection.h"
#include "UEngineErrorText.h"
#include "USqlText.h"

TWriteTransaction::TWriteTransaction(TConnection *connection, const QString &serialTable)
    : FDb(connection->Database()),
      FSerialTable(serialTable),
      FServer(connection->IsPostgres())
{
    if (FServer)
        Run(QStringLiteral("BEGIN"));
    else
        Run(FDb.driverName() == QLatin1String("QSQLITE") ? QStringLiteral("BEGIN IMMEDIATE")
                                                         : QStringLiteral("BEGIN TRANSACTION"));
    FOpen = true;
}

void TWriteTransaction::LockNumbering()
{
    // Held until commit or rollback; the name folds like the table's own.
    if (FServer)
        Run(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext('%1'))").arg(QuoteSqlText(FSerialTable.toLower())));
}

void TWriteTransaction::Commit()
{
    Run(QStringLiteral("COMMIT"));
    FOpen = false;
}

void TWriteTransaction::Rollback()
{
    if (!FOpen)
        return;
    FOpen = false;
    QSqlQuery query(FDb);
    query.exec(QStringLiteral("ROLLBACK"));
}

void TWriteTransaction::Run(const QString &sql)
{
    QSqlQuery query(FDb);
    if (!query.exec(sql))
        throw EngineError(query.lastError(), query.driver());
}
