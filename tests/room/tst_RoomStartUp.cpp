#include <memory>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include "TProgramFolder.h"
#include "TXServer.h"
#include "UApplication.h"
#include "UPostgresServer.h"

namespace {

// One seat of the room: a program folder whose ExamRoom.cfg names the
// test's server, and the program started in it.
struct TSeat
{
    QTemporaryDir Folder;
    QProcess Program;
    QString LastBox;
    qint64 Pid() const { return Program.processId(); }
};

} // namespace

// The real programs of a room, driven by keys on their own X server against
// a PostgreSQL server of the test's own: the sign-in comes first, its
// Cancel ends the run, two seats sit their papers on the server at once,
// and the teacher's room view lists both.
class TestRoomStartUp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void CancelEndsTheProgramBeforeAnythingIsChosen();
    void AWrongCheckDigitIsRefusedAndTheDialogStays();
    void TwoSeatsSitTheirPapersOnTheServerAndTheRoomViewListsThem();

private:
    bool MakeSeat(TSeat &seat);
    bool StartUntilSignIn(TSeat &seat);
    // Signs in and takes the licence-class and mode dialogs as they open,
    // until the exam screen shows its paper.
    bool SignInToTheExam(TSeat &seat, const QString &idNumber, const QString &name);
    bool TypeAnswers(TSeat &seat, const QString &idNumber, const QStringList &answers);
    bool HandIn(TSeat &seat, const QString &idNumber);
    // Waits for the seat's next message box and answers it with the key.
    bool AnswerBox(TSeat &seat, const QString &key);
    // The answered count the server's record of the candidate's open paper holds.
    int Answered(const QString &idNumber);
    // The keys that type the text into the focused field.
    static QStringList KeysOf(const QString &text);
    QVariant Scalar(const QString &sql);

    TXServer FX;
    QString FConnInfo;
    QTemporaryDir FBankFolder;
};

void TestRoomStartUp::initTestCase()
{
    if (!TXServer::ToolsInstalled())
        QSKIP("Xvfb, xdotool and xprop are needed to drive the real program");
    if (const QString why = TPostgresServer::Unavailable(); !why.isEmpty())
        QSKIP(qPrintable(why));
    const QString failure = FX.Start();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    TPostgresServer &server = TPostgresServer::Shared();
    QVERIFY2(server.Running(), qPrintable(server.Error()));
    FConnInfo = server.CreateDatabase(QStringLiteral("room"));
    QVERIFY2(!FConnInfo.isEmpty(), qPrintable(server.Error()));

    // The room's bank goes onto the server as a school puts it there.
    QVERIFY(MakeProgramFolder(FBankFolder.path(), QStringLiteral(EXAMORA_PROGRAM_FILE)));
    const QString bank = FBankFolder.filePath(QStringLiteral("Data/Jsy_Data.mdb"));
    for (const QStringList &arguments : {QStringList{"server-init", FConnInfo}, QStringList{"push", bank, FConnInfo}}) {
        QProcess tool;
        tool.start(QStringLiteral(EXAMORA_BANK_TOOL), arguments);
        QVERIFY(tool.waitForFinished(240000));
        QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("room-check"));
    db.setConnectOptions(FConnInfo);
    QVERIFY2(db.open(), qPrintable(db.lastError().text()));
}

bool TestRoomStartUp::MakeSeat(TSeat &seat)
{
    if (!MakeProgramFolder(seat.Folder.path(), QStringLiteral(EXAMORA_PROGRAM_FILE)))
        return false;
    QFile config(seat.Folder.filePath(QStringLiteral("ExamRoom.cfg")));
    if (!config.open(QIODevice::WriteOnly))
        return false;
    config.write("[Server]\nConnInfo=" + FConnInfo.toUtf8() + "\n[Room]\nName=第一考场\n");
    return true;
}

bool TestRoomStartUp::StartUntilSignIn(TSeat &seat)
{
    if (!MakeSeat(seat))
        return false;
    const QDir folder(seat.Folder.path());
    if (!FX.StartProgram(seat.Program, folder.filePath("examora"), folder.filePath("config")))
        return false;
    return WaitFor(
               [&] {
                   return seat.Program.state() == QProcess::NotRunning || FX.WaitForWindow("^考生登录", 0, seat.Pid());
               },
               30000)
        && seat.Program.state() != QProcess::NotRunning;
}

