#include "URoomServer.h"

#include <QDate>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>

#include "UBankFile.h"
#include "UConnection.h"
#include "UDbError.h"
#include "URecordSchema.h"

namespace {

// The tables a bank brings, in an order that keeps every reference whole.
const QStringList KBankTables{
    QStringLiteral("T_KS_CHAPTER"), QStringLiteral("T_KS_ThemePart"),         QStringLiteral("T_KS_THEME"),
    QStringLiteral("T_KS_Model"),   QStringLiteral("T_KS_ThemeModelContent"), QStringLiteral("T_KS_ThemeNote")};

const QString KBankConnection = QStringLiteral("examora-push-bank");

qint64 Count(const QSqlDatabase &db, const QString &table)
{
    QSqlQuery query = OpenBankQuery(db, QStringLiteral("SELECT COUNT(*) FROM ") + table);
    query.next();
    return query.value(0).toLongLong();
}

// The bank file's name for a table, in the case it was written, or empty.
QString BankTableName(const QSqlDatabase &bank, const QString &table)
{
    for (const QString &name : bank.tables()) {
        if (name.compare(table, Qt::CaseInsensitive) == 0)
            return name;
    }
    return QString();
}

// Copies the columns the two tables share; returns the rows copied.
qint64 CopyTable(const QSqlDatabase &bank, const QString &bankTable, QSqlDatabase &server, const QString &table)
{
    const QSqlRecord source = bank.record(bankTable);
    const QSqlRecord target = server.record(table.toLower());
    QStringList columns, marks;
    for (int i = 0; i < target.count(); ++i) {
        if (source.indexOf(target.fieldName(i)) >= 0) {
            columns << target.fieldName(i);
            marks << QStringLiteral("?");
        }
    }
    QSqlQuery rows = OpenBankQuery(bank,
                                   QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QLatin1Char(',')), bankTable));
    QSqlQuery insert(server);
    if (!insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(table, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))))
        throw EDatabaseError(table + QStringLiteral(": ") + insert.lastError().text());
    qint64 copied = 0;
    while (rows.next()) {
        for (int i = 0; i < columns.size(); ++i)
            insert.bindValue(i, rows.value(i));
        if (!insert.exec())
            throw EDatabaseError(
                QStringLiteral("%1, row %2: %3").arg(table).arg(copied + 1).arg(insert.lastError().text()));
        ++copied;
    }
    return copied;
}

// A key the server numbers itself goes on after the largest copied one.
void ContinueNumbering(QSqlDatabase &server, const QString &table)
{
    const QSqlIndex key = server.primaryIndex(table.toLower());
    if (key.count() != 1)
        return;
    ExecBankSql(server,
                QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), COALESCE(MAX(%2), 0) + 1, false) "
                               "FROM %1")
                    .arg(table.toLower(), key.fieldName(0)));
}

TPushReport CopyBank(const QSqlDatabase &bank, QSqlDatabase &server, bool replace)
{
    const qint64 held = Count(server, QStringLiteral("T_KS_THEME"));
    if (held > 0 && !replace)
        throw EDatabaseError(QStringLiteral("the server already holds %1 questions; give --replace to put this bank "
                                            "in their place")
                                 .arg(held));
    for (auto table = KBankTables.crbegin(); table != KBankTables.crend(); ++table)
        ExecBankSql(server, QStringLiteral("DELETE FROM ") + *table);
    TPushReport report;
    for (const QString &table : KBankTables) {
        const QString bankTable = BankTableName(bank, table);
        if (bankTable.isEmpty())
            continue;
        report << qMakePair(table, CopyTable(bank, bankTable, server, table));
        ContinueNumbering(server, table);
    }
    return report;
}

} // namespace

bool IsConnInfo(const QString &text)
{
    return text.startsWith(QLatin1String("postgres://")) || text.startsWith(QLatin1String("postgresql://"))
        || (text.contains(QLatin1Char('=')) && !QFile::exists(text));
}

void OpenRoomServer(TConnection &server, const QString &connInfo)
{
    server.SetConnectionString(PostgresConnectionString(connInfo));
    server.Open();
}

void InitServer(TConnection &server)
{
    QSqlDatabase db = server.Database();
    if (!db.record(QStringLiteral("t_ks_theme")).isEmpty())
        throw EDatabaseError(QStringLiteral("the server already has the bank's tables"));
    if (!db.transaction())
        throw EDatabaseError(db.lastError().text());
    try {
        for (const QString &statement : ServerSchemaStatements())
            ExecBankSql(db, statement);
        if (!db.commit())
            throw EDatabaseError(db.lastError().text());
    } catch (...) {
        db.rollback();
        throw;
    }
    // The record's own transaction proves the server takes writes.
    QString reason;
    if (!EnsureRecordTables(&server, &reason))
        throw EDatabaseError(reason);
}

TPushReport PushBank(const QString &bankFile, TConnection &server, bool replace)
{
    if (!QFile::exists(bankFile))
        throw EDatabaseError(QStringLiteral("%1 does not exist").arg(bankFile));
    TPushReport report;
    {
        QSqlDatabase bank = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), KBankConnection);
        bank.setDatabaseName(bankFile);
        bank.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QSqlDatabase db = server.Database();
        try {
            if (!bank.open() || BankTableName(bank, QStringLiteral("T_KS_THEME")).isEmpty())
                throw EDatabaseError(QStringLiteral("%1 is not a bank (SQLite) file").arg(bankFile));
            if (!db.transaction())
                throw EDatabaseError(db.lastError().text());
            report = CopyBank(bank, db, replace);
            if (!db.commit())
                throw EDatabaseError(db.lastError().text());
        } catch (...) {
            db.rollback();
            bank.close();
            QSqlDatabase::removeDatabase(KBankConnection);
            throw;
        }
        bank.close();
    }
    QSqlDatabase::removeDatabase(KBankConnection);
    return report;
}

QList<QStringList> ResultRows(TConnection &server, const QString &since)
{
    QString sql = QStringLiteral("SELECT * FROM T_KS_ExamRecord");
    if (!since.isEmpty()) {
        const QDate date = QDate::fromString(since, Qt::ISODate);
        if (!date.isValid())
            throw EDatabaseError(QStringLiteral("--since needs a date as YYYY-MM-DD, not %1").arg(since));
        sql += QStringLiteral(" WHERE StartedAt >= '%1'").arg(date.toString(Qt::ISODate));
    }
    QSqlQuery query = OpenBankQuery(server.Database(), sql + QStringLiteral(" ORDER BY RecordID"));
    const QSqlRecord record = query.record();
    QList<QStringList> rows;
    QStringList header;
    for (int i = 0; i < record.count(); ++i)
        header << record.fieldName(i);
    rows << header;
    while (query.next()) {
        QStringList row;
        for (int i = 0; i < record.count(); ++i)
            row << (query.value(i).isNull() ? QString() : query.value(i).toString());
        rows << row;
    }
    return rows;
}
