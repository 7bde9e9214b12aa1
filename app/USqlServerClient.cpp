#include "USqlServerClient.h"

#include "UConnection.h"
#include "UQuery.h"

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

QStringList TOdbcSqlServerClient::ReadColumn(const QString &sql, const QString &column)
{
    TQuery query;
    query.SetConnection(FConnection.get());
    query.SetSQL(sql);
    query.Open();
    QStringList values;
    for (query.First(); !query.Eof(); query.Next())
        values << query.FieldByName(column)->AsString();
    return values;
}
