// Every program answers --help and --version on a machine without a display
// and refuses what it does not understand, while Qt's own options still pass.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct TRun
{
    int Status = -1;
    QString Out;
    QString Err;
};

// Runs the program with neither an X nor a Wayland display nor a chosen Qt
// platform, as from a text console.
TRun RunWithoutDisplay(const QString &program, const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    TRun run;
    run.Status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.Out = QString::fromUtf8(process.readAllStandardOutput());
    run.Err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

void AddProgramRows()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("name");
    QTest::newRow("exam program") << QStringLiteral(EXAMORA_PROGRAM_FILE) << QStringLiteral("examora");
    QTest::newRow("editor") << QStringLiteral(EXAMORA_EDITOR_FILE) << QStringLiteral("examora-editor");
    QTest::newRow("room view") << QStringLiteral(EXAMORA_HALL_FILE) << QStringLiteral("examora-hall");
    QTest::newRow("bank tool") << QStringLiteral(EXAMORA_BANK_TOOL_FILE) << QStringLiteral("examora-bank");
}

} // namespace

class TCommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void HelpGoesToStdout_data() { AddProgramRows(); }
    void HelpGoesToStdout()
    {
        QFETCH(QString, program);
        QFETCH(QString, name);
        for (const QString &option : {QStringLiteral("--help"), QStringLiteral("-h")}) {
            const TRun run = RunWithoutDisplay(program, {option});
            QCOMPARE(run.Status, 0);
            QVERIFY2(run.Out.startsWith(name + QLatin1Char(':')), qPrintable(run.Out));
            QVERIFY2(run.Out.contains(QLatin1String("--version")), qPrintable(run.Out));
            QCOMPARE(run.Err, QString());
        }
    }

    void VersionIsTheProjectVersion_data() { AddProgramRows(); }
    void VersionIsTheProjectVersion()
    {
        QFETCH(QString, program);
        QFETCH(QString, name);
        const QString expected = name + QStringLiteral(" " EXAMORA_PROJECT_VERSION "\n");
        for (const QString &option : {QStringLiteral("--version"), QStringLiteral("-v")}) {
            const TRun run = RunWithoutDisplay(program, {option});
            QCOMPARE(run.Status, 0);
            QCOMPARE(run.Out, expected);
            QCOMPARE(run.Err, QString());
        }
    }

    // Qt's options come before the program's: -platform is taken by Qt, the
    // unknown option is reported with the usage on stderr.
    void UnknownOptionFailsWithUsage_data() { AddProgramRows(); }
    void UnknownOptionFailsWithUsage()
    {
        QFETCH(QString, program);
        QFETCH(QString, name);
        // The stderr may begin with Qt's own warnings, such as on XDG_RUNTIME_DIR.
        const TRun run = RunWithoutDisplay(program,
                                           {QStringLiteral("-platform"), QStringLiteral("offscreen"),
                                            QStringLiteral("--no-such-option")});
        QCOMPARE(run.Status, 2);
        QCOMPARE(run.Out, QString());
        QVERIFY2(run.Err.contains(name + QStringLiteral(": ")) && run.Err.contains(QLatin1String("Usage"))
                     && run.Err.contains(QLatin1String("--help")),
                 qPrintable(run.Err));
    }

    // A program started with only Qt's options goes on to its windows: here,
    // in a folder without a bank, it stays up with its error box until ended.
    void QtOptionsAreNotRefused_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("exam program") << QStringLiteral(EXAMORA_PROGRAM_FILE);
        QTest::newRow("editor") << QStringLiteral(EXAMORA_EDITOR_FILE);
    }
    void QtOptionsAreNotRefused()
    {
        QFETCH(QString, program);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString copy = folder.filePath(QFileInfo(program).fileName());
        QVERIFY(QFile::copy(program, copy));
        QProcess process;
        // The program records its folder in the user's settings: keep those apart.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.path());
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(folder.path());
        process.start(copy,
                      {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("-style"),
                       QStringLiteral("Fusion")});
        QVERIFY(process.waitForStarted());
        const bool ended = process.waitForFinished(3000);
        if (!ended) {
            process.kill();
            process.waitForFinished();
        }
        const QByteArray errors = process.readAllStandardError();
        QVERIFY2(!errors.contains("unknown argument"), errors.constData());
        if (ended)
            QVERIFY2(process.exitCode() != 2, errors.constData());
    }
};

QTEST_GUILESS_MAIN(TCommandLineTest)
#include "tst_CommandLine.moc"
