#include "tests/system/TProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>

#include "tools/UBankFile.h"

bool MakeProgramFolder(const QString &folder, const QString &executable)
{
    const QDir dir(folder);
    if (!QFile::copy(executable, dir.filePath("examora")) || !dir.mkpath("Data"))
        return false;
    const QString connection = QStringLiteral("program-folder-bank");
    {
        QSqlDatabase db = CreateBankFile(dir.filePath("Data/Jsy_Data.mdb"), connection);
        WriteSyntheticBank(db, 600, 0.1, 8 * 1024);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return true;
}
