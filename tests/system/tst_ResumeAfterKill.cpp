#include <csignal>

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "TProgramFolder.h"
#include "TXServer.h"

// The real program in a virtual X server, killed with SIGKILL in the middle
// of a mock exam, while it stores its paper and while it hands it in: the
// paper and its learning record are found as one consistent whole.
class TestResumeAfterKill : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void MockExamKilledAfterTenAnswersIsResumed();
    void KillWhileStoringOrHandingInLeavesPaperOrRecord();

private:
    bool StartUntilLogin(QProcess &program);
    // Through the two set-up dialogs, as a candidate pressing Enter.
    void ConfirmSetup();
    bool WaitForWindow(const QString &title, int timeoutMs) { return FX.WaitForWindow("^" + title + "$", timeoutMs); }
    void Key(const QString &title, const QStringList &keys) { FX.Key("^" + title + "$", keys); }
    void Kill(QProcess &program);
    // Answers the next message box: one other than the box answered before.
    bool AnswerBox(const QString &key);
    QString BoxId() const;
    QVariant Scalar(const QString &sql);
    int Answered() { return Scalar("select count(*) from T_KS_ExamineTheme where AnswerResult<>''").toInt(); }
    // Types answers one question after the other, from the question shown.
    bool TypeAnswers(const QStringList &answers);
    // Every paper is whole; an open record has its paper and no question
    // rows yet, a closed one a row per question and its paper gone. A paper
    // killed before its record was written stays unrecorded, as papers did.
    void VerifyPaperOrRecord();

    std::unique_ptr<QTemporaryDir> FFolder;
    TXServer FX;
    QString FLastBox;
};

void TestResumeAfterKill::initTestCase()
{
    if (!TXServer::ToolsInstalled())
        QSKIP("Xvfb, xdotool and xprop are needed to drive the real program");
    const QString failure = FX.Start();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
}

void TestResumeAfterKill::init()
{
    // A program folder of our own for each case: the executable, and a bank beside it.
    FFolder = std::make_unique<QTemporaryDir>();
    QVERIFY(MakeProgramFolder(FFolder->path(), QStringLiteral(EXAMORA_PROGRAM_FILE)));
    FLastBox.clear();
}

void TestResumeAfterKill::cleanup()
{
    FFolder.reset();
}

bool TestResumeAfterKill::StartUntilLogin(QProcess &program)
{
    return ::StartUntilLogin(FX, program, FFolder->path());
}

void TestResumeAfterKill::ConfirmSetup()
{
    Key("系统登录", {"Return"});
    // The practice-mode dialog opens on the mock exam; Enter confirms it.
    if (WaitForWindow("练习方式", 8000))
        Key("练习方式", {"Return"});
}

void TestResumeAfterKill::Kill(QProcess &program)
{
    ::kill(pid_t(program.processId()), SIGKILL);
    QVERIFY(program.waitForFinished(10000));
}

QString TestResumeAfterKill::BoxId() const
{
    return FX.FirstWindow("^提示$");
}

bool TestResumeAfterKill::AnswerBox(const QString &key)
{
    QString box;
    if (!WaitFor(
            [&] {
                box = BoxId();
                return !box.isEmpty() && box != FLastBox;
            },
            20000))
        return false;
    FLastBox = box;
    Key("提示", {key});
    return true;
}

QVariant TestResumeAfterKill::Scalar(const QString &sql)
{
    return ProgramFolderScalar(FFolder->path(), sql);
}

bool TestResumeAfterKill::TypeAnswers(const QStringList &answers)
{
    // The answer bar opens once the question is shown: type the first
    // answer until it arrives, then the others, each after Enter to the next.
    const int before = Answered();
    for (int attempt = 0; attempt < 20 && Answered() == before; ++attempt) {
        Key("Examora", {answers.first()});
        WaitFor([&] { return Answered() > before; }, 1000);
    }
    for (const QString &answer : answers.mid(1))
        Key("Examora", {"Return", answer});
    return WaitFor([&] { return Answered() == before + int(answers.size()); }, 20000);
}

void TestResumeAfterKill::VerifyPaperOrRecord()
{
    QCOMPARE(Scalar("PRAGMA integrity_check").toString(), QString("ok"));
    QCOMPARE(Scalar("select count(*) from (select ExamineID from T_KS_ExamineTheme group by ExamineID "
                    "having count(*)<>100)")
                 .toInt(),
             0);
    QCOMPARE(Scalar("select count(*) from T_KS_ExamRecord r where Status='open' and (not exists "
                    "(select 1 from T_KS_ExamineTheme p where p.ExamineID=r.ExamineID) or exists "
                    "(select 1 from T_KS_ExamRecordTheme t where t.RecordID=r.RecordID))")
                 .toInt(),
             0);
    QCOMPARE(Scalar("select count(*) from T_KS_ExamRecord r where Status<>'open' and ((select count(*) from "
                    "T_KS_ExamRecordTheme t where t.RecordID=r.RecordID)<>100 or exists "
                    "(select 1 from T_KS_ExamineTheme p where p.ExamineID=r.ExamineID))")
                 .toInt(),
             0);
}

