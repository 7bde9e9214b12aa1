#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include "UPostgresServer.h"

namespace {

const QString KBankTool = QStringLiteral(EXAMORA_BANK_TOOL);

struct TRun
{
    int Status = -1;
    QString Output;
    QString Errors;
};

TRun RunTool(const QStringList &arguments)
{
    QProcess tool;
    tool.start(KBankTool, arguments);
    TRun run;
    if (!tool.waitForFinished(280000) || tool.exitStatus() != QProcess::NormalExit)
        return run;
    run.Status = tool.exitCode();
    run.Output = QString::fromUtf8(tool.readAllStandardOutput());
    run.Errors = QString::fromUtf8(tool.readAllStandardError());
    return run;
}

// The first value of a statement on a connection; null on failure.
QVariant Scalar(const QString &connection, const QString &sql)
{
    QSqlQuery query(QSqlDatabase::database(connection));
    if (!query.exec(sql) || !query.next())
        return QVariant();
    return query.value(0);
}

} // namespace

// The bank tool on an exam room's server: the real program against a
// PostgreSQL server the test starts itself.
class TestRoomServerTool : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void InitPushAndCheckCarryTheWholeBank();
    void PushRefusesAFilledServerUnlessReplaced();
    void FailedPushLeavesNothing();
    void ResultsAreCsvFromTheDayGiven();

private:
    // Counts of the bank's tables on the server and in the file, alike.
    void CompareWithBank();

    QTemporaryDir FDir;
    QString FConnInfo;
    QString FBankFile;
    int FCount = 0;
};

void TestRoomServerTool::init()
{
    if (const QString why = TPostgresServer::Unavailable(); !why.isEmpty())
        QSKIP(qPrintable(why));
    QVERIFY2(TPostgresServer::Shared().Running(), qPrintable(TPostgresServer::Shared().Error()));
    FConnInfo = TPostgresServer::Shared().CreateDatabase(QStringLiteral("tool"));
    QVERIFY2(!FConnInfo.isEmpty(), qPrintable(TPostgresServer::Shared().Error()));
    FBankFile = FDir.filePath(QStringLiteral("bank%1.db").arg(++FCount));
    QCOMPARE(RunTool({QStringLiteral("create"), FBankFile}).Status, 0);
    QSqlDatabase server = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("server"));
    server.setConnectOptions(FConnInfo);
    QVERIFY2(server.open(), qPrintable(server.lastError().text()));
    QSqlDatabase bank = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bank"));
    bank.setDatabaseName(FBankFile);
    QVERIFY(bank.open());
}

