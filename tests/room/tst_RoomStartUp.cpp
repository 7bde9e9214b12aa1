#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "TProgramFolder.h"
#include "TXServer.h"
#include "UApplication.h"

// The real program in a room's program folder, driven by keys on its own
// X server: the sign-in comes first, its Cancel ends the run, and the
// candidate who signed in is in the paper's record.
class TestRoomStartUp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void CancelEndsTheProgramBeforeAnythingIsChosen();
    void AWrongCheckDigitIsRefusedAndTheDialogStays();
    void TheCandidateSignedInIsInTheRecord();

private:
    bool StartUntilSignIn(QProcess &program);
    // The keys that type the text (digits, letters) into the focused field.
    static QStringList KeysOf(const QString &text);
    QVariant Scalar(const QString &sql) { return ProgramFolderScalar(FFolder->path(), sql); }

    std::unique_ptr<QTemporaryDir> FFolder;
    TXServer FX;
    bool FReady = false;
};

void TestRoomStartUp::initTestCase()
{
    if (!TXServer::ToolsInstalled())
        return;
    const QString failure = FX.Start();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    FReady = true;
}

void TestRoomStartUp::init()
{
    if (!FReady)
        QSKIP("Xvfb, xdotool and xprop are needed to drive the real program");
    FFolder = std::make_unique<QTemporaryDir>();
    QVERIFY(MakeProgramFolder(FFolder->path(), QStringLiteral(EXAMORA_PROGRAM_FILE)));
    QFile config(FFolder->filePath(QStringLiteral("ExamRoom.cfg")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write("[Server]\nConnInfo=service=examroom\n[Room]\nName=\xE7\xAC\xAC\xE4\xB8\x80\xE8\x80\x83\xE5\x9C\xBA\n");
}

bool TestRoomStartUp::StartUntilSignIn(QProcess &program)
{
    if (!FX.StartProgram(program, FFolder->filePath("examora"), FFolder->filePath("config")))
        return false;
    return WaitFor([&] { return program.state() == QProcess::NotRunning || FX.WaitForWindow("^考生登录", 0); }, 30000)
        && program.state() != QProcess::NotRunning;
}

QStringList TestRoomStartUp::KeysOf(const QString &text)
{
    QStringList keys;
    for (const QChar c : text)
        keys << (c == QLatin1Char(' ') ? QStringLiteral("space") : QString(c));
    return keys;
}

void TestRoomStartUp::CancelEndsTheProgramBeforeAnythingIsChosen()
{
    QProcess program;
    QVERIFY2(StartUntilSignIn(program), "the sign-in did not appear");
    QVERIFY(!FX.WaitForWindow("^系统登录", 0));
    FX.Key("^考生登录", {"Escape"});
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

void TestRoomStartUp::AWrongCheckDigitIsRefusedAndTheDialogStays()
{
    QProcess program;
    QVERIFY2(StartUntilSignIn(program), "the sign-in did not appear");
    FX.Key("^考生登录", KeysOf("320102198511200013") + QStringList{"Tab"} + KeysOf("Li Lei") + QStringList{"Return"});
    QVERIFY(FX.WaitForWindow("^错误", 20000));
    FX.Key("^错误", {"Return"});
    QVERIFY(WaitFor([&] { return !FX.WaitForWindow("^错误", 0); }, 10000));
    QVERIFY(FX.WaitForWindow("^考生登录", 0));
    QVERIFY(!FX.WaitForWindow("^系统登录", 0));
    program.kill();
    program.waitForFinished(10000);
}

void TestRoomStartUp::TheCandidateSignedInIsInTheRecord()
{
    QProcess program;
    QVERIFY2(StartUntilSignIn(program), "the sign-in did not appear");
    FX.Key("^考生登录", KeysOf("11010519491231002x") + QStringList{"Tab"} + KeysOf("Wang Fang") + QStringList{"Return"});
    QVERIFY(FX.WaitForWindow("^系统登录", 20000));
    FX.Key("^系统登录", {"Return"});
    QVERIFY(FX.WaitForWindow("^练习方式", 20000));
    FX.Key("^练习方式", {"Return"});
    QVERIFY(FX.WaitForWindow("^Examora$", 60000));
    const QString sql = QStringLiteral("SELECT CandidateIdNumber || '|' || CandidateName || '|' || RoomName "
                                       "FROM T_KS_ExamRecord WHERE Status='open'");
    QVERIFY(WaitFor([&] { return Scalar(sql).isValid(); }, 30000));
    QCOMPARE(Scalar(sql).toString(), QStringLiteral("11010519491231002X|Wang Fang|第一考场"));
    program.kill();
    program.waitForFinished(10000);
}

int main(int argc, char *argv[])
{
    TExamoraApplication app(argc, argv);
    TestRoomStartUp test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_RoomStartUp.moc"
