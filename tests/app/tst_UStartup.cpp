#include <map>

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "TestSupport.h"
#include "UBankFile.h"
#include "UComm.h"
#include "UConnection.h"
#include "UDM.h"
#include "UDbError.h"
#include "UQuit.h"
#include "URegistry.h"
#include "UVersion.h"

namespace {

// An in-memory registry that counts the writes it takes.
class TMemoryRegistry : public TRegistry
{
public:
    bool OpenKey(const QString &key, bool canCreate) override
    {
        const QString path = FCurrent.isEmpty() ? key : FCurrent + QLatin1Char('\\') + key;
        if (!canCreate && !FKeys.count(path) && key != QLatin1String("Software"))
            return false;
        FKeys[path] = true;
        FCurrent = path;
        return true;
    }
    QString ReadString(const QString &name) override { return FValues[FCurrent + QLatin1Char('/') + name]; }
    void WriteString(const QString &name, const QString &value) override
    {
        if (FailWrites)
            throw EExamoraError(QStringLiteral("access denied"));
        FValues[FCurrent + QLatin1Char('/') + name] = value;
        Written << name;
    }
    void Restart()
    {
        FCurrent.clear();
        Written.clear();
    }

    std::map<QString, QString> FValues;
    std::map<QString, bool> FKeys;
    QString FCurrent;
    QStringList Written;
    bool FailWrites = false;
};

} // namespace

class TestUStartup : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void FirstRunWritesAllFiveValuesUnderTheBuildKey();
    void SecondRunRewritesNothing();
    void MovedFolderRewritesPathAndExeOnly();
    void OtherBuildWritesAFreshKey();
    void WriteFailureReturnsFalse();
    void ValidDatabaseOpensWithoutDialog();
    void MissingDatabaseShowsDialogAndCancelQuits();
    void MissingDatabaseOkRetriesOnceAndRaises();
    void FileThatIsNotADatabaseFailsLikeAMissingOne();
    void FolderWithSemicolonOpensItsBank();
    void LongestPathOpensLongerOneIsNamed();
};

void TestUStartup::cleanup()
{
    ClearFileVersionForTesting();
    ResetQuitRequestForTesting();
    RunContext = TRunContext();
}

void TestUStartup::FirstRunWritesAllFiveValuesUnderTheBuildKey()
{
    SetFileVersionForTesting(TFileVersion{4, 0, 100, 1});
    RunContext.AppPath = QStringLiteral("/opt/examora/");
    TMemoryRegistry registry;
    QVERIFY(RecordApplicationInfo(registry, QStringLiteral("/opt/examora/examora")));
    QCOMPARE(registry.Written,
             (QStringList{"ApplicationName", "ApplicationVersion", "ApplicationSysFlag", "ApplicationPath",
                          "ApplicationExeName"}));
    QCOMPARE(registry.FValues["Software\\Quorvane\\100.1/ApplicationName"], QString("Velmaris"));
    QCOMPARE(registry.FValues["Software\\Quorvane\\100.1/ApplicationVersion"], QString("4.0"));
    QCOMPARE(registry.FValues["Software\\Quorvane\\100.1/ApplicationSysFlag"], QString("100.1"));
    QCOMPARE(registry.FValues["Software\\Quorvane\\100.1/ApplicationPath"], QString("/opt/examora/"));
    QCOMPARE(registry.FValues["Software\\Quorvane\\100.1/ApplicationExeName"], QString("/opt/examora/examora"));
}

void TestUStartup::SecondRunRewritesNothing()
{
    SetFileVersionForTesting(TFileVersion{4, 0, 100, 1});
    RunContext.AppPath = QStringLiteral("/opt/examora/");
    TMemoryRegistry registry;
    QVERIFY(RecordApplicationInfo(registry, QStringLiteral("/opt/examora/examora")));
    registry.Restart();
    QVERIFY(RecordApplicationInfo(registry, QStringLiteral("/opt/examora/examora")));
    QVERIFY(registry.Written.isEmpty());
}

