#include <QFile>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include "TRunAsUser.h"
#include "UConnection.h"
#include "UDbError.h"
#include "UEngineErrorText.h"
#include "UQuery.h"

// Real SQLite failures, each read back as the fault the user is told of:
// the Chinese sentence first, the engine's own text after it unchanged.
class TestUEngineErrorText : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void ReadOnlyFileIsSaid();
    void ReadOnlyFolderIsSaid();
    void FileThatIsNoDatabaseIsSaid();
    void DamagedDatabaseIsSaid();
    void LockedDatabaseIsSaid();
    void FullDatabaseIsSaid();
    void FailuresOfTheStatementKeepTheEngineText();
    void OnlySqliteCodesAreRead();
    void DataLayerThrowsTheFault();
    void OpeningANonDatabaseNamesFileAndFault();

private:
    QSqlDatabase Open(const QString &file, const QString &options = QString());
    // The error of a statement that must fail.
    QSqlError FailureOf(const QSqlDatabase &db, const QString &sql);
    void CreateTable(const QString &file);
    // bank.db in the test's folder, with table T.
    QString NewBank();
    // A text file, as a mistaken copy over the bank would be.
    QString TextFile(const QString &name);
    // A bank with table T in the folder Data of the test's folder.
    QString BankInDataFolder(const QString &name);
    // The statement fails, and its error is told as the fault, the
    // sentence holding word, with the engine's text after it.
    void VerifySaid(const QSqlDatabase &db, const QString &sql, TEngineFault fault, const QString &word);

    std::unique_ptr<QTemporaryDir> FDir;
    QStringList FConnections;
};

void TestUEngineErrorText::init()
{
    FDir = std::make_unique<QTemporaryDir>();
}