bool TestRoomStartUp::SignInToTheExam(TSeat &seat, const QString &idNumber, const QString &name)
{
    if (!StartUntilSignIn(seat))
        return false;
    FX.Key("^考生登录", KeysOf(idNumber) + QStringList{"Tab"} + KeysOf(name) + QStringList{"Return"}, seat.Pid());
    if (!FX.WaitForWindow("^系统登录$", 20000, seat.Pid()))
        return false;
    FX.Key("^系统登录$", {"Return"}, seat.Pid());
    if (!FX.WaitForWindow("^练习方式$", 20000, seat.Pid()))
        return false;
    FX.Key("^练习方式$", {"Return"}, seat.Pid());
    const QString stored = QStringLiteral("select count(*) from T_KS_ExamRecord where Status='open' "
                                          "and CandidateIdNumber='%1'")
                               .arg(idNumber.toUpper());
    return WaitFor([&] { return Scalar(stored).toInt() == 1; }, 60000)
        && FX.WaitForWindow("^Examora$", 20000, seat.Pid());
}

int TestRoomStartUp::Answered(const QString &idNumber)
{
    return Scalar(QStringLiteral("select AnsweredCount from T_KS_ExamRecord where Status='open' "
                                 "and CandidateIdNumber='%1'")
                      .arg(idNumber.toUpper()))
        .toInt();
}

bool TestRoomStartUp::TypeAnswers(TSeat &seat, const QString &idNumber, const QStringList &answers)
{
    // The answer bar opens once the question is shown: the first answer is
    // typed until it arrives, then each of the others after Enter.
    const int before = Answered(idNumber);
    for (int attempt = 0; attempt < 20 && Answered(idNumber) == before; ++attempt) {
        FX.Key("^Examora$", {answers.first()}, seat.Pid());
        WaitFor([&] { return Answered(idNumber) > before; }, 1000);
    }
    for (const QString &answer : answers.mid(1))
        FX.Key("^Examora$", {"Return", answer}, seat.Pid());
    return WaitFor([&] { return Answered(idNumber) == before + int(answers.size()); }, 20000);
}

bool TestRoomStartUp::HandIn(TSeat &seat, const QString &idNumber)
{
    // The hand-in question is confirmed, the summary's offer of the result
    // sheet declined.
    FX.Key("^Examora$", {"Insert"}, seat.Pid());
    if (!AnswerBox(seat, "Return") || !AnswerBox(seat, "Escape"))
        return false;
    const QString handedIn = QStringLiteral("select count(*) from T_KS_ExamRecord where Status='handed-in' "
                                            "and CandidateIdNumber='%1'")
                                 .arg(idNumber.toUpper());
    return WaitFor([&] { return Scalar(handedIn).toInt() == 1; }, 30000);
}

bool TestRoomStartUp::AnswerBox(TSeat &seat, const QString &key)
{
    QString box;
    const auto newBox = [&] {
        box = FX.FirstWindow("^提示$", seat.Pid());
        return !box.isEmpty() && box != seat.LastBox;
    };
    if (!WaitFor(newBox, 20000))
        return false;
    seat.LastBox = box;
    FX.Key("^提示$", {key}, seat.Pid());
    return true;
}

QStringList TestRoomStartUp::KeysOf(const QString &text)
{
    static const QHash<QChar, QString> named{{QLatin1Char(' '), "space"},
                                             {QLatin1Char('/'), "slash"},
                                             {QLatin1Char('.'), "period"},
                                             {QLatin1Char('-'), "minus"},
                                             {QLatin1Char('_'), "underscore"}};
    QStringList keys;
    for (const QChar c : text)
        keys << named.value(c, QString(c));
    return keys;
}

QVariant TestRoomStartUp::Scalar(const QString &sql)
{
    QSqlQuery query(QSqlDatabase::database(QStringLiteral("room-check")));
    if (!query.exec(sql) || !query.next())
        return QVariant();
    return query.value(0);
}

