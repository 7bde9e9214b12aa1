#include "UConnection.h"

#include <atomic>

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include "UComm.h"
#include "UConnectionText.h"
#include "UDbError.h"
#include "UEngineErrorText.h"
#include "USqlBrowser.h"

namespace {

// SQLite's Unix file layer refuses a full path of over 512 bytes, and the
// rollback journal's name is the bank's path with "-journal" after it.
constexpr int KMaxBankPathBytes = 512 - 8;

QString EntryValue(const QString &connectionString, const QString &name)
{
    for (const QString &entry : SplitConnectionEntries(connectionString)) {
        const int eq = entry.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        if (entry.left(eq).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return UnquoteConnectionValue(entry.mid(eq + 1).trimmed());
    }
    return QString();
}

// Backslashes of the Windows form become the platform's separator; the
// doubled separator the start-up string carries is harmless.
QString LocalPath(const QString &dataSource)
{
    QString path = dataSource;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (path.contains(QLatin1String("//")))
        path.replace(QLatin1String("//"), QLatin1String("/"));
    return QDir::cleanPath(path);
}

// ODBC reads a value up to the next ";" unless it is braced; braces keep
// a typed password or name with ";", "{" or "}" in one piece.
QString OdbcValue(const QString &value)
{
    if (!value.contains(QLatin1Char(';')) && !value.contains(QLatin1Char('{')) && !value.contains(QLatin1Char('}'))
        && value.trimmed() == value)
        return value;
    QString escaped = value;
    escaped.replace(QLatin1String("}"), QLatin1String("}}"));
    return QLatin1Char('{') + escaped + QLatin1Char('}');
}

} // namespace

QString BankPathProblem(const QString &databaseFile)
{
    const int bytes = int(QFile::encodeName(QFileInfo(databaseFile).absoluteFilePath()).size());
    if (bytes <= KMaxBankPathBytes)
        return QString();
    return QStringLiteral("题库文件的路径太长（%1 字节，最多 %2 字节），无法打开：\n%3\n请把程序放到路径较短的文件夹中。")
        .arg(bytes)
        .arg(KMaxBankPathBytes)
        .arg(QDir::toNativeSeparators(databaseFile));
}

QString TConnectionTarget::OdbcConnectString() const
{
    QString text = QStringLiteral("DRIVER={FreeTDS};SERVER=") + OdbcValue(Server) + QStringLiteral(";PORT=%1;").arg(Port);
    // No catalogue named: the login's default database, as SQL Server does.
    if (!Database.isEmpty())
        text += QStringLiteral("DATABASE=") + OdbcValue(Database) + QLatin1Char(';');
    text += QStringLiteral("UID=") + OdbcValue(User) + QStringLiteral(";PWD=") + OdbcValue(Password)
        + QStringLiteral(";TDS_Version=7.4;");
    return text;
}

TConnectionTarget MapConnectionString(const QString &connectionString)
{
    TConnectionTarget target;
    const QString provider = EntryValue(connectionString, QStringLiteral("Provider"));
    const QString dataSource = EntryValue(connectionString, QStringLiteral("Data Source"));
    if (provider.startsWith(QLatin1String("Microsoft.Jet.OLEDB"), Qt::CaseInsensitive)) {
        target.Kind = TConnectionTarget::ckSqlite;
        target.DatabaseFile = LocalPath(dataSource);
    } else if (provider.startsWith(QLatin1String("SQLOLEDB"), Qt::CaseInsensitive)) {
        target.Kind = TConnectionTarget::ckSqlServer;
        // SQL Server's own forms: "host,port" and "host\\instance".
        QString server = dataSource;
        const int comma = server.indexOf(QLatin1Char(','));
        if (comma >= 0) {
            target.Port = server.mid(comma + 1).trimmed().toInt();
            server = server.left(comma).trimmed();
        }
        const int backslash = server.indexOf(QLatin1Char('\\'));
        if (backslash >= 0) {
            target.Instance = server.mid(backslash + 1);
            server = server.left(backslash);
        }
        // "." and "(local)" name this computer in SQL Server's own tools.
        const bool local = server == QLatin1String(".")
            || server.compare(QLatin1String("(local)"), Qt::CaseInsensitive) == 0;
        target.Server = local ? QStringLiteral("127.0.0.1") : server;
        target.Database = EntryValue(connectionString, QStringLiteral("Initial Catalog"));
        target.User = EntryValue(connectionString, QStringLiteral("User ID"));
        target.Password = EntryValue(connectionString, QStringLiteral("Password"));
        // Integrated security has no meaning for a Linux client: it logs in
        // as "sa" with an empty password, which is what the string names.
        if (target.User.isEmpty())
            target.User = QStringLiteral("sa");
    } else if (provider.compare(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) == 0) {
        target.Kind = TConnectionTarget::ckPostgres;
        target.ConnInfo = EntryValue(connectionString, QStringLiteral("ConnInfo"));
    }
    return target;
}

QString PostgresConnectionString(const QString &connInfo)
{
    return QStringLiteral("Provider=PostgreSQL;ConnInfo=") + QuoteConnectionValue(connInfo);
}

TConnection::TConnection(QObject *parent)
    : QObject(parent)
{
    static std::atomic<int> counter{0};
    FConnectionName = QStringLiteral("examora-connection-%1").arg(++counter);
}

TConnection::~TConnection()
{
    Close();
    if (QSqlDatabase::contains(FConnectionName))
        QSqlDatabase::removeDatabase(FConnectionName);
}

void TConnection::SetConnectionString(const QString &connectionString)
{
    FConnectionString = connectionString;
}

void TConnection::Open()
{
    Close();
    const TConnectionTarget target = MapConnectionString(FConnectionString);
    switch (target.Kind) {
    case TConnectionTarget::ckSqlite: OpenSqlite(target); break;
    case TConnectionTarget::ckSqlServer: OpenSqlServer(target); break;
    case TConnectionTarget::ckPostgres: OpenPostgres(target); break;
    case TConnectionTarget::ckInvalid: throw EDatabaseError(QStringLiteral("无法识别的数据库连接字符串。"));
    }
    FKind = target.Kind;
}

void TConnection::OpenSqlite(const TConnectionTarget &target)
{
    // QSQLITE would create a missing file and accept any file at open time:
    // test existence first and prove the file with a first statement.
    if (!QFileInfo(target.DatabaseFile).isFile())
        throw EDatabaseError(QStringLiteral("找不到数据库文件“%1”。").arg(QDir::toNativeSeparators(target.DatabaseFile)));
    if (const QString problem = BankPathProblem(target.DatabaseFile); !problem.isEmpty())
        throw EDatabaseError(problem);
    {
        QSqlDatabase db = QSqlDatabase::contains(FConnectionName)
            ? QSqlDatabase::database(FConnectionName, false)
            : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), FConnectionName);
        db.setDatabaseName(target.DatabaseFile);
        // Another copy of the program may be writing: wait instead of failing.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        if (!db.open())
            throw EngineError(db.lastError(), db.driver());
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("select count(*) from sqlite_master"))) {
            const EDatabaseError engineError = EngineError(probe.lastError(), db.driver());
            probe.finish();
            db.close();
            throw EDatabaseError(QStringLiteral("数据库文件“%1”无法读取：%2")
                                     .arg(QDir::toNativeSeparators(target.DatabaseFile), engineError.Message()),
                                 engineError.Fault());
        }
        probe.finish();
        // Every answer is committed on its own: WAL keeps that fast and the
        // file consistent if the program is killed.
        QSqlQuery pragma(db);
        pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        pragma.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    }
}