void TestUEngineErrorText::cleanup()
{
    for (const QString &name : std::as_const(FConnections)) {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    FConnections.clear();
    FDir.reset();
}

QSqlDatabase TestUEngineErrorText::Open(const QString &file, const QString &options)
{
    const QString name = QStringLiteral("engine-error-%1").arg(FConnections.size());
    FConnections << name;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(file);
    // No waiting on a lock: the locked case is to fail at once.
    db.setConnectOptions(options.isEmpty() ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=0") : options);
    if (!db.open())
        qWarning() << db.lastError().text();
    return db;
}

QSqlError TestUEngineErrorText::FailureOf(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (query.exec(sql)) {
        while (query.next()) {}
        if (!query.lastError().isValid())
            qWarning() << "statement did not fail:" << sql;
    }
    return query.lastError();
}

void TestUEngineErrorText::CreateTable(const QString &file)
{
    QSqlDatabase db = Open(file);
    QSqlQuery query(db);
    QVERIFY(query.exec(QStringLiteral("create table T (ID integer primary key, Name text unique)")));
    QVERIFY(query.exec(QStringLiteral("insert into T values (1, '甲')")));
    db.close();
}

QString TestUEngineErrorText::NewBank()
{
    const QString file = FDir->filePath(QStringLiteral("bank.db"));
    CreateTable(file);
    return file;
}

QString TestUEngineErrorText::TextFile(const QString &name)
{
    const QString file = FDir->filePath(name);
    QFile text(file);
    if (text.open(QIODevice::WriteOnly))
        text.write(QByteArray("题库说明：这不是数据库文件。\n").repeated(40));
    return file;
}

QString TestUEngineErrorText::BankInDataFolder(const QString &name)
{
    const QString folder = FDir->filePath(QStringLiteral("Data"));
    QDir().mkpath(folder);
    const QString file = folder + QLatin1Char('/') + name;
    CreateTable(file);
    return file;
}

void TestUEngineErrorText::VerifySaid(const QSqlDatabase &db, const QString &sql, TEngineFault fault, const QString &word)
{
    const QSqlError error = FailureOf(db, sql);
    QVERIFY2(error.isValid(), qPrintable(sql));
    QCOMPARE(EngineFault(error, db.driver()), fault);
    const EDatabaseError thrown = EngineError(error, db.driver());
    const QString shown = thrown.Message();
    const QString lead = shown.section(QLatin1Char('\n'), 0, 0);
    QVERIFY2(lead.contains(word), qPrintable(shown));
    QCOMPARE(shown.mid(lead.size() + 1), error.text());
    QCOMPARE(thrown.Fault(), fault);
}

void TestUEngineErrorText::ReadOnlyFileIsSaid()
{
    const QString file = NewBank();
    // Opened read-only by the connection: refused even to root.
    QSqlDatabase db = Open(file, QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=0"));
    VerifySaid(db, QStringLiteral("insert into T values (2, '乙')"), TEngineFault::efReadOnlyFile,
               QStringLiteral("只读"));
    VerifySaid(db, QStringLiteral("delete from T"), TEngineFault::efReadOnlyFile, QStringLiteral("只读"));
}

void TestUEngineErrorText::ReadOnlyFolderIsSaid()
{
    const QString file = BankInDataFolder(QStringLiteral("bank.db"));
    TRunAsUser user(FDir->path());
    if (!user.Active())
        QSKIP("running as root, and root could not be given up: a read-only folder would take writes");
    QVERIFY(user.MakeReadOnly(QFileInfo(file).absolutePath()));
    // The file itself takes writes; its journal cannot be made beside it.
    VerifySaid(Open(file), QStringLiteral("insert into T values (2, '乙')"), TEngineFault::efReadOnlyFolder,
               QStringLiteral("文件夹"));
}

void TestUEngineErrorText::FileThatIsNoDatabaseIsSaid()
{
    VerifySaid(Open(TextFile(QStringLiteral("notes.txt"))), QStringLiteral("select count(*) from sqlite_master"),
               TEngineFault::efNotADatabase, QStringLiteral("不是"));
}

void TestUEngineErrorText::DamagedDatabaseIsSaid()
{
    const QString file = FDir->filePath(QStringLiteral("bank.db"));
    {
        QSqlDatabase db = Open(file);
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("create table T (ID integer primary key, Body text)")));
        QVERIFY(query.exec(QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < 500) "
                                          "insert into T select i, printf('%0300d', i) from n")));
        db.close();
    }
    // The header stays sound; pages of the table's tree become noise.
    QFile bytes(file);
    QVERIFY(bytes.open(QIODevice::ReadWrite));
    const qint64 pageSize = 4096;
    for (qint64 page = 2; page * pageSize < bytes.size(); page += 3) {
        bytes.seek(page * pageSize);
        bytes.write(QByteArray(int(pageSize), '\xa5'));
    }
    bytes.close();
    VerifySaid(Open(file), QStringLiteral("select sum(length(Body)) from T"), TEngineFault::efCorrupt,
               QStringLiteral("损坏"));
}

void TestUEngineErrorText::LockedDatabaseIsSaid()
{
    const QString file = NewBank();
    QSqlDatabase holder = Open(file);
    QSqlQuery hold(holder);
    QVERIFY(hold.exec(QStringLiteral("BEGIN IMMEDIATE")));
    QVERIFY(hold.exec(QStringLiteral("insert into T values (2, '乙')")));
    VerifySaid(Open(file), QStringLiteral("insert into T values (3, '丙')"), TEngineFault::efLocked,
               QStringLiteral("锁定"));
    QVERIFY(hold.exec(QStringLiteral("ROLLBACK")));
}

void TestUEngineErrorText::FullDatabaseIsSaid()
{
    const QString file = NewBank();
    QSqlDatabase db = Open(file);
    QSqlQuery limit(db);
    // A file that may not grow stands for a full disk.
    QVERIFY(limit.exec(QStringLiteral("PRAGMA max_page_count=3")));
    VerifySaid(db, QStringLiteral("insert into T values (2, randomblob(100000))"), TEngineFault::efDiskFull,
               QStringLiteral("磁盘已满"));
}

