#include "UDM.h"

#include <QDir>

#include "UComm.h"
#include "UConnection.h"
#include "UConnectionText.h"
#include "UDbError.h"
#include "UEngineErrorText.h"
#include "UQuit.h"
#include "URoomConfig.h"

TDM *DM = nullptr;

TDM::TDM()
    : ACon(new TConnection)
{
}

TDM::~TDM()
{
    delete ACon;
}

QString AppPathOf(const QString &folder)
{
    QString path = QDir::toNativeSeparators(folder);
    if (!path.endsWith(QDir::separator()))
        path += QDir::separator();
    return path;
}

QString TDM::LocalConnectionString(const QString &appPath)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=")
        + QuoteConnectionValue(appPath + QStringLiteral("\\Data\\Jsy_Data.mdb"))
        + QStringLiteral(";Persist Security Info=False");
}

void TDM::DataModuleCreate(const QString &applicationDirPath)
{
    RunContext.AppPath = AppPathOf(applicationDirPath);
    ACon->Close();
    if (OpenRoomServer())
        return;
    ACon->SetConnectionString(LocalConnectionString(RunContext.AppPath));
    // A path SQLite cannot take is no matter for the SQL Server dialog.
    const QString databaseFile = MapConnectionString(ACon->ConnectionString()).DatabaseFile;
    const QString pathProblem = BankPathProblem(databaseFile);
    if (!pathProblem.isEmpty()) {
        ShowError(pathProblem);
        RequestQuit();
        return;
    }
    try {
        ACon->Open();
        return;
    } catch (const std::exception &error) {
        ACon->Close();
        // Nor is a bank that takes no writes: that is said instead.
        const auto *engineError = dynamic_cast<const EDatabaseError *>(&error);
        if (engineError && engineError->CannotWrite()) {
            ShowError(BankNotWritableText(databaseFile, engineError->Fault(), QStringLiteral("无法打开题库。")));
            RequestQuit();
            return;
        }
    }
    const int result = RunConnectDialog ? RunConnectDialog() : 2;
    if (result == 1) {
        // The dialog's settings take no part: the same file is tried again,
        // and a second failure goes to the framework's error box.
        ACon->SetConnectionString(LocalConnectionString(RunContext.AppPath));
        ACon->Open();
    } else {
        RequestQuit();
    }
}

bool TDM::OpenRoomServer()
{
    try {
        const std::optional<TRoomConfig> room = ReadRoomConfig(RunContext.AppPath);
        if (!room)
            return false;
        ACon->SetConnectionString(PostgresConnectionString(room->ConnInfo));
        ACon->Open();
    } catch (const EDatabaseError &error) {
        // The server is the room's, not the candidate's to set: the local
        // bank's connection dialog has nothing to offer here.
        ACon->Close();
        ShowError(QStringLiteral("无法连接考场服务器：") + error.Message());
        RequestQuit();
    } catch (const EExamoraError &error) {
        ShowError(error.Message());
        RequestQuit();
    }
    return true;
}
