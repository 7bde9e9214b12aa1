#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString KBankTool = QStringLiteral(EXAMORA_BANK_TOOL);
const QString KNorthwind = QStringLiteral(EXAMORA_TEST_MDB);

// Bytes changed in each damaged copy of the Access file.
constexpr int KFlips = 1000;

struct TRun
{
    bool Crashed = false;
    int Status = -1;
    QString Errors; // stderr
};

TRun RunTool(const QStringList &arguments)
{
    QProcess tool;
    tool.start(KBankTool, arguments);
    TRun run;
    if (!tool.waitForFinished(280000))
        return run;
    run.Crashed = tool.exitStatus() == QProcess::CrashExit;
    run.Status = tool.exitCode();
    run.Errors = QString::fromUtf8(tool.readAllStandardError());
    return run;
}

QStringList Entries(const QTemporaryDir &dir)
{
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

bool Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// The copy of the Access file that a seed damages, the same on every run.
QByteArray Damaged(const QByteArray &bytes, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray damaged = bytes;
    for (int i = 0; i < KFlips; ++i)
        damaged[random.bounded(int(damaged.size()))] ^= char(1 + random.bounded(255));
    return damaged;
}

int Questions(const QString &bank)
{
    int count = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("written"));
        db.setDatabaseName(bank);
        QSqlQuery query(db);
        if (db.open() && query.exec(QStringLiteral("SELECT COUNT(*) FROM T_KS_THEME")) && query.next())
            count = query.value(0).toInt();
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("written"));
    return count;
}

} // namespace

