#pragma once

#include <QObject>
#include <QSqlDatabase>
#include <QString>

// Where a connection string leads: the Jet form maps to an SQLite file,
// the SQL Server form to QODBC with the FreeTDS driver, the exam room's
// form ("Provider=PostgreSQL;ConnInfo=…") to QPSQL with a libpq string.
struct TConnectionTarget
{
    enum TKind { ckInvalid, ckSqlite, ckSqlServer, ckPostgres };
    TKind Kind = ckInvalid;
    QString DatabaseFile; // ckSqlite: the file behind "Data Source"
    QString Server;       // ckSqlServer: host name or address
    QString Instance;     // named instance after a backslash in the server name
    QString Database;
    QString User;
    QString Password;
    int Port = 1433;
    QString ConnInfo; // ckPostgres: the libpq connection string

    // The ODBC connection text handed to QODBC for ckSqlServer; a named
    // instance must have been turned into its Port first.
    QString OdbcConnectString() const;
};

TConnectionTarget MapConnectionString(const QString &connectionString);

// The connection string of the exam room's server, from its libpq string.
QString PostgresConnectionString(const QString &connInfo);

// Empty when SQLite can open a bank at this path; otherwise the message that
// says why not, naming the path.
QString BankPathProblem(const QString &databaseFile);

// The one kind of connection the program uses: a connection string in the
// OLE DB form, opened on the engine the string maps to.
class TConnection : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TConnection)

public:
    explicit TConnection(QObject *parent = nullptr);
    ~TConnection() override;

    QString ConnectionString() const { return FConnectionString; }
    void SetConnectionString(const QString &connectionString);

    // Opens the connection; throws EDatabaseError with the engine's text.
    void Open();
    void Close();
    bool Connected() const;

    // The engine lacks TOP and wants LIMIT instead.
    bool NeedsLimitForTop() const;
    bool IsPostgres() const { return FKind == TConnectionTarget::ckPostgres; }
    QSqlDatabase Database() const;
    QString ConnectionName() const { return FConnectionName; }

    // Seconds a server login may take before it counts as failed.
    static constexpr int LoginTimeoutSeconds = 5;

private:
    void OpenSqlite(const TConnectionTarget &target);
    void OpenSqlServer(const TConnectionTarget &target);
    void OpenPostgres(const TConnectionTarget &target);

    QString FConnectionString;
    QString FConnectionName;
    TConnectionTarget::TKind FKind = TConnectionTarget::ckInvalid;
};
