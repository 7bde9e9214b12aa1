#include <csignal>

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "TProgramFolder.h"
#include "TXServer.h"

// The real program in a virtual X server, driven by keys like a candidate,
// killed with SIGKILL in the middle of a mock exam.
class TestCrashSafety : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void AnswersSurviveAKillAndADeclinedPaperKeepsThem();

private:
    bool StartUntilLogin(QProcess &program);
    bool WaitForWindow(const QString &title, int timeoutMs) { return FX.WaitForWindow("^" + title + "$", timeoutMs); }
    void Key(const QString &title, const QStringList &keys) { FX.Key("^" + title + "$", keys); }
    QVariant Scalar(const QString &sql);

    QTemporaryDir FFolder;
    TXServer FX;
};

void TestCrashSafety::initTestCase()
{
    if (!TXServer::ToolsInstalled())
        QSKIP("Xvfb, xdotool and xprop are needed to drive the real program");
    // A program folder of our own: the executable, and a bank beside it.
    QVERIFY(MakeProgramFolder(FFolder.path(), QStringLiteral(EXAMORA_PROGRAM_FILE)));
    const QString failure = FX.Start();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
}

bool TestCrashSafety::StartUntilLogin(QProcess &program)
{
    return ::StartUntilLogin(FX, program, FFolder.path());
}

QVariant TestCrashSafety::Scalar(const QString &sql)
{
    return ProgramFolderScalar(FFolder.path(), sql);
}

void TestCrashSafety::AnswersSurviveAKillAndADeclinedPaperKeepsThem()
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
    const auto answered = [this] {
        return Scalar("select count(*) from T_KS_ExamineTheme where AnswerResult<>''").toInt();
    };
    for (int attempt = 0; attempt < 20 && answered() == 0; ++attempt) {
        Key("Examora", {"1"});
        WaitFor([&answered] { return answered() > 0; }, 1000);
    }
    Key("Examora", {"Return", "2", "Return", "1", "Return", "2", "Return", "1"});
    QVERIFY2(WaitFor([&answered] { return answered() == 5; }, 20000), "the typed answers did not reach the database");
    ::kill(pid_t(program.processId()), SIGKILL);
    QVERIFY(program.waitForFinished(10000));

    QCOMPARE(Scalar("PRAGMA integrity_check").toString(), QString("ok"));
    QCOMPARE(Scalar(QStringLiteral("select group_concat(AnswerResult, '') from (select AnswerResult from T_KS_ExamineTheme "
                                   "where ExamineID=%1 and AnswerResult<>'' order by ID)")
                        .arg(paper))
                 .toString(),
             QString("12121"));

    // The next run offers the paper left open; declined, the paper is given
    // up with its answers kept in its record, and a new one is stored.
    QProcess second;
    QVERIFY2(StartUntilLogin(second), "licence-class dialog did not appear on the second run");
    Key("系统登录", {"Return"});
    if (WaitForWindow("练习方式", 8000))
        Key("练习方式", {"Return"});
    QVERIFY2(WaitForWindow("提示", 20000), "the resume question did not appear");
    Key("提示", {"Escape"});
    QVERIFY(WaitFor([this] { return Scalar("select count(*) from T_KS_ExamRecord where Status='open'").toInt() == 1; },
                    60000));
    QCOMPARE(Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 100);
    QCOMPARE(Scalar("select count(*) from T_KS_ExamineTheme where AnswerResult<>''").toInt(), 0);
    QCOMPARE(Scalar(QStringLiteral("select group_concat(AnswerResult, '') from (select AnswerResult from T_KS_ExamRecordTheme "
                                   "where RecordID=(select RecordID from T_KS_ExamRecord where Status='abandoned' "
                                   "and ExamineID=%1) and AnswerResult<>'' order by ID)")
                        .arg(paper))
                 .toString(),
             QString("12121"));
    ::kill(pid_t(second.processId()), SIGKILL);
    second.waitForFinished(10000);
    QCOMPARE(Scalar("PRAGMA integrity_check").toString(), QString("ok"));
}

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_CrashSafety.moc"