void TestResumeAfterKill::MockExamKilledAfterTenAnswersIsResumed()
{
    QProcess program;
    QVERIFY2(StartUntilLogin(program), "licence-class dialog did not appear");
    ConfirmSetup();
    QVERIFY2(WaitFor([this] { return Scalar("select count(*) from T_KS_ExamineTheme").toInt() == 100; }, 60000),
             "the mock-exam paper was not stored");
    QVERIFY(WaitForWindow("Examora", 10000));
    const int paper = Scalar("select max(ExamineID) from T_KS_ExamineTheme").toInt();
    QVERIFY(TypeAnswers({"1", "2", "1", "2", "1", "2", "1", "2", "1", "2"}));
    // Ten seconds of the clock reach the record before the kill: more than
    // the second run takes, so that a clock started afresh would show.
    QVERIFY(WaitFor(
        [this] {
            return Scalar("select SecondsLeft from T_KS_ExamRecord").toInt() <= 45 * 60 - 10
                && Scalar("select AnsweredCount from T_KS_ExamRecord").toInt() == 10;
        },
        30000));
    Kill(program);
    const int secondsAtKill = Scalar("select SecondsLeft from T_KS_ExamRecord").toInt();
    QCOMPARE(Scalar("select Status from T_KS_ExamRecord").toString(), QString("open"));
    QCOMPARE(Scalar("PRAGMA integrity_check").toString(), QString("ok"));

    QProcess second;
    QVERIFY2(StartUntilLogin(second), "licence-class dialog did not appear on the second run");
    ConfirmSetup();
    QVERIFY2(AnswerBox("Return"), "the resume question did not appear");
    QVERIFY(WaitForWindow("Examora", 10000));
    // The same paper goes on, at its first open question: the 11th.
    QVERIFY(TypeAnswers({"1"}));
    QCOMPARE(Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 100);
    QCOMPARE(Scalar("select max(ExamineID) from T_KS_ExamineTheme").toInt(), paper);
    QCOMPARE(Scalar(QStringLiteral("select group_concat(AnswerResult, '') from (select AnswerResult from T_KS_ExamineTheme "
                                   "where ExamineID=%1 and ID<=11 order by ID)")
                        .arg(paper))
                 .toString(),
             QString("12121212121"));

    // Handed in; the summary's offer of the result sheet is declined.
    Key("Examora", {"Insert"});
    QVERIFY(AnswerBox("Return"));
    QVERIFY(AnswerBox("Escape"));
    QVERIFY(WaitFor([this] { return Scalar("select Status from T_KS_ExamRecord").toString() == "handed-in"; }, 20000));
    Kill(second);

    QCOMPARE(Scalar("select count(*) from T_KS_ExamRecord").toInt(), 1);
    QCOMPARE(Scalar("select ExamineID from T_KS_ExamRecord").toInt(), paper);
    QCOMPARE(Scalar("select QuestionCount from T_KS_ExamRecord").toInt(), 100);
    QCOMPARE(Scalar("select AnsweredCount from T_KS_ExamRecord").toInt(), 11);
    QVERIFY(!Scalar("select HandedInAt from T_KS_ExamRecord").isNull());
    QVERIFY(Scalar("select Score from T_KS_ExamRecord").toInt() >= 0);
    QCOMPARE(Scalar("select Passed from T_KS_ExamRecord").toInt(), 0);
    QVERIFY2(Scalar("select SecondsLeft from T_KS_ExamRecord").toInt() <= secondsAtKill,
             "the resumed paper did not go on with the time that was left");
    QCOMPARE(Scalar("select count(*) from T_KS_ExamRecordTheme").toInt(), 100);
    QCOMPARE(Scalar("select group_concat(AnswerResult, '') from (select AnswerResult from T_KS_ExamRecordTheme "
                    "where AnswerResult<>'' order by ID)")
                 .toString(),
             QString("12121212121"));
    QCOMPARE(Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 0);
    VerifyPaperOrRecord();
}

void TestResumeAfterKill::KillWhileStoringOrHandingInLeavesPaperOrRecord()
{
    // Killed as soon as the paper is being saved.
    QProcess storing;
    QVERIFY2(StartUntilLogin(storing), "licence-class dialog did not appear");
    ConfirmSetup();
    WaitFor([this] { return WaitForWindow("正在保存数据……", 0) || WaitForWindow("Examora", 0); }, 30000);
    Kill(storing);
    VerifyPaperOrRecord();

    // Killed right after the hand-in is confirmed.
    QProcess handingIn;
    QVERIFY2(StartUntilLogin(handingIn), "licence-class dialog did not appear on the second run");
    ConfirmSetup();
    // A record the kill left open is given up for a new paper.
    if (WaitForWindow("提示", 8000))
        AnswerBox("Escape");
    QVERIFY2(WaitFor([this] { return Scalar("select count(*) from T_KS_ExamRecord where Status='open'").toInt() == 1; },
                     60000),
             "the paper was not stored with its record");
    QVERIFY(WaitForWindow("Examora", 10000));
    QVERIFY(TypeAnswers({"1", "2"}));
    // Killed the moment the summary is answered, as the paper goes into its record.
    Key("Examora", {"Insert"});
    QVERIFY(AnswerBox("Return"));
    QVERIFY(AnswerBox("Escape"));
    Kill(handingIn);
    VerifyPaperOrRecord();
    // The last paper is either still there, answers and all, or handed in with them.
    const QString last = "(select max(RecordID) from T_KS_ExamRecord)";
    const bool open = Scalar("select Status from T_KS_ExamRecord where RecordID=" + last).toString() == "open";
    const QString answers = open
        ? Scalar("select group_concat(AnswerResult, '') from (select AnswerResult from T_KS_ExamineTheme where "
                 "ExamineID=(select ExamineID from T_KS_ExamRecord where RecordID="
                 + last
                 + ") and AnswerResult<>'' "
                   "order by ID)")
              .toString()
        : Scalar("select group_concat(AnswerResult, '') from (select AnswerResult from T_KS_ExamRecordTheme where "
                 "RecordID="
                 + last + " and AnswerResult<>'' order by ID)")
              .toString();
    QCOMPARE(answers, QString("12"));
}

QTEST_GUILESS_MAIN(TestResumeAfterKill)
#include "tst_ResumeAfterKill.moc"
