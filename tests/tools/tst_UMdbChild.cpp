#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include "UDbError.h"
#include "UMdbChild.h"

namespace {

const QString KNorthwind = QStringLiteral(EXAMORA_TEST_MDB);
const QString KBankTool = QStringLiteral(EXAMORA_BANK_TOOL);

// Rows a table holds in one file and not in the other, both ways.
int RowsDiffering(const QSqlDatabase &db, const QString &table)
{
    QSqlQuery query(db);
    const QString sql = QStringLiteral(
        "SELECT COUNT(*) FROM (SELECT * FROM main.\"%1\" EXCEPT SELECT * FROM other.\"%1\") "
        "UNION ALL SELECT COUNT(*) FROM (SELECT * FROM other.\"%1\" EXCEPT SELECT * FROM main.\"%1\")");
    if (!query.exec(sql.arg(table)))
        return -1;
    int rows = 0;
    while (query.next())
        rows += query.value(0).toInt();
    return rows;
}

} // namespace

class TestUMdbChild : public QObject
{
    Q_OBJECT

private:
    // A stand-in for the bank tool's child: a shell script, given the same
    // arguments ("--import-mdb-child" IN TEMPORARY).
    static QString Script(const QTemporaryDir &dir, const QByteArray &body)
    {
        const QString path = dir.filePath(QStringLiteral("child.sh"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write("#!/bin/sh\n" + body + '\n') < 0)
            return {};
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

private slots:
    void ImportsAsInProcess()
    {
        if (!QFile::exists(KNorthwind))
            QSKIP(qPrintable(
                QStringLiteral("no Access file at %1 (set the CMake variable EXAMORA_TEST_MDB)").arg(KNorthwind)));
        QTemporaryDir dir;
        const QString viaChild = dir.filePath(QStringLiteral("child.sqlite"));
        const QString inProcess = dir.filePath(QStringLiteral("here.sqlite"));
        qint64 lastDone = 0, lastTotal = -1;
        const TMdbImportReport child = ImportMdbInChild(KBankTool, KNorthwind, viaChild, [&](qint64 done, qint64 total) {
            QVERIFY(done > lastDone);
            lastDone = done;
            lastTotal = total;
        });
        const TMdbImportReport here = ImportMdb(KNorthwind, inProcess);
        QCOMPARE(lastDone, lastTotal);
        QCOMPARE(child.Tables, here.Tables);
        QCOMPARE(child.Notes, here.Notes);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({QStringLiteral("child.sqlite"), QStringLiteral("here.sqlite")}));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("child"));
            db.setDatabaseName(viaChild);
            QVERIFY(db.open());
            QSqlQuery attach(db);
            QVERIFY(attach.exec(QStringLiteral("ATTACH '%1' AS other").arg(inProcess)));
            QSqlQuery schemas(db);
            QVERIFY(schemas.exec(QStringLiteral("SELECT COUNT(*) FROM (SELECT name, sql FROM main.sqlite_master "
                                                "EXCEPT SELECT name, sql FROM other.sqlite_master)")));
            QVERIFY(schemas.next());
            QCOMPARE(schemas.value(0).toInt(), 0);
            for (const auto &[table, rows] : here.Tables)
                QVERIFY2(RowsDiffering(db, table) == 0, qPrintable(table));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("child"));
    }

    void TakesTheReportFromTheChild()
    {
        QTemporaryDir dir;
        const QString program = Script(dir,
                                       "cat <<'END'\n"
                                       "progress 1 2\nprogress 2 2\ntable 5 Order%20Details\n"
                                       "note T_KS_THEME.ThemeSpareE%20holds%20NULLs\ndone\n"
                                       "END\n"
                                       "printf bank > \"$3\"");
        QTemporaryDir target;
        const QString bank = target.filePath(QStringLiteral("bank.sqlite"));
        QList<QPair<qint64, qint64>> progress;
        const TMdbImportReport report = ImportMdbInChild(program, KNorthwind, bank, [&](qint64 done, qint64 total) {
            progress.append({done, total});
        });
        QCOMPARE(progress, (QList<QPair<qint64, qint64>>{{1, 2}, {2, 2}}));
        QCOMPARE(report.Tables, (QList<QPair<QString, qint64>>{{QStringLiteral("Order Details"), 5}}));
        QCOMPARE(report.Notes, QStringList({QStringLiteral("T_KS_THEME.ThemeSpareE holds NULLs")}));
        QFile written(bank);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QByteArray("bank"));
    }

    void SaysWhatEndedTheChild_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("message");
        QTest::newRow("crash") << QByteArray("kill -SEGV $$") << 60
                               << QStringLiteral("无法读取Access文件：读取进程崩溃（SIGSEGV）");
        QTest::newRow("crash after a warning")
            << QByteArray("echo 'Warning: bad page' >&2; printf bank > \"$3\"; kill -BUS $$") << 60
            << QStringLiteral("无法读取Access文件：读取进程崩溃（SIGBUS），最后的输出：Warning: bad page");
        QTest::newRow("hang") << QByteArray("exec sleep 60") << 1
                              << QStringLiteral("无法读取Access文件：超过1秒仍未读完，已终止");
        QTest::newRow("endless warnings")
            << QByteArray("exec yes Warning >&2") << 60 << QStringLiteral("无法读取Access文件：输出超过1 MB，已终止");
        QTest::newRow("endless output") << QByteArray("exec yes progress") << 60
                                        << QStringLiteral("无法读取Access文件：输出超过1 MB，已终止");
        QTest::newRow("out of memory") << QByteArray("echo memory; exit 1") << 60
                                       << QStringLiteral("无法读取Access文件：所需内存超过256 MB，已终止");
        QTest::newRow("quiet failure") << QByteArray("exit 3") << 60
                                       << QStringLiteral("无法读取Access文件：读取进程意外退出（状态3）");
        QTest::newRow("end without a word") << QByteArray("printf 'table 1 T\\n'") << 60
                                            << QStringLiteral("无法读取Access文件：读取进程意外退出（状态0）");
        QTest::newRow("its own error") << QByteArray(
            "echo 'error x.mdb%20is%20not%20an%20Access%20%28Jet%29%20file'; exit 1")
                                       << 60 << QStringLiteral("x.mdb is not an Access (Jet) file");
        // The limits reach the child (ulimit counts kilobytes).
        QTest::newRow("limits") << QByteArray("echo $(ulimit -v) $(ulimit -c) >&2; exit 1") << 60
                                << QStringLiteral("无法读取Access文件：读取进程意外退出（状态1），最后的输出：%1 0")
                                       .arg(KChildMemoryLimited ? QStringLiteral("262144") : QStringLiteral("unlimited"));
    }

    void SaysWhatEndedTheChild()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, seconds);
        QFETCH(QString, message);
        QTemporaryDir dir, target;
        const QString bank = target.filePath(QStringLiteral("bank.sqlite"));
        TMdbChildLimits limits;
        limits.Seconds = seconds;
        limits.MemoryBytes = qint64(256) << 20;
        limits.OutputBytes = qint64(1) << 20;
        try {
            ImportMdbInChild(Script(dir, body), KNorthwind, bank, {}, limits);
            QFAIL("the import succeeded");
        } catch (const EDatabaseError &error) {
            QCOMPARE(error.Message(), message);
        }
        // Nothing is left, not even what the child wrote.
        QCOMPARE(QDir(target.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 QStringList());
    }
};

QTEST_GUILESS_MAIN(TestUMdbChild)
#include "tst_UMdbChild.moc"
