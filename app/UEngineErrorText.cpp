#include "UEngineErrorText.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>

namespace {

// SQLite's primary result codes, and the extended code of a write refused
// because the folder takes no new files (the journal cannot be made).
constexpr int KSqliteBusy = 5;
constexpr int KSqliteLocked = 6;
constexpr int KSqliteNoMem = 7;
constexpr int KSqliteReadOnly = 8;
constexpr int KSqliteIoErr = 10;
constexpr int KSqliteCorrupt = 11;
constexpr int KSqliteFull = 13;
constexpr int KSqliteCantOpen = 14;
constexpr int KSqliteNotADb = 26;
constexpr int KSqliteReadOnlyDirectory = KSqliteReadOnly | (6 << 8);

TEngineFault SqliteFault(int code)
{
    if (code == KSqliteReadOnlyDirectory)
        return TEngineFault::efReadOnlyFolder;
    switch (code & 0xff) {
    case KSqliteFull: return TEngineFault::efDiskFull;
    case KSqliteReadOnly: return TEngineFault::efReadOnlyFile;
    case KSqliteBusy:
    case KSqliteLocked: return TEngineFault::efLocked;
    case KSqliteNotADb: return TEngineFault::efNotADatabase;
    case KSqliteCorrupt: return TEngineFault::efCorrupt;
    case KSqliteNoMem: return TEngineFault::efOutOfMemory;
    case KSqliteCantOpen: return TEngineFault::efCannotOpen;
    case KSqliteIoErr: return TEngineFault::efIoError;
    default: return TEngineFault::efNone;
    }
}

} // namespace

TEngineFault EngineFault(const QSqlError &error, const QSqlDriver *driver)
{
    if (!driver || driver->dbmsType() != QSqlDriver::SQLite)
        return TEngineFault::efNone;
    bool isNumber = false;
    const int code = error.nativeErrorCode().toInt(&isNumber);
    return isNumber ? SqliteFault(code) : TEngineFault::efNone;
}

QString EngineFaultText(TEngineFault fault)
{
    switch (fault) {
    case TEngineFault::efNone: break;
    case TEngineFault::efDiskFull: return QStringLiteral("磁盘已满（或题库已达到大小上限），数据无法写入。");
    case TEngineFault::efReadOnlyFile: return QStringLiteral("题库文件为只读，数据无法写入。");
    case TEngineFault::efReadOnlyFolder: return QStringLiteral("题库所在的文件夹不可写入，数据无法写入。");
    case TEngineFault::efLocked: return QStringLiteral("题库正被另一个程序使用（已锁定），请稍后再试。");
    case TEngineFault::efNotADatabase: return QStringLiteral("该文件不是题库（SQLite 数据库）文件。");
    case TEngineFault::efCorrupt: return QStringLiteral("题库文件已损坏。");
    case TEngineFault::efOutOfMemory: return QStringLiteral("内存不足。");
    case TEngineFault::efCannotOpen:
        return QStringLiteral("无法打开题库文件或其日志文件，请检查文件是否存在、所在文件夹是否可写入。");
    case TEngineFault::efIoError: return QStringLiteral("读写题库文件时出错（磁盘或文件系统故障）。");
    }
    return QString();
}

EDatabaseError EngineError(const QSqlError &error, const QSqlDriver *driver)
{
    const TEngineFault fault = EngineFault(error, driver);
    const QString lead = EngineFaultText(fault);
    return EDatabaseError(lead.isEmpty() ? error.text() : lead + QLatin1Char('\n') + error.text(), fault);
}

QString BankNotWritableText(const QString &databaseFile, TEngineFault fault, const QString &consequence)
{
    if (fault == TEngineFault::efReadOnlyFolder)
        return QStringLiteral("题库所在的文件夹“%1”不可写入，")
                   .arg(QDir::toNativeSeparators(QFileInfo(databaseFile).absolutePath()))
            + consequence;
    return QStringLiteral("题库文件“%1”为只读，").arg(QDir::toNativeSeparators(databaseFile)) + consequence;
}
