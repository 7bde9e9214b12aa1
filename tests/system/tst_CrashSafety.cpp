#include <csignal>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "tools/UBankFile.h"

// The real program in a virtual X server, driven by keys like a candidate,
// killed with SIGKILL in the middle of a mock exam.
class TestCrashSafety : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void AnswersSurviveAKillAndTheNextPaperNumbersHigher();

private:
    bool StartProgram(QProcess &program);
    bool StartUntilLogin(QProcess &program);
    bool WaitForWindow(const QString &title, int timeoutMs);
    void Key(const QString &title, const QStringList &keys);
    QVariant Scalar(const QString &sql);
    bool WaitFor(const std::function<bool()> &condition, int timeoutMs);

    QTemporaryDir FFolder;
    QProcess FXvfb;
    QString FDisplay;
};

void TestCrashSafety::initTestCase()
{
    if (QStandardPaths::findExecutable("Xvfb").isEmpty() || QStandardPaths::findExecutable("xdotool").isEmpty())
        QSKIP("Xvfb and xdotool are needed to drive the real program");
    // A program folder of our own: the executable, and a bank beside it.
    const QString exe = FFolder.filePath("examora");
    QVERIFY(QFile::copy(QStringLiteral(EXAMORA_PROGRAM_FILE), exe));
    QDir(FFolder.path()).mkpath("Data");
    QSqlDatabase db = CreateBankFile(FFolder.filePath("Data/Jsy_Data.mdb"), "crash-bank");
    WriteSyntheticBank(db, 600, 0.1, 8 * 1024);
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase("crash-bank");

    // Xvfb picks a free display itself and writes its number once it listens;
    // without -noreset a client that connects just after another left can be
    // refused while the server resets.
    FXvfb.start("Xvfb", {"-displayfd", "1", "-noreset", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
    QVERIFY(FXvfb.waitForStarted());
    QVERIFY2(WaitFor([this] { return FXvfb.canReadLine() || FXvfb.state() == QProcess::NotRunning; }, 20000)
                 && FXvfb.canReadLine(),
             qPrintable("Xvfb did not start: " + QString::fromLocal8Bit(FXvfb.readAllStandardError())));
    FDisplay = ":" + QString::fromLatin1(FXvfb.readLine().trimmed());
    QVERIFY(WaitFor([this] {
        QProcess probe;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", FDisplay);
        probe.setProcessEnvironment(env);
        probe.start("xdotool", {"getdisplaygeometry"});
        return probe.waitForFinished(5000) && probe.exitCode() == 0;
    }, 20000));
}

void TestCrashSafety::cleanupTestCase()
{
    if (FXvfb.state() != QProcess::NotRunning) {
        FXvfb.terminate();
        FXvfb.waitForFinished(5000);
    }
}

bool TestCrashSafety::WaitFor(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (condition())
            return true;
        QTest::qWait(100);
    }
    return condition();
}

bool TestCrashSafety::StartProgram(QProcess &program)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", FDisplay);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("XDG_CONFIG_HOME", FFolder.filePath("config"));
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(FFolder.filePath("examora"), {});
    return program.waitForStarted();
}

// A program that could not reach the display ends before touching the bank;
// one more start rules out a hiccup of the X server.
bool TestCrashSafety::StartUntilLogin(QProcess &program)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!StartProgram(program))
            return false;
        if (WaitFor([&] { return program.state() == QProcess::NotRunning || WaitForWindow("系统登录", 0); }, 30000)
            && program.state() != QProcess::NotRunning)
            return true;
        program.kill();
        program.waitForFinished(5000);
    }
    return false;
}

bool TestCrashSafety::WaitForWindow(const QString &title, int timeoutMs)
{
    return WaitFor([this, &title] {
        QProcess search;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", FDisplay);
        search.setProcessEnvironment(env);
        search.start("xdotool", {"search", "--onlyvisible", "--name", "^" + title + "$"});
        search.waitForFinished(5000);
        return !search.readAllStandardOutput().trimmed().isEmpty();
    }, timeoutMs);
}

void TestCrashSafety::Key(const QString &title, const QStringList &keys)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", FDisplay);
    // No window manager runs: focus the window ourselves, then type through
    // the keyboard extension to whatever holds the focus.
    QProcess focus;
    focus.setProcessEnvironment(env);
    focus.start("xdotool", {"search", "--onlyvisible", "--name", "^" + title + "$", "windowfocus", "--sync"});
    focus.waitForFinished(10000);
    QProcess type;
    type.setProcessEnvironment(env);
    type.start("xdotool", QStringList{"key", "--delay", "150"} + keys);
    type.waitForFinished(20000);
}

QVariant TestCrashSafety::Scalar(const QString &sql)
{
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "crash-check");
        db.setDatabaseName(FFolder.filePath("Data/Jsy_Data.mdb"));
        db.setConnectOptions("QSQLITE_BUSY_TIMEOUT=5000");
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(sql) && query.next())
                value = query.value(0);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("crash-check");
    return value;
}

void TestCrashSafety::AnswersSurviveAKillAndTheNextPaperNumbersHigher()
{
    QProcess program;
    QVERIFY2(StartUntilLogin(program), "licence-class dialog did not appear");
    Key("系统登录", {"Return"});
    // The practice-mode dialog opens on the mock exam; Enter confirms it.
    if (WaitForWindow("练习方式", 8000))
        Key("练习方式", {"Return"});
    QVERIFY2(WaitFor([this] { return Scalar("select count(*) from T_KS_ExamineTheme").toInt() == 100; }, 60000),
             "the mock-exam paper was not stored");
    QVERIFY(WaitForWindow("Examora", 10000));
    const int paper = Scalar("select max(ExamineID) from T_KS_ExamineTheme").toInt();

    // The answer bar opens once the first question is shown: type the first
    // answer until it arrives, then four more, each after Enter to the next.
    const auto answered = [this] { return Scalar("select count(*) from T_KS_ExamineTheme where AnswerResult<>''").toInt(); };
    for (int attempt = 0; attempt < 20 && answered() == 0; ++attempt) {
        Key("Examora", {"1"});
        WaitFor([&answered] { return answered() > 0; }, 1000);
    }
    Key("Examora", {"Return", "2", "Return", "1", "Return", "2", "Return", "1"});
    QVERIFY2(WaitFor([&answered] { return answered() == 5; }, 20000),
             "the typed answers did not reach the database");
    ::kill(pid_t(program.processId()), SIGKILL);
    QVERIFY(program.waitForFinished(10000));

    QCOMPARE(Scalar("PRAGMA integrity_check").toString(), QString("ok"));
    QCOMPARE(Scalar(QStringLiteral("select group_concat(AnswerResult, '') from (select AnswerResult from T_KS_ExamineTheme "
                                   "where ExamineID=%1 and AnswerResult<>'' order by ID)").arg(paper)).toString(),
             QString("12121"));

    // The next run stores its paper under a higher number; the old rows stay.
    QProcess second;
    QVERIFY2(StartUntilLogin(second), "licence-class dialog did not appear on the second run");
    Key("系统登录", {"Return"});
    if (WaitForWindow("练习方式", 8000))
        Key("练习方式", {"Return"});
    QVERIFY(WaitFor([this] { return Scalar("select count(*) from T_KS_ExamineTheme").toInt() == 200; }, 60000));
    QVERIFY(Scalar("select max(ExamineID) from T_KS_ExamineTheme").toInt() > paper);
    ::kill(pid_t(second.processId()), SIGKILL);
    second.waitForFinished(10000);
    QCOMPARE(Scalar("PRAGMA integrity_check").toString(), QString("ok"));
}

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_CrashSafety.moc"
