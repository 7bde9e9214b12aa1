#include <cstdio>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSqlDatabase>
#include <QStringList>

#include "UBankCheck.h"
#include "UBankFile.h"
#include "UCommandLine.h"
#include "UConnection.h"
#include "UDbError.h"
#include "UMdbChild.h"
#include "UMdbImport.h"
#include "UNewFile.h"
#include "URecordCsv.h"
#include "URoomServer.h"
#include "USampleBank.h"
#include "UTerminalProgress.h"

namespace {

const char *const KUsage = "examora-bank: writes and checks Examora question banks (SQLite files) and\n"
                           "sets up an exam room's server.\n"
                           "\n"
                           "Usage:\n"
                           "  examora-bank create FILE                 a new bank with the sample questions\n"
                           "  examora-bank create --synthetic N FILE   a new bank of N generated questions\n"
                           "                                           (20 % with a picture of about 30 KB)\n"
                           "  examora-bank import-mdb IN.mdb OUT       a new bank (SQLite) from an Access (Jet 3/4)\n"
                           "                                           file: every table; the bank tables with keys\n"
                           "  examora-bank check FILE|CONNINFO         lists, in Chinese, what would make an exam\n"
                           "                                           fail or go wrong; status 1 when anything is\n"
                           "                                           found, 2 when the bank cannot be read\n"
                           "\n"
                           "An exam room's PostgreSQL server, named by a libpq connection string\n"
                           "(CONNINFO: \"service=examroom\" or \"host=... dbname=... user=...\"; the\n"
                           "password comes from ~/.pgpass or the service file, never the command line):\n"
                           "  examora-bank server-init CONNINFO        creates the bank's, papers' and records' tables\n"
                           "  examora-bank push BANK CONNINFO [--replace]\n"
                           "                                           copies the bank file (questions with pictures,\n"
                           "                                           chapters, templates, explanations) in one\n"
                           "                                           transaction; a server that holds questions is\n"
                           "                                           refused unless --replace is given\n"
                           "  examora-bank results CONNINFO [--since YYYY-MM-DD]\n"
                           "                                           prints the exam records as CSV\n"
                           "  examora-bank --help                      this text\n"
                           "  examora-bank --version                   the program's name and version\n";

int Usage(int code)
{
    std::fputs(KUsage, code == 0 ? stdout : stderr);
    return code;
}

int Create(const QStringList &args)
{
    int synthetic = -1;
    QString file;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--synthetic") && i + 1 < args.size()) {
            bool ok = false;
            synthetic = args[++i].toInt(&ok);
            if (!ok || synthetic < 200) {
                std::fprintf(stderr, "examora-bank: --synthetic needs a number of at least 200\n");
                return 2;
            }
        } else if (file.isEmpty()) {
            file = args[i];
        } else {
            return Usage(2);
        }
    }
    if (file.isEmpty())
        return Usage(2);
    TNewFile target(file);
    {
        QSqlDatabase db = OpenNewBankFile(target.TemporaryName(), QStringLiteral("bank"));
        if (synthetic > 0)
            WriteSyntheticBank(db, synthetic, 0.2, 30 * 1024);
        else
            WriteSampleBank(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bank"));
    target.Commit();
    std::printf("examora-bank: wrote %s\n", qPrintable(file));
    return 0;
}

int ImportMdbCommand(const QStringList &args)
{
    if (args.size() != 2)
        return Usage(2);
    TTerminalProgress bar(stderr);
    TMdbImportReport report;
    try {
        report = ImportMdbInChild(QCoreApplication::applicationFilePath(), args[0], args[1],
                                  [&bar](qint64 done, qint64 total) { bar.Update(done, total); });
    } catch (const EDatabaseError &) {
        bar.Finish(); // the message goes on a line of its own
        throw;
    }
    bar.Finish();
    for (const auto &[table, rows] : report.Tables)
        std::printf("%s: %lld rows\n", qPrintable(table), static_cast<long long>(rows));
    for (const QString &note : report.Notes)
        std::printf("note: %s\n", qPrintable(note));
    std::printf("examora-bank: wrote %s\n", qPrintable(args[1]));
    return 0;
}

int CheckCommand(const QStringList &args)
{
    if (args.size() != 1)
        return Usage(2);
    TBankReport report;
    try {
        if (IsConnInfo(args[0])) {
            TConnection server;
            OpenRoomServer(server, args[0]);
            report = ReportOnBank(server.Database());
        } else {
            report = ReportOnBankFile(args[0]);
        }
    } catch (const EDatabaseError &error) {
        // Status 2: the file could not be checked at all, unlike 1 (findings).
        std::fprintf(stderr, "examora-bank: %s\n", qPrintable(error.Message()));
        return 2;
    }
    const QList<TBankFinding> &findings = report.Findings;
    for (const TBankFinding &finding : findings)
        std::printf("%s\n", qPrintable(finding.Text));
    if (findings.isEmpty())
        std::printf("%s\n", qPrintable(QStringLiteral("题库检查通过，未发现问题。")));
    // Balance warnings inform; only problems decide the status.
    for (const QString &line : BalanceLines(report.Balance))
        std::printf("%s\n", qPrintable(line));
    return findings.isEmpty() ? 0 : 1;
}

int ServerInitCommand(const QStringList &args)
{
    if (args.size() != 1)
        return Usage(2);
    TConnection server;
    OpenRoomServer(server, args[0]);
    InitServer(server);
    std::printf("examora-bank: created the room's tables\n");
    return 0;
}

int PushCommand(QStringList args)
{
    const bool replace = args.removeAll(QStringLiteral("--replace")) > 0;
    if (args.size() != 2)
        return Usage(2);
    TConnection server;
    OpenRoomServer(server, args[1]);
    for (const auto &[table, rows] : PushBank(args[0], server, replace))
        std::printf("%s: %lld rows\n", qPrintable(table), static_cast<long long>(rows));
    std::printf("examora-bank: pushed %s\n", qPrintable(args[0]));
    return 0;
}

int ResultsCommand(const QStringList &args)
{
    if (args.size() != 1 && !(args.size() == 3 && args[1] == QLatin1String("--since")))
        return Usage(2);
    TConnection server;
    OpenRoomServer(server, args[0]);
    const QByteArray csv = CsvDocument(ResultRows(server, args.value(2)));
    std::fwrite(csv.constData(), 1, size_t(csv.size()), stdout);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    // --help and --version alone are answered before Qt starts, so that
    // nothing but their text is printed.
    if (argc == 2) {
        if (const std::optional<int> status = TCommandLine("examora-bank", KUsage).InfoStatus(argc, argv))
            return *status;
    }
    // Pictures are drawn with QPainter: a GUI application without a display.
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return Usage(2);
    const QString command = args.takeFirst();
    try {
        if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help"))
            return Usage(0);
        if (command == QLatin1String("create"))
            return Create(args);
        if (command == QLatin1String("import-mdb"))
            return ImportMdbCommand(args);
        if (command == QLatin1String("check"))
            return CheckCommand(args);
        if (command == QLatin1String("server-init"))
            return ServerInitCommand(args);
        if (command == QLatin1String("push"))
            return PushCommand(args);
        if (command == QLatin1String("results"))
            return ResultsCommand(args);
        // The reading side of import-mdb, started by the tool itself.
        if (command == QLatin1String(KMdbImportChildCommand) && args.size() == 2)
            return RunMdbImportChild(args[0], args[1]);
    } catch (const EDatabaseError &error) {
        std::fprintf(stderr, "examora-bank: %s\n", qPrintable(error.Message()));
        return 1;
    }
    return Usage(2);
}
