#include "app/USqlServerClient.h"

#include "app/UConnection.h"
#include "app/UQuery.h"

TOdbcSqlServerClient::TOdbcSqlServerClient()
    : FConnection(std::make_unique<TConnection>())
{
}

TOdbcSqlServerClient::~TOdbcSqlServerClient() = default;

void TOdbcSqlServerClient::Connect(const QString &connectionString)
{
    FConnection->Close();
    FConnection->SetConnectionString(connectionString);
    try {
        FConnection->Open();
    } catch (...) {
        FConnection->Close();
        throw;
    }
}

void TOdbcSqlServerClient::Disconnect()
{
    FConnection->Close();
}

bool TOdbcSqlServerClient::Connected() const
{
    return FConnection->Connected();
}

QStringList TOdbcSqlServerClient::ListDatabases()
{
    TQuery query;
    query.SetConnection(FConnection.get());
    query.SetSQL(QString::fromLatin1(CatalogueSql));
    query.Open();
    QStringList names;
    for (query.First(); !query.Eof(); query.Next())
        names << query.FieldByName(QStringLiteral("Name"))->AsString();
    return names;
}
