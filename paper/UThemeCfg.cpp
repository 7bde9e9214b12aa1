#include "UThemeCfg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryFile>

#include "UComm.h"
#include "UError.h"
#include "UIniFile.h"

namespace {

// Held while Theme.Cfg is deleted or replaced. A lock left by a program
// that died is taken over: QLockFile checks whether its owner still runs.
QString ThemeCfgLockName()
{
    return ThemeCfgFileName() + QStringLiteral(".lock");
}

} // namespace

QString ThemeCfgFileName()
{
    return RunContext.AppPath + QStringLiteral("Theme.Cfg");
}

void RemoveThemeCfg()
{
    QLockFile lock(ThemeCfgLockName());
    // Where no lock can be made the file is deleted all the same.
    lock.lock();
    QFile::remove(ThemeCfgFileName());
}

void WriteThemeCfg(TIniFile &themeCfg)
{
    QLockFile lock(ThemeCfgLockName());
    if (!lock.lock())
        throw EExamoraError(QStringLiteral("cannot lock ") + ThemeCfgFileName());
    themeCfg.UpdateFile();
}

QString ThemeCfgWriteProblem()
{
    // The draw makes its lock and the new file beside Theme.Cfg: a file
    // made there is the test that it can.
    QTemporaryFile probe(ThemeCfgFileName() + QStringLiteral(".XXXXXX"));
    if (probe.open())
        return QString();
    return QStringLiteral("程序文件夹“%1”不可写入，无法生成试卷。")
        .arg(QDir::toNativeSeparators(QFileInfo(ThemeCfgFileName()).absolutePath()));
}
