#pragma once

#include <QString>
#include <QStringList>

// The three ways the connection settings dialog logs in to a SQL Server,
// one per radio button.
enum class TLoginMode {
    lmIntegrated,   // RadioButton1: integrated security
    lmUserPassword, // RadioButton2: user "sa" and a typed password
    lmLumidrive     // RadioButton3: "sa" with the fixed password of a Lumidrive server
};

// Fetching the database list and confirming build slightly different
// strings: the list fetch writes a blank after "Initial Catalog=".
enum class TConnectPurpose { cpDatabaseList, cpConfirm };

struct TConnectSettings
{
    TLoginMode Mode = TLoginMode::lmUserPassword;
    QString Server;
    QString Database;
    QString User;
    QString Password;
};

QString BuildConnectString(const TConnectSettings &settings, TConnectPurpose purpose);

// The sa password expected on a server set up by the Lumidrive software,
// fixed at build time (EXAMORA_LUMIDRIVE_PASSWORD_HEX). Its two last bytes
// are one GBK character, as the client's code page read them.
QString LumidrivePassword();

// Entries offered in front of the server's databases.
inline constexpr char NewDatabaseEntry[] = "<新建...>";
inline constexpr char RestoreDatabaseEntry[] = "<还原...>";

// True when all five database set-up scripts lie in AppPath/SysData.
bool SysDataScriptsPresent(const QString &appPath);
// True for "." and for the computer's own name in any letter case.
bool IsLocalServer(const QString &dataSource);
// The database list: "<新建...>" when the scripts are present, "<还原...>"
// when the connection string's data source is this computer, then the
// server's databases in the order given.
QStringList DatabaseListEntries(const QString &appPath, const QString &connectionString, const QStringList &databases);

// Records the server and database of the last successful confirmation in
// AppPath/DBConfig.cfg (GBK), keeping the file's other content; throws
// EExamoraError when the file cannot be written.
void WriteDbConfig(const QString &appPath, const QString &server, const QString &database);
