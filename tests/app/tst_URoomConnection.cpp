#include <QTemporaryDir>
#include <QTest>

#include "TestSupport.h"
#include "UComm.h"
#include "UConnection.h"
#include "UDM.h"
#include "UIniFile.h"
#include "UPostgresServer.h"
#include "UQuery.h"
#include "UQuit.h"
#include "URoomConfig.h"

namespace {

// A program folder whose ExamRoom.cfg names the given server, and no bank.
void WriteRoomConfig(const QTemporaryDir &folder, const QString &connInfo)
{
    TIniFile room(folder.filePath(KRoomConfigFile));
    if (!connInfo.isNull())
        room.WriteString(QStringLiteral("Server"), QStringLiteral("ConnInfo"), connInfo);
    room.WriteString(QStringLiteral("Room"), QStringLiteral("Name"), QStringLiteral("第一考场"));
    room.UpdateFile();
}

// Runs the data module's start on the folder as the program does; true
// when the connection dialog of the local bank was asked for.
bool StartDataModule(TDM &dataModule, const QTemporaryDir &folder)
{
    bool dialogShown = false;
    dataModule.RunConnectDialog = [&dialogShown] { return dialogShown = true, 2; };
    dataModule.DataModuleCreate(folder.path());
    return dialogShown;
}

} // namespace

// The data module in an exam room: ExamRoom.cfg beside the program sends
// it to the room's PostgreSQL server instead of the local bank.
class TestURoomConnection : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void RoomFileOpensTheServerNotTheLocalBank();
    void UnreachableServerIsToldAndEndsTheRunWithoutTheDialog_data();
    void UnreachableServerIsToldAndEndsTheRunWithoutTheDialog();
};

void TestURoomConnection::cleanup()
{
    ResetQuitRequestForTesting();
    RunContext = TRunContext();
}

void TestURoomConnection::RoomFileOpensTheServerNotTheLocalBank()
{
    if (const QString why = TPostgresServer::Unavailable(); !why.isEmpty())
        QSKIP(qPrintable(why));
    TPostgresServer &server = TPostgresServer::Shared();
    QVERIFY2(server.Running(), qPrintable(server.Error()));
    const QString connInfo = server.CreateDatabase(QStringLiteral("room"));
    QVERIFY2(!connInfo.isEmpty(), qPrintable(server.Error()));
    QTemporaryDir folder;
    WriteRoomConfig(folder, connInfo);
    TScriptedMessages messages;
    TDM dataModule;
    QVERIFY(!StartDataModule(dataModule, folder));
    QCOMPARE(messages.Count(), 0);
    QVERIFY(!QuitRequested());
    QVERIFY(dataModule.ACon->Connected() && dataModule.ACon->IsPostgres());
    QCOMPARE(RunContext.AppPath, AppPathOf(folder.path()));
    QVERIFY(dataModule.ACon->NeedsLimitForTop());
    TQuery query;
    query.SetConnection(dataModule.ACon);
    query.SetSQL(QStringLiteral("select top 1 current_database() as Name"));
    query.Open();
    QVERIFY(connInfo.endsWith(QStringLiteral("dbname=") + query.FieldByName(QStringLiteral("NAME"))->AsString()
                              + QStringLiteral(" user=examora")));
}

void TestURoomConnection::UnreachableServerIsToldAndEndsTheRunWithoutTheDialog_data()
{
    QTest::addColumn<QString>("connInfo");
    QTest::addColumn<QString>("message");
    QTest::newRow("no server on the socket") << "host=/nonexistent/examora port=5432 dbname=room user=examora"
                                             << "无法连接考场服务器：";
    QTest::newRow("unknown option") << "hots=examroom"
                                    << "无法连接考场服务器：";
    QTest::newRow("no connection string") << QString() << "没有服务器连接串";
}

void TestURoomConnection::UnreachableServerIsToldAndEndsTheRunWithoutTheDialog()
{
    QFETCH(QString, connInfo);
    QFETCH(QString, message);
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        QSKIP("Qt's QPSQL driver is missing: apt-get install libqt6sql6-psql");
    QTemporaryDir folder;
    WriteRoomConfig(folder, connInfo);
    TScriptedMessages messages;
    TDM dataModule;
    const bool dialogShown = StartDataModule(dataModule, folder);
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(messages.Last().Caption, QStringLiteral("错误"));
    QVERIFY2(messages.Last().Text.contains(message), qPrintable(messages.Last().Text));
    // The driver's own words follow, naming what failed.
    QVERIFY(messages.Last().Text.size() > message.size() + 5);
    QVERIFY(!dialogShown);
    QVERIFY(QuitRequested());
    QVERIFY(!dataModule.ACon->Connected());
}

QTEST_GUILESS_MAIN(TestURoomConnection)
#include "tst_URoomConnection.moc"
