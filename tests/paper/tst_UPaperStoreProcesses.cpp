#include <algorithm>
#include <memory>
#include <vector>

#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTest>

#include "PaperTestSupport.h"
#include "TestSupport.h"
#include "UIniFile.h"
#include "UThemeCfg.h"

namespace {

// Starts a copy of the program in miniature (StorePaperProcess.cpp).
bool Started(QProcess &process, const QStringList &arguments)
{
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(QStringLiteral(STORE_PAPER_PROCESS), arguments);
    return process.waitForStarted(30000);
}

// Why a started copy did not end well within the given seconds, or empty.
// One that hangs is killed: the failure then names the hang instead of
// running into the test's own time limit.
QString FailureOfRun(QProcess &process, int seconds)
{
    if (!process.waitForFinished(seconds * 1000)) {
        process.kill();
        process.waitForFinished(5000);
        return QStringLiteral("did not finish within %1 s; it wrote: %2")
            .arg(seconds)
            .arg(QString::fromUtf8(process.readAllStandardError()));
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QStringLiteral("ended with code %1; it wrote: %2")
            .arg(process.exitCode())
            .arg(QString::fromUtf8(process.readAllStandardError()));
    return QString();
}

} // namespace

// Copies of the program storing papers into one bank at the same time: two
// in one folder, or twenty seats of a room (on the server in the
// "_postgres" run).
class TestUPaperStoreProcesses : public TPaperBankTest
{
    Q_OBJECT

private slots:
    void ProcessesStoringAtOnceGetDifferentNumbers_data();
    void ProcessesStoringAtOnceGetDifferentNumbers();
    void TwoProcessesDrawingForDifferentClassesStoreTheirOwnPapers();
};

void TestUPaperStoreProcesses::ProcessesStoringAtOnceGetDifferentNumbers_data()
{
    QTest::addColumn<int>("processCount");
    QTest::addColumn<int>("papers");
    QTest::newRow("two copies") << 2 << 12;
    QTest::newRow("twenty seats") << 20 << 3;
}

void TestUPaperStoreProcesses::ProcessesStoringAtOnceGetDifferentNumbers()
{
    QFETCH(int, processCount);
    QFETCH(int, papers);
    QList<int> ids;
    for (int id = 1; id <= 40; ++id) {
        FBank->AddTheme(id);
        ids << 41 - id;
    }
    WriteThemeCfgText(DrawnPaper(ids));
    const QString startFile = FBank->AppPath() + QStringLiteral("start");
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int k = 0; k < processCount; ++k) {
        processes.push_back(std::make_unique<QProcess>());
        QVERIFY2(Started(*processes.back(), {FBank->AppPath(), QStringLiteral("3"), QString::number(papers), startFile}),
                 qPrintable(processes.back()->errorString()));
    }
    QFile(startFile).open(QIODevice::WriteOnly);
    QList<int> numbers;
    for (const auto &process : processes) {
        const QString failure = FailureOfRun(*process, 120);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        const QList<QByteArray> lines = process->readAllStandardOutput().split('\n');
        for (const QByteArray &line : lines) {
            if (!line.isEmpty())
                numbers << line.toInt();
        }
    }
    QCOMPARE(numbers.size(), processCount * papers);
    std::sort(numbers.begin(), numbers.end());
    for (int k = 0; k < numbers.size(); ++k) {
        QCOMPARE(numbers[k], k + 1);
        const QList<QVariantList> rows = PaperRows(*FBank, QStringLiteral("T_KS_ExamineTheme"), numbers[k]);
        QCOMPARE(rows.size(), 40);
        for (int n = 1; n <= 40; ++n)
            QCOMPARE(rows[n - 1], (QVariantList{n, 41 - n, n}));
    }
}

// Two copies of the program in one folder, started together, draw mock
// exams for different licence classes round after round: each stores the
// paper of its own draw, whatever the other one leaves in Theme.Cfg.
void TestUPaperStoreProcesses::TwoProcessesDrawingForDifferentClassesStoreTheirOwnPapers()
{
    struct TClass
    {
        QString Code;
        int Chapter;
        int Minutes;
        int Questions;
    };
    const QList<TClass> classes{{QStringLiteral("001"), 1, 45, 100}, {QStringLiteral("002"), 2, 30, 50}};
    for (int id = 1; id <= 120; ++id)
        FBank->AddTheme(id, {{QStringLiteral("ThemeType"), 1}});
    for (int id = 201; id <= 260; ++id)
        FBank->AddTheme(id, {{QStringLiteral("ThemeType"), 1}, {QStringLiteral("ThemeChapter"), 2}});
    FBank->AddModel(1, QStringLiteral("001"), 0, 45);
    FBank->AddContent(1, 1, 1, 1, 120, 100, 1, 100);
    FBank->AddModel(2, QStringLiteral("002"), 0, 30);
    FBank->AddContent(2, 1, 2, 1, 60, 50, 2, 100);

    const QString startFile = FBank->AppPath() + QStringLiteral("start");
    constexpr int KRounds = 50;
    QProcess processes[2];
    for (int k = 0; k < 2; ++k)
        QVERIFY2(Started(processes[k],
                         {FBank->AppPath(), QStringLiteral("3"), QString::number(KRounds), startFile, classes[k].Code}),
                 qPrintable(processes[k].errorString()));
    QFile(startFile).open(QIODevice::WriteOnly);
    for (int k = 0; k < 2; ++k) {
        QProcess &process = processes[k];
        const TClass &own = classes[k];
        const QString failure = FailureOfRun(process, 240);
        QVERIFY2(failure.isEmpty(), qPrintable(own.Code + QStringLiteral(": ") + failure));
        const QList<QByteArray> lines = process.readAllStandardOutput().trimmed().split('\n');
        QCOMPARE(lines.size(), KRounds);
        for (const QByteArray &line : lines) {
            const QList<QByteArray> values = line.split(' ');
            QCOMPARE(values.size(), 3);
            const qint64 paper = values[0].toLongLong();
            QCOMPARE(values[1].toInt(), own.Minutes);
            QCOMPARE(values[2].toInt(), own.Questions);
            QSqlQuery rows(FBank->Db());
            QVERIFY(rows.exec(QStringLiteral("select count(*), count(distinct p.ThemeID), min(t.ThemeChapter), "
                                             "max(t.ThemeChapter), sum(p.ThemeBit) from T_KS_ExamineTheme p "
                                             "join T_KS_THEME t on t.ThemeID = p.ThemeID where p.ExamineID=%1")
                                  .arg(paper)));
            QVERIFY(rows.next());
            QCOMPARE(rows.value(0).toInt(), own.Questions);
            QCOMPARE(rows.value(1).toInt(), own.Questions);
            QCOMPARE(rows.value(2).toInt(), own.Chapter);
            QCOMPARE(rows.value(3).toInt(), own.Chapter);
            QCOMPARE(rows.value(4).toInt(), 100);
        }
    }
    QCOMPARE(FBank->Scalar(QStringLiteral("select count(distinct ExamineID) from T_KS_ExamineTheme")).toInt(),
             2 * KRounds);
    // Theme.Cfg records one whole draw, of one class or the other.
    const TIniFile last(ThemeCfgFileName());
    const int count = last.ReadString(QStringLiteral("System"), QStringLiteral("ThemeCount"), QString()).toInt();
    QVERIFY(count == 100 || count == 50);
    QCOMPARE(last.Sections().size(), count + 1);
}

QTEST_GUILESS_MAIN(TestUPaperStoreProcesses)
#include "tst_UPaperStoreProcesses.moc"
