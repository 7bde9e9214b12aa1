#include <QGuiApplication>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include "TProgramFolder.h"
#include "TXServer.h"
#include "UApplication.h"

// Every window carries exactly its caption. Qt appends the application's
// display name to each title on a real desktop ("系统登录 — Examora") when
// one is set, so the real program is looked at in a virtual X server.
class TestWindowTitles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void NoDisplayNameIsSet();
    void ExamWindowsShowTheirCaptionsExactly();
    void ErrorBoxShowsItsCaptionExactly();

private:
    // Starts the program and waits for the licence-class dialog.
    bool StartUntilLogin(QProcess &program);
    // The name the window manager would show for the window whose title
    // starts with the caption.
    QString NameOf(const QString &caption);
    void Stop(QProcess &program);

    QTemporaryDir FFolder;
    TXServer FX;
    bool FReady = false;
};

void TestWindowTitles::initTestCase()
{
    if (!TXServer::ToolsInstalled())
        return;
    QVERIFY(MakeProgramFolder(FFolder.path(), QStringLiteral(EXAMORA_PROGRAM_FILE)));
    const QString failure = FX.Start();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    FReady = true;
}

void TestWindowTitles::NoDisplayNameIsSet()
{
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Examora"));
    // Without a display name of its own the application's display name
    // follows its name, and Qt leaves window titles as they are.
    QCoreApplication::setApplicationName(QStringLiteral("probe"));
    const QString displayName = QGuiApplication::applicationDisplayName();
    QCoreApplication::setApplicationName(QStringLiteral("Examora"));
    QCOMPARE(displayName, QStringLiteral("probe"));
}

bool TestWindowTitles::StartUntilLogin(QProcess &program)
{
    if (!FX.StartProgram(program, FFolder.filePath("examora"), FFolder.filePath("config")))
        return false;
    return WaitFor([&] { return program.state() == QProcess::NotRunning || FX.WaitForWindow("^系统登录", 0); }, 30000)
        && program.state() != QProcess::NotRunning;
}

QString TestWindowTitles::NameOf(const QString &caption)
{
    const QString pattern = "^" + caption;
    if (!FX.WaitForWindow(pattern, 60000))
        return QStringLiteral("<no window>");
    return FX.WindowName(pattern);
}

void TestWindowTitles::Stop(QProcess &program)
{
    program.kill();
    program.waitForFinished(10000);
}

void TestWindowTitles::ExamWindowsShowTheirCaptionsExactly()
{
    if (!FReady)
        QSKIP("Xvfb, xdotool and xprop are needed to look at the real windows");
    QProcess program;
    QVERIFY2(StartUntilLogin(program), "licence-class dialog did not appear");
    QCOMPARE(NameOf("系统登录"), QStringLiteral("系统登录"));
    FX.Key("^系统登录", {"Return"});
    QCOMPARE(NameOf("练习方式"), QStringLiteral("练习方式"));
    FX.Key("^练习方式", {"Return"});
    QCOMPARE(NameOf("Examora"), QStringLiteral("Examora"));
    Stop(program);
}

void TestWindowTitles::ErrorBoxShowsItsCaptionExactly()
{
    if (!FReady)
        QSKIP("Xvfb, xdotool and xprop are needed to look at the real windows");
    // The motorcycle class loses its template: the mock exam fails with an error.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "titles-bank");
        db.setDatabaseName(FFolder.filePath("Data/Jsy_Data.mdb"));
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec("DELETE FROM T_KS_Model WHERE DirvesType='005'"));
        db.close();
    }
    QSqlDatabase::removeDatabase("titles-bank");
    QProcess program;
    QVERIFY2(StartUntilLogin(program), "licence-class dialog did not appear");
    FX.Key("^系统登录", {"5", "Return"});
    QVERIFY(FX.WaitForWindow("^练习方式", 20000));
    FX.Key("^练习方式", {"Return"});
    QCOMPARE(NameOf("错误"), QStringLiteral("错误"));
    Stop(program);
}

int main(int argc, char *argv[])
{
    TExamoraApplication app(argc, argv);
    TestWindowTitles test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_WindowTitles.moc"