void TestRoomServerTool::cleanup()
{
    for (const QString &name : {QStringLiteral("server"), QStringLiteral("bank")}) {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
}

void TestRoomServerTool::CompareWithBank()
{
    for (const char *table :
         {"T_KS_THEME", "T_KS_CHAPTER", "T_KS_Model", "T_KS_ThemeModelContent", "T_KS_ThemeNote", "T_KS_ThemePart"}) {
        const QString count = QStringLiteral("select count(*) from ") + QLatin1String(table);
        QCOMPARE(Scalar("server", count).toLongLong(), Scalar("bank", count).toLongLong());
        QVERIFY2(Scalar("bank", count).toLongLong() > 0, table);
    }
    // Every question's picture byte for byte, and its text with it.
    QSqlQuery server(QSqlDatabase::database(QStringLiteral("server")));
    QSqlQuery bank(QSqlDatabase::database(QStringLiteral("bank")));
    QVERIFY(server.exec("select ThemeID, ThemeContent, ThemeImage from T_KS_THEME order by ThemeID"));
    QVERIFY(bank.exec("select ThemeID, ThemeContent, ThemeImage from T_KS_THEME order by ThemeID"));
    int pictures = 0;
    while (bank.next()) {
        QVERIFY(server.next());
        QCOMPARE(server.value(0).toLongLong(), bank.value(0).toLongLong());
        QCOMPARE(server.value(1).toString(), bank.value(1).toString());
        QCOMPARE(server.value(2).isNull(), bank.value(2).isNull());
        QCOMPARE(server.value(2).toByteArray(), bank.value(2).toByteArray());
        pictures += bank.value(2).isNull() ? 0 : 1;
    }
    QVERIFY(!server.next());
    QVERIFY(pictures > 0);
}

void TestRoomServerTool::InitPushAndCheckCarryTheWholeBank()
{
    const TRun init = RunTool({QStringLiteral("server-init"), FConnInfo});
    QVERIFY2(init.Status == 0, qPrintable(init.Errors));
    QCOMPARE(Scalar("server", "select count(*) from T_KS_ExamRecord").toInt(), 0);
    QCOMPARE(Scalar("server", "select count(*) from T_KS_ExamineTheme_TT").toInt(), 0);
    const TRun again = RunTool({QStringLiteral("server-init"), FConnInfo});
    QCOMPARE(again.Status, 1);
    QVERIFY2(again.Errors.contains(QStringLiteral("already")), qPrintable(again.Errors));

    const TRun push = RunTool({QStringLiteral("push"), FBankFile, FConnInfo});
    QVERIFY2(push.Status == 0, qPrintable(push.Errors));
    QVERIFY(push.Output.contains(QStringLiteral("T_KS_THEME: ")));
    CompareWithBank();
    // A template row added on the server is numbered after the copied ones.
    QSqlQuery add(QSqlDatabase::database(QStringLiteral("server")));
    QVERIFY2(add.exec("insert into T_KS_ThemeModelContent (ModelID, ThemePart, ThemeChapter, ThemeType, ThemeCount, "
                      "SelectCount, ThemeBit, BitCount) values (1, 1, 1, 1, 0, 0, 1, 0)"),
             qPrintable(add.lastError().text()));

    QVERIFY(add.exec(
        "delete from T_KS_ThemeModelContent where ContentID=(select max(ContentID) from T_KS_ThemeModelContent)"));
    const TRun check = RunTool({QStringLiteral("check"), FConnInfo});
    QVERIFY2(check.Status == 0, qPrintable(check.Output + check.Errors));
    QVERIFY(check.Output.contains(QStringLiteral("题库检查通过")));
}

void TestRoomServerTool::PushRefusesAFilledServerUnlessReplaced()
{
    QCOMPARE(RunTool({QStringLiteral("server-init"), FConnInfo}).Status, 0);
    QCOMPARE(RunTool({QStringLiteral("push"), FBankFile, FConnInfo}).Status, 0);
    QSqlQuery change(QSqlDatabase::database(QStringLiteral("server")));
    QVERIFY(change.exec("update T_KS_THEME set ThemeContent='改过' where ThemeID=(select min(ThemeID) from T_KS_THEME)"));
    const TRun refused = RunTool({QStringLiteral("push"), FBankFile, FConnInfo});
    QCOMPARE(refused.Status, 1);
    QVERIFY2(refused.Errors.contains(QStringLiteral("--replace")), qPrintable(refused.Errors));
    QCOMPARE(Scalar("server", "select count(*) from T_KS_THEME where ThemeContent='改过'").toInt(), 1);

    const TRun replaced = RunTool({QStringLiteral("push"), FBankFile, FConnInfo, QStringLiteral("--replace")});
    QVERIFY2(replaced.Status == 0, qPrintable(replaced.Errors));
    QCOMPARE(Scalar("server", "select count(*) from T_KS_THEME where ThemeContent='改过'").toInt(), 0);
    CompareWithBank();
}

void TestRoomServerTool::FailedPushLeavesNothing()
{
    QCOMPARE(RunTool({QStringLiteral("server-init"), FConnInfo}).Status, 0);
    // The last question's type is no number: the server's typed column refuses it.
    QSqlQuery spoil(QSqlDatabase::database(QStringLiteral("bank")));
    QVERIFY(spoil.exec("update T_KS_THEME set ThemeType='x' where ThemeID=(select max(ThemeID) from T_KS_THEME)"));
    const TRun push = RunTool({QStringLiteral("push"), FBankFile, FConnInfo});
    QCOMPARE(push.Status, 1);
    QVERIFY2(push.Errors.contains(QStringLiteral("T_KS_THEME")), qPrintable(push.Errors));
    for (const char *table : {"T_KS_THEME", "T_KS_CHAPTER", "T_KS_ThemePart"})
        QCOMPARE(Scalar("server", QStringLiteral("select count(*) from ") + QLatin1String(table)).toInt(), 0);
}

void TestRoomServerTool::ResultsAreCsvFromTheDayGiven()
{
    QCOMPARE(RunTool({QStringLiteral("server-init"), FConnInfo}).Status, 0);
    QSqlQuery add(QSqlDatabase::database(QStringLiteral("server")));
    QVERIFY(add.exec("insert into T_KS_ExamRecord (ExamineID, CandidateIdNumber, StartedAt, Score, Status) values "
                     "(1, '110101199003077578', '2026-12-08T09:00:00', 95, 'handedin'), "
                     "(2, '=cmd', '2026-12-09T10:00:00', NULL, 'open')"));
    const TRun all = RunTool({QStringLiteral("results"), FConnInfo});
    QVERIFY2(all.Status == 0, qPrintable(all.Errors));
    QStringList lines = all.Output.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].contains(QStringLiteral("candidateidnumber"), Qt::CaseInsensitive));
    QVERIFY(lines[1].contains(QStringLiteral(",110101199003077578,")));
    // A number that a spreadsheet would run as a formula stays text.
    QVERIFY(!lines[2].contains(QStringLiteral(",=cmd")));

    const TRun since = RunTool(
        {QStringLiteral("results"), FConnInfo, QStringLiteral("--since"), QStringLiteral("2026-12-09")});
    QCOMPARE(since.Status, 0);
    lines = since.Output.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[1].contains(QStringLiteral("2026-12-09T10:00:00")));
    QCOMPARE(RunTool({QStringLiteral("results"), FConnInfo, QStringLiteral("--since"), QStringLiteral("9.12.2026")}).Status,
             1);
}

QTEST_GUILESS_MAIN(TestRoomServerTool)
#include "tst_RoomServerTool.moc"
