#pragma once

#include <memory>

#include <QString>
#include <QStringList>

class TConnection;

// What the connection settings dialog needs of a SQL Server: log in with a
// connection string and read the server's database catalogue. The dialog
// works through this interface so that its logic can run without a server.
class TSqlServerClient
{
public:
    virtual ~TSqlServerClient() = default;

    // Closes any earlier connection and opens one for the connection string;
    // throws EDatabaseError with the engine's text when the login fails.
    virtual void Connect(const QString &connectionString) = 0;
    virtual void Disconnect() = 0;
    virtual bool Connected() const = 0;
    // One column of every row the statement returns, in the order returned;
    // throws EDatabaseError when the statement fails.
    virtual QStringList ReadColumn(const QString &sql, const QString &column) = 0;
};

// The catalogue statement run after a successful login.
inline constexpr char CatalogueSql[] = "select [name] from master.dbo.sysdatabases";

// The dialog's query on its connection: a statement whose rows it reads as
// one column.
class TSqlServerQuery
{
public:
    explicit TSqlServerQuery(TSqlServerClient &connection)
        : FConnection(connection)
    {
    }

    QString SQL;
    QStringList Open(const QString &column) const { return FConnection.ReadColumn(SQL, column); }

private:
    TSqlServerClient &FConnection;
};

// The real client: a TConnection (QODBC with the FreeTDS driver) and a
// query on it.
class TOdbcSqlServerClient : public TSqlServerClient
{
public:
    TOdbcSqlServerClient();
    ~TOdbcSqlServerClient() override;
    TOdbcSqlServerClient(const TOdbcSqlServerClient &) = delete;
    TOdbcSqlServerClient &operator=(const TOdbcSqlServerClient &) = delete;

    void Connect(const QString &connectionString) override;
    void Disconnect() override;
    bool Connected() const override;
    QStringList ReadColumn(const QString &sql, const QString &column) override;

private:
    std::unique_ptr<TConnection> FConnection;
};