void TestUEngineErrorText::FailuresOfTheStatementKeepTheEngineText()
{
    const QString file = NewBank();
    QSqlDatabase db = Open(file);
    for (const QString &sql : {QStringLiteral("selec * from T"), QStringLiteral("select * from Missing"),
                               QStringLiteral("insert into T values (1, '重复')")}) {
        const QSqlError error = FailureOf(db, sql);
        QVERIFY2(error.isValid(), qPrintable(sql));
        QCOMPARE(EngineFault(error, db.driver()), TEngineFault::efNone);
        QCOMPARE(EngineError(error, db.driver()).Message(), error.text());
    }
}

void TestUEngineErrorText::OnlySqliteCodesAreRead()
{
    // SQL Server's native codes are its own numbers: 8 there is no read-only file.
    const QSqlError odbcError(QStringLiteral("Login failed"), QStringLiteral("[FreeTDS]"), QSqlError::ConnectionError,
                              QStringLiteral("8"));
    const QString name = QStringLiteral("engine-error-odbc");
    FConnections << name;
    const QSqlDatabase odbc = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
    if (!odbc.isValid())
        QSKIP("Qt's ODBC driver (libqt6sql6-odbc) is not installed");
    QCOMPARE(EngineFault(odbcError, odbc.driver()), TEngineFault::efNone);
    QCOMPARE(EngineError(odbcError, odbc.driver()).Message(), odbcError.text());
    QCOMPARE(EngineFault(odbcError, nullptr), TEngineFault::efNone);
}

void TestUEngineErrorText::DataLayerThrowsTheFault()
{
    const QString file = BankInDataFolder(QStringLiteral("Jsy_Data.mdb"));
    TRunAsUser user(FDir->path());
    if (!user.Active())
        QSKIP("running as root, and root could not be given up: a read-only file would take writes");
    QVERIFY(user.MakeReadOnly(file));
    TConnection connection;
    connection.SetConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + file);
    connection.Open();
    TQuery query;
    query.SetConnection(&connection);
    query.SetSQL(QStringLiteral("select * from T"));
    query.Open();
    QCOMPARE(query.RecordCount(), 1);
    query.Append();
    query.FieldByName(QStringLiteral("ID"))->SetValue(2);
    try {
        query.Post();
        QFAIL("a read-only bank took a row");
    } catch (const EDatabaseError &error) {
        QVERIFY(error.CannotWrite());
        QVERIFY2(error.Message().startsWith(EngineFaultText(TEngineFault::efReadOnlyFile) + QLatin1Char('\n')),
                 qPrintable(error.Message()));
        QVERIFY2(error.Message().contains(QStringLiteral("readonly")), qPrintable(error.Message()));
    }
}

void TestUEngineErrorText::OpeningANonDatabaseNamesFileAndFault()
{
    const QString file = TextFile(QStringLiteral("Jsy_Data.mdb"));
    TConnection connection;
    connection.SetConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + file);
    try {
        connection.Open();
        QFAIL("a text file opened as a bank");
    } catch (const EDatabaseError &error) {
        QCOMPARE(error.Fault(), TEngineFault::efNotADatabase);
        const QString expectedStart = QStringLiteral("数据库文件“%1”无法读取：").arg(QDir::toNativeSeparators(file))
            + EngineFaultText(TEngineFault::efNotADatabase) + QLatin1Char('\n');
        QVERIFY2(error.Message().startsWith(expectedStart), qPrintable(error.Message()));
        QVERIFY(error.Message().contains(QStringLiteral("file is not a database")));
    }
    QVERIFY(!connection.Connected());
}

QTEST_GUILESS_MAIN(TestUEngineErrorText)
#include "tst_UEngineErrorText.moc"