void TestUStartup::MovedFolderRewritesPathAndExeOnly()
{
    SetFileVersionForTesting(TFileVersion{4, 0, 100, 1});
    RunContext.AppPath = QStringLiteral("/opt/examora/");
    TMemoryRegistry registry;
    QVERIFY(RecordApplicationInfo(registry, QStringLiteral("/opt/examora/examora")));
    registry.Restart();
    RunContext.AppPath = QStringLiteral("/srv/school/");
    QVERIFY(RecordApplicationInfo(registry, QStringLiteral("/srv/school/examora")));
    QCOMPARE(registry.Written, (QStringList{"ApplicationPath", "ApplicationExeName"}));
}

void TestUStartup::OtherBuildWritesAFreshKey()
{
    SetFileVersionForTesting(TFileVersion{4, 0, 100, 1});
    RunContext.AppPath = QStringLiteral("/opt/examora/");
    TMemoryRegistry registry;
    QVERIFY(RecordApplicationInfo(registry, QStringLiteral("/opt/examora/examora")));
    registry.Restart();
    SetFileVersionForTesting(TFileVersion{4, 1, 102, 7});
    QVERIFY(RecordApplicationInfo(registry, QStringLiteral("/opt/examora/examora")));
    QCOMPARE(registry.Written.size(), 5);
    QCOMPARE(registry.FValues["Software\\Quorvane\\102.7/ApplicationVersion"], QString("4.1"));
    QCOMPARE(registry.FValues["Software\\Quorvane\\100.1/ApplicationVersion"], QString("4.0"));
    // Without version information both texts are "0.00".
    registry.Restart();
    SetFileVersionForTesting(std::nullopt);
    QVERIFY(RecordApplicationInfo(registry, QStringLiteral("/opt/examora/examora")));
    QCOMPARE(registry.FValues["Software\\Quorvane\\0.00/ApplicationSysFlag"], QString("0.00"));
}

void TestUStartup::WriteFailureReturnsFalse()
{
    TMemoryRegistry registry;
    registry.FailWrites = true;
    QVERIFY(!RecordApplicationInfo(registry, QStringLiteral("/x")));
}

void TestUStartup::ValidDatabaseOpensWithoutDialog()
{
    TTestBank bank;
    TDM dm;
    int dialogs = 0;
    dm.RunConnectDialog = [&dialogs] {
        ++dialogs;
        return 2;
    };
    dm.DataModuleCreate(QFileInfo(bank.DatabaseFile()).dir().absolutePath() + QStringLiteral("/.."));
    QVERIFY(dm.ACon->Connected());
    QCOMPARE(dialogs, 0);
    QVERIFY(RunContext.AppPath.endsWith(QDir::separator()));
    QVERIFY(!QuitRequested());
}

void TestUStartup::MissingDatabaseShowsDialogAndCancelQuits()
{
    QTemporaryDir folder;
    TDM dm;
    int dialogs = 0;
    dm.RunConnectDialog = [&dialogs] {
        ++dialogs;
        return 2;
    };
    dm.DataModuleCreate(folder.path());
    QCOMPARE(dialogs, 1);
    QVERIFY(!dm.ACon->Connected());
    QVERIFY(QuitRequested());
    // The missing file is not created by the attempt.
    QVERIFY(!QFile::exists(folder.path() + QStringLiteral("/Data/Jsy_Data.mdb")));
}

void TestUStartup::MissingDatabaseOkRetriesOnceAndRaises()
{
    QTemporaryDir folder;
    TDM dm;
    int dialogs = 0;
    dm.RunConnectDialog = [&dialogs] {
        ++dialogs;
        return 1;
    };
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, dm.DataModuleCreate(folder.path()));
    QCOMPARE(dialogs, 1);
    QVERIFY(!QuitRequested());

    // OK after the file has appeared: the second attempt opens it.
    QDir(folder.path()).mkpath(QStringLiteral("Data"));
    TDM second;
    second.RunConnectDialog = [&folder] {
        CreateBankFile(folder.path() + QStringLiteral("/Data/Jsy_Data.mdb"), QStringLiteral("late-bank")).close();
        return 1;
    };
    second.DataModuleCreate(folder.path());
    QVERIFY(second.ACon->Connected());
    QSqlDatabase::removeDatabase(QStringLiteral("late-bank"));
}