void TConnection::OpenSqlServer(const TConnectionTarget &target)
{
    QSqlDatabase db = QSqlDatabase::contains(FConnectionName)
        ? QSqlDatabase::database(FConnectionName, false)
        : QSqlDatabase::addDatabase(QStringLiteral("QODBC"), FConnectionName);
    if (!db.isValid())
        throw EDatabaseError(QStringLiteral("没有可用的 SQL Server 驱动程序（QODBC）。"));
    TConnectionTarget resolved = target;
    if (!target.Instance.isEmpty()) {
        resolved.Port = LookupInstancePort(target.Server, target.Instance);
        if (resolved.Port == 0)
            throw EDatabaseError(QStringLiteral("找不到 SQL Server 实例“%1\\%2”。").arg(target.Server, target.Instance));
        resolved.Instance.clear();
    }
    db.setDatabaseName(resolved.OdbcConnectString());
    db.setConnectOptions(
        QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;SQL_ATTR_CONNECTION_TIMEOUT=%1").arg(LoginTimeoutSeconds));
    if (!db.open())
        throw EngineError(db.lastError(), db.driver());
}

void TConnection::OpenPostgres(const TConnectionTarget &target)
{
    QSqlDatabase db = QSqlDatabase::contains(FConnectionName)
        ? QSqlDatabase::database(FConnectionName, false)
        : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), FConnectionName);
    if (!db.isValid())
        throw EDatabaseError(QStringLiteral("没有可用的 PostgreSQL 驱动程序（QPSQL）。"));
    // QPSQL hands its connect options to libpq as they are (a ";" becomes a
    // space), after the names it was given itself, which stay empty here.
    // The room's string comes last, so its own connect_timeout wins.
    if (target.ConnInfo.contains(QLatin1Char(';')))
        throw EDatabaseError(QStringLiteral("考场服务器的连接串中不能有分号：%1").arg(target.ConnInfo));
    db.setConnectOptions(QStringLiteral("connect_timeout=%1 %2").arg(LoginTimeoutSeconds).arg(target.ConnInfo));
    if (!db.open())
        throw EngineError(db.lastError(), db.driver());
}

void TConnection::Close()
{
    if (QSqlDatabase::contains(FConnectionName)) {
        QSqlDatabase db = QSqlDatabase::database(FConnectionName, false);
        if (db.isOpen())
            db.close();
    }
    FKind = TConnectionTarget::ckInvalid;
}

bool TConnection::Connected() const
{
    return QSqlDatabase::contains(FConnectionName) && QSqlDatabase::database(FConnectionName, false).isOpen();
}

bool TConnection::NeedsLimitForTop() const
{
    return FKind == TConnectionTarget::ckSqlite || FKind == TConnectionTarget::ckPostgres;
}

QSqlDatabase TConnection::Database() const
{
    return QSqlDatabase::database(FConnectionName, false);
}