class TestBankTool : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ::umask(022); }

    void WritingCommandsRefuseTakenNames_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<bool>("dangling");
        const QStringList create{QStringLiteral("create")};
        const QStringList synthetic{QStringLiteral("create"), QStringLiteral("--synthetic"), QStringLiteral("200")};
        const QStringList import{QStringLiteral("import-mdb"), KNorthwind};
        QTest::newRow("create over a file") << create << false;
        QTest::newRow("create through a dangling link") << create << true;
        QTest::newRow("create --synthetic over a file") << synthetic << false;
        QTest::newRow("create --synthetic through a dangling link") << synthetic << true;
        QTest::newRow("import-mdb over a file") << import << false;
        QTest::newRow("import-mdb through a dangling link") << import << true;
    }

    void WritingCommandsRefuseTakenNames()
    {
        QFETCH(QStringList, command);
        QFETCH(bool, dangling);
        QTemporaryDir dir;
        const QString bank = dir.filePath(QStringLiteral("bank.sqlite"));
        const QString pointee = dir.filePath(QStringLiteral("pointee.sqlite"));
        QVERIFY(dangling ? QFile::link(pointee, bank) : Write(bank, "papers in progress"));
        const TRun run = RunTool(command << bank);
        QVERIFY(!run.Crashed);
        QCOMPARE(run.Status, 1);
        QVERIFY2(run.Errors.contains(
                     QStringLiteral("examora-bank: %1 %2; choose a new file name\n")
                         .arg(bank, dangling ? QStringLiteral("is a symbolic link") : QStringLiteral("exists already"))),
                 qPrintable(run.Errors));
        QCOMPARE(Entries(dir), QStringList({QStringLiteral("bank.sqlite")}));
        if (!dangling)
            QCOMPARE(Read(bank), QByteArray("papers in progress"));
    }

    void WritingCommandsLeaveOtherFilesAlone_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<int>("questions");
        QTest::newRow("create") << QStringList{QStringLiteral("create")} << -2;
        QTest::newRow("create --synthetic")
            << QStringList{QStringLiteral("create"), QStringLiteral("--synthetic"), QStringLiteral("200")} << 200;
        QTest::newRow("import-mdb") << QStringList{QStringLiteral("import-mdb"), KNorthwind} << -1;
    }

    void WritingCommandsLeaveOtherFilesAlone()
    {
        QFETCH(QStringList, command);
        QFETCH(int, questions);
        if (command.contains(KNorthwind) && !QFile::exists(KNorthwind))
            QSKIP(qPrintable(
                QStringLiteral("no Access file at %1 (set the CMake variable EXAMORA_TEST_MDB)").arg(KNorthwind)));
        QTemporaryDir dir;
        const QString bank = dir.filePath(QStringLiteral("bank.sqlite"));
        // The name a fixed temporary name would have had.
        QVERIFY(Write(bank + QStringLiteral(".partial"), "not ours"));
        const TRun run = RunTool(command << bank);
        QVERIFY(!run.Crashed);
        QCOMPARE(run.Status, 0);
        QCOMPARE(Entries(dir), QStringList({QStringLiteral("bank.sqlite"), QStringLiteral("bank.sqlite.partial")}));
        QCOMPARE(Read(bank + QStringLiteral(".partial")), QByteArray("not ours"));
        QCOMPARE(QFileInfo(bank).permissions() & (QFile::ReadOther | QFile::WriteOther), QFile::ReadOther);
        // -1: Northwind has no question table; -2: the sample bank, any number of questions.
        if (questions == -2)
            QVERIFY(Questions(bank) > 0);
        else
            QCOMPARE(Questions(bank), questions);
    }

    void ImportSurvivesDamagedAccessFiles_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<bool>("unreadable");
        // EXAMORA_MDB_FLIPS=N runs the seeds 1…N instead, to repeat the experiment at large.
        const int seeds = qEnvironmentVariableIntValue("EXAMORA_MDB_FLIPS");
        for (int seed = 1; seed <= seeds; ++seed)
            QTest::addRow("seed %d", seed) << quint32(seed) << false;
        if (seeds > 0)
            return;
        // Chosen for what they do to libmdb (in the child).
        QTest::newRow("imports regardless") << quint32(4) << false;
        QTest::newRow("damaged rows found") << quint32(1) << false;
        QTest::newRow("prints without end") << quint32(8) << true;
        QTest::newRow("crashes") << quint32(62) << true;
        QTest::newRow("allocates without end") << quint32(743) << true;
    }

    void ImportSurvivesDamagedAccessFiles()
    {
        QFETCH(quint32, seed);
        QFETCH(bool, unreadable);
#ifdef __SANITIZE_ADDRESS__
        // libmdb is not built with the sanitizer: its crashes on these files
        // are reported by the sanitizer's runtime only after minutes, and the
        // memory limit is off there. The plain build runs every seed.
        QSKIP("damaged Access files are read in the plain build only");
#endif
        if (!QFile::exists(KNorthwind))
            QSKIP(qPrintable(
                QStringLiteral("no Access file at %1 (set the CMake variable EXAMORA_TEST_MDB)").arg(KNorthwind)));
        QTemporaryDir dir;
        const QString mdb = dir.filePath(QStringLiteral("damaged.mdb"));
        const QString bank = dir.filePath(QStringLiteral("bank.sqlite"));
        QVERIFY(Write(mdb, Damaged(Read(KNorthwind), seed)));
        const TRun run = RunTool({QStringLiteral("import-mdb"), mdb, bank});
        QVERIFY(!run.Crashed);
        // The tool's message, which may run over several lines; Qt's warnings come before it.
        const QString outcome = run.Status == 0
            ? QStringLiteral("imported")
            : run.Errors.mid(run.Errors.lastIndexOf(QLatin1String("examora-bank: "))).trimmed();
        qInfo("seed %u: %s", seed, qPrintable(outcome.section(QLatin1Char('\n'), 0, 0)));
        if (run.Status == 0) {
            QCOMPARE(Entries(dir), QStringList({QStringLiteral("bank.sqlite"), QStringLiteral("damaged.mdb")}));
        } else {
            QCOMPARE(run.Status, 1);
            QVERIFY(outcome.startsWith(QLatin1String("examora-bank: ")));
            QCOMPARE(Entries(dir), QStringList({QStringLiteral("damaged.mdb")}));
        }
        if (unreadable)
            QVERIFY2(outcome.startsWith(QStringLiteral("examora-bank: 无法读取Access文件：")), qPrintable(outcome));
    }
};

QTEST_GUILESS_MAIN(TestBankTool)
#include "tst_BankTool.moc"