void TestUStartup::FileThatIsNotADatabaseFailsLikeAMissingOne()
{
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("Data"));
    QFile junk(folder.path() + QStringLiteral("/Data/Jsy_Data.mdb"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, '\x5a'));
    junk.close();
    TDM dm;
    int dialogs = 0;
    dm.RunConnectDialog = [&dialogs] {
        ++dialogs;
        return 2;
    };
    dm.DataModuleCreate(folder.path());
    QCOMPARE(dialogs, 1);
    QVERIFY(!dm.ACon->Connected());
}

namespace {

// A program folder whose bank path has exactly this many bytes.
QString FolderForBankPath(const QString &root, int bankPathBytes)
{
    const QString tail = QStringLiteral("/Data/Jsy_Data.mdb");
    QString folder = root;
    while (int(QFile::encodeName(folder + tail).size()) < bankPathBytes) {
        const int missing = bankPathBytes - int(QFile::encodeName(folder + tail).size());
        folder += QLatin1Char('/') + QString(qBound(1, missing - 1, 60), QLatin1Char('d'));
    }
    return folder;
}

// Made at a short path and copied, since SQLite could not create it there.
bool OpensBankIn(const QString &folder, int *dialogs)
{
    QTemporaryDir scratch;
    const QString made = scratch.filePath(QStringLiteral("bank.sqlite"));
    CreateBankFile(made, QStringLiteral("copied-bank")).close();
    QSqlDatabase::removeDatabase(QStringLiteral("copied-bank"));
    QDir().mkpath(folder + QStringLiteral("/Data"));
    QFile::copy(made, folder + QStringLiteral("/Data/Jsy_Data.mdb"));
    TDM dm;
    dm.RunConnectDialog = [dialogs] {
        ++*dialogs;
        return 2;
    };
    dm.DataModuleCreate(folder);
    return dm.ACon->Connected();
}

} // namespace

void TestUStartup::FolderWithSemicolonOpensItsBank()
{
    QTemporaryDir root;
    int dialogs = 0;
    QVERIFY(OpensBankIn(root.path() + QStringLiteral("/a;b"), &dialogs));
    QVERIFY(OpensBankIn(root.path() + QStringLiteral("/x;Data Source=y\"q"), &dialogs));
    QCOMPARE(dialogs, 0);
    QVERIFY(!QuitRequested());
}

void TestUStartup::LongestPathOpensLongerOneIsNamed()
{
    QTemporaryDir root;
    int dialogs = 0;
    QVERIFY(OpensBankIn(FolderForBankPath(root.path() + QStringLiteral("/ok"), 504), &dialogs));
    QCOMPARE(dialogs, 0);

    // One byte more: SQLite cannot take it, and the user is told so instead
    // of being offered a SQL Server.
    TScriptedMessages messages;
    const QString folder = FolderForBankPath(root.path() + QStringLiteral("/long"), 505);
    QVERIFY(!OpensBankIn(folder, &dialogs));
    QCOMPARE(dialogs, 0);
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(messages.Shown()[0].Caption, QString("错误"));
    QVERIFY(messages.Shown()[0].Text.contains(QDir::toNativeSeparators(folder + QStringLiteral("/Data/Jsy_Data.mdb"))));
    QVERIFY(messages.Shown()[0].Text.contains(QStringLiteral("路径太长")));
    QVERIFY(QuitRequested());
}

QTEST_GUILESS_MAIN(TestUStartup)
#include "tst_UStartup.moc"