void TestRoomStartUp::CancelEndsTheProgramBeforeAnythingIsChosen()
{
    TSeat seat;
    QVERIFY2(StartUntilSignIn(seat), "the sign-in did not appear");
    QVERIFY(!FX.WaitForWindow("^系统登录", 0));
    FX.Key("^考生登录", {"Escape"});
    QVERIFY(seat.Program.waitForFinished(20000));
    QCOMPARE(seat.Program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(seat.Program.exitCode(), 0);
}

void TestRoomStartUp::AWrongCheckDigitIsRefusedAndTheDialogStays()
{
    TSeat seat;
    QVERIFY2(StartUntilSignIn(seat), "the sign-in did not appear");
    FX.Key("^考生登录", KeysOf("320102198511200013") + QStringList{"Tab"} + KeysOf("Li Lei") + QStringList{"Return"});
    QVERIFY(FX.WaitForWindow("^错误", 20000));
    FX.Key("^错误", {"Return"});
    QVERIFY(WaitFor([&] { return !FX.WaitForWindow("^错误", 0); }, 10000));
    QVERIFY(FX.WaitForWindow("^考生登录", 0));
    QVERIFY(!FX.WaitForWindow("^系统登录", 0));
    seat.Program.kill();
    seat.Program.waitForFinished(10000);
}

void TestRoomStartUp::TwoSeatsSitTheirPapersOnTheServerAndTheRoomViewListsThem()
{
    const QString wang = QStringLiteral("11010519491231002x");
    const QString zhao = QStringLiteral("440304199003074414");
    TSeat first;
    TSeat second;
    QVERIFY2(SignInToTheExam(first, wang, "Wang Fang"), "the first seat did not reach its paper");
    QVERIFY2(SignInToTheExam(second, zhao, "Zhao Lei"), "the second seat did not reach its paper");
    // Both papers stand on the server at once, apart.
    QCOMPARE(Scalar("select count(distinct ExamineID) from T_KS_ExamRecord where Status='open'").toInt(), 2);
    QCOMPARE(Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 200);

    QVERIFY(TypeAnswers(first, wang, {"1", "2", "1"}));
    QVERIFY(TypeAnswers(second, zhao, {"2", "2"}));
    QVERIFY2(HandIn(first, wang), "the first seat's paper was not handed in");
    QVERIFY2(HandIn(second, zhao), "the second seat's paper was not handed in");
    QCOMPARE(Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 0);
    QCOMPARE(Scalar("select count(*) from T_KS_ExamRecordTheme").toInt(), 200);
    QCOMPARE(Scalar("select string_agg(CandidateIdNumber || '|' || CandidateName || '|' || RoomName || '|' || "
                    "AnsweredCount, ',' order by CandidateIdNumber) from T_KS_ExamRecord")
                 .toString(),
             QStringLiteral("11010519491231002X|Wang Fang|第一考场|3,440304199003074414|Zhao Lei|第一考场|2"));
    for (TSeat *seat : {&first, &second}) {
        seat->Program.kill();
        seat->Program.waitForFinished(10000);
    }

    // The teacher's view beside the first seat reads the server and exports
    // what it lists.
    QVERIFY(QFile::copy(QStringLiteral(EXAMORA_HALL_FILE), first.Folder.filePath("examora-hall")));
    QProcess hall;
    const QDir folder(first.Folder.path());
    QVERIFY(FX.StartProgram(hall, folder.filePath("examora-hall"), folder.filePath("config")));
    QVERIFY2(FX.WaitForWindow("^考场监控 - 第一考场$", 30000), "the room view did not open");
    FX.Key("^考场监控", {"alt+e"});
    QVERIFY2(FX.WaitForWindow("^导出考场名单$", 20000), "the export dialog did not open");
    const QString csv = folder.filePath("room.csv");
    FX.Key("^导出考场名单$", QStringList{"ctrl+a"} + KeysOf(csv) + QStringList{"Return"});
    QVERIFY2(WaitFor([&] { return QFile::exists(csv); }, 20000), "the list was not exported");
    QVERIFY(FX.WaitForWindow("^提示$", 20000));
    FX.Key("^提示$", {"Return"});
    QFile exported(csv);
    QVERIFY(exported.open(QIODevice::ReadOnly));
    const QString listed = QString::fromUtf8(exported.readAll());
    QVERIFY2(listed.contains("11010519491231002X") && listed.contains("Wang Fang"), qPrintable(listed));
    QVERIFY2(listed.contains("440304199003074414") && listed.contains("Zhao Lei"), qPrintable(listed));
    hall.kill();
    hall.waitForFinished(10000);
}

int main(int argc, char *argv[])
{
    TExamoraApplication app(argc, argv);
    TestRoomStartUp test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_RoomStartUp.moc"
