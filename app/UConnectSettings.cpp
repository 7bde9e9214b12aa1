#include "UConnectSettings.h"

#include <QFileInfo>

#include "UComm.h"
#include "UConnectionText.h"
#include "UIniFile.h"

namespace {

QString CatalogPart(TConnectPurpose purpose)
{
    return purpose == TConnectPurpose::cpDatabaseList ? QStringLiteral("Initial Catalog= ")
                                                      : QStringLiteral("Initial Catalog=");
}

} // namespace

QString BuildConnectString(const TConnectSettings &typed, TConnectPurpose purpose)
{
    // A typed ";" or quote must not end its entry and start another.
    TConnectSettings settings = typed;
    for (QString *value : {&settings.Server, &settings.Database, &settings.User, &settings.Password})
        *value = QuoteConnectionValue(*value);
    switch (settings.Mode) {
    case TLoginMode::lmUserPassword:
        return QStringLiteral("Provider=SQLOLEDB.1;Password=") + settings.Password + QStringLiteral(";")
            + QStringLiteral("Persist Security Info=True;") + QStringLiteral("User ID=") + settings.User
            + QStringLiteral(";") + CatalogPart(purpose) + settings.Database + QStringLiteral(";")
            + QStringLiteral("Data Source=") + settings.Server;
    case TLoginMode::lmIntegrated:
        return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=sa;") + CatalogPart(purpose)
            + settings.Database + QStringLiteral(";") + QStringLiteral("Data Source=") + settings.Server;
    case TLoginMode::lmLumidrive:
        // This mode writes the blank in both strings.
        return QStringLiteral("Provider=SQLOLEDB.1;Password=") + QuoteConnectionValue(LumidrivePassword())
            + QStringLiteral(";") + QStringLiteral("Persist Security Info=True;") + QStringLiteral("User ID=sa;")
            + CatalogPart(TConnectPurpose::cpDatabaseList) + settings.Database + QStringLiteral(";")
            + QStringLiteral("Data Source=") + settings.Server;
    }
    return QString();
}

QString LumidrivePassword()
{
    return DecodeGbk(QByteArray::fromHex(EXAMORA_LUMIDRIVE_PASSWORD_HEX));
}

bool SysDataScriptsPresent(const QString &appPath)
{
    static const char *const scripts[] = {"Drop.Sql", "AlterTable.Sql", "CreateProc.Sql", "CreateTable.Sql",
                                          "InsertData.Sql"};
    for (const char *script : scripts) {
        if (!QFileInfo::exists(appPath + QStringLiteral("SysData/") + QLatin1String(script)))
            return false;
    }
    return true;
}

bool IsLocalServer(const QString &dataSource)
{
    return dataSource == QLatin1String(".") || dataSource.toUpper() == GetComputerNameText().toUpper();
}

QStringList DatabaseListEntries(const QString &appPath, const QString &connectionString, const QStringList &databases)
{
    QStringList entries;
    if (SysDataScriptsPresent(appPath))
        entries << QString::fromUtf8(NewDatabaseEntry);
    if (IsLocalServer(GetDataSource(connectionString)))
        entries << QString::fromUtf8(RestoreDatabaseEntry);
    entries << databases;
    return entries;
}

void WriteDbConfig(const QString &appPath, const QString &server, const QString &database)
{
    TIniFile ini(appPath + QStringLiteral("DBConfig.cfg"), TIniFile::ieGbk);
    ini.WriteString(QStringLiteral("DataBase"), QStringLiteral("服务器名"), server);
    ini.WriteString(QStringLiteral("DataBase"), QStringLiteral("数据库名"), database);
    ini.UpdateFile();
}
