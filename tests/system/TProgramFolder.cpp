#include "TProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>

#include "TXServer.h"
#include "UBankFile.h"

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

QVariant ProgramFolderScalar(const QString &folder, const QString &sql)
{
    const QString connection = QStringLiteral("program-folder-check");
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connection);
        db.setDatabaseName(QDir(folder).filePath("Data/Jsy_Data.mdb"));
        db.setConnectOptions("QSQLITE_BUSY_TIMEOUT=5000");
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(sql) && query.next())
                value = query.value(0);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return value;
}

bool StartUntilLogin(const TXServer &x, QProcess &program, const QString &folder)
{
    const QDir dir(folder);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!x.StartProgram(program, dir.filePath("examora"), dir.filePath("config")))
            return false;
        if (WaitFor([&] { return program.state() == QProcess::NotRunning || x.WaitForWindow("^系统登录$", 0); }, 30000)
            && program.state() != QProcess::NotRunning)
            return true;
        program.kill();
        program.waitForFinished(5000);
    }
    return false;
}
