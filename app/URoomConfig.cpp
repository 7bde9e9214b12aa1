#include "URoomConfig.h"

#include <QFileInfo>

#include "UError.h"
#include "UIniFile.h"

std::optional<TRoomConfig> ReadRoomConfig(const QString &appPath)
{
    const QString fileName = appPath + KRoomConfigFile;
    if (!QFileInfo::exists(fileName))
        return std::nullopt;
    const TIniFile file(fileName);
    TRoomConfig config;
    config.ConnInfo = file.ReadString(QStringLiteral("Server"), QStringLiteral("ConnInfo"), QString()).trimmed();
    config.Name = file.ReadString(QStringLiteral("Room"), QStringLiteral("Name"), QString()).trimmed();
    // A file that names no server is a mistake to be told, not a reason
    // to fall back silently on the local bank.
    if (config.ConnInfo.isEmpty())
        throw EExamoraError(QStringLiteral("考场设置文件 %1 中没有服务器连接串（[Server] ConnInfo）。").arg(fileName));
    return config;
}
