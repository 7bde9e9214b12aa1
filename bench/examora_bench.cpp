// Benchmarks of the work a candidate waits for, each printed beside a floor:
// the same database work done with the SQLite C API alone.
//   examora-bench [--quick]          runs every case and prints a table
//   examora-bench case NAME ARGS     one case in this process (used by the runner,
//                                    so that peak memory is per case)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>

#include <sqlite3.h>
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "app/UComm.h"
#include "app/UDM.h"
#include "app/UQuery.h"
#include "paper/UPaperDraw.h"
#include "paper/UPaperStore.h"
#include "tools/UBankFile.h"

namespace {

using TClock = std::chrono::steady_clock;

double MillisecondsSince(TClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

long PeakRssMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

QString BankFolder(int questions)
{
    return QDir::tempPath() + QStringLiteral("/examora-bench-%1").arg(questions);
}

// Banks are kept between runs: writing 50,000 questions with pictures takes a while.
QString EnsureBank(int questions)
{
    const QString folder = BankFolder(questions);
    const QString file = folder + QStringLiteral("/Data/Jsy_Data.mdb");
    if (QFile::exists(file))
        return folder;
    QDir().mkpath(folder + QStringLiteral("/Data"));
    QSqlDatabase db = CreateBankFile(file, QStringLiteral("bench-bank"));
    WriteSyntheticBank(db, questions, 0.2, 30 * 1024);
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("bench-bank"));
    return folder;
}

void Sql(sqlite3 *db, const char *sql)
{
    char *error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "sqlite: %s\n", error);
        sqlite3_free(error);
        std::exit(1);
    }
}

// Floor: the drawn paper copied with one INSERT … SELECT in one transaction.
double PaperFloor(const QString &file, const QStringList &themeIds)
{
    sqlite3 *db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    Sql(db, "PRAGMA journal_mode=WAL");
    Sql(db, "PRAGMA synchronous=NORMAL");
    const auto start = TClock::now();
    Sql(db, "BEGIN IMMEDIATE");
    const QByteArray insert = QStringLiteral(
        "INSERT INTO T_KS_ExamineTheme (ID, ExamineID, ThemeID, ThemePart, ThemeChapter, ThemeType, ThemeContent, "
        "ThemeImage, ThemeSpareA, ThemeSpareB, ThemeSpareC, ThemeSpareD, ThemeSpareE, ThemeSpareF, ThemeResult, ThemeBit) "
        "SELECT ThemeID, 999999, ThemeID, ThemePart, ThemeChapter, ThemeType, ThemeContent, ThemeImage, ThemeSpareA, "
        "ThemeSpareB, ThemeSpareC, ThemeSpareD, ThemeSpareE, ThemeSpareF, ThemeResult, 1 FROM T_KS_THEME WHERE ThemeID IN (%1)")
        .arg(themeIds.join(QLatin1Char(','))).toUtf8();
    Sql(db, insert.constData());
    Sql(db, "COMMIT");
    const double elapsed = MillisecondsSince(start);
    Sql(db, "DELETE FROM T_KS_ExamineTheme WHERE ExamineID=999999");
    sqlite3_close(db);
    return elapsed;
}

int CaseLoadPaper(int questions)
{
    const QString folder = EnsureBank(questions);
    TDM dm;
    DM = &dm;
    dm.DataModuleCreate(folder);
    RunContext.PracticeMode = QStringLiteral("3");
    RunContext.DriveTypeCode = QStringLiteral("001");

    const auto start = TClock::now();
    TPaperDraw draw(QStringLiteral("1"));
    draw.DrawQuestions();
    TPaperStore store;
    TQuery paper;
    const bool saved = store.SavePaper();
    const bool opened = saved && OpenQuery(&paper, QStringLiteral("Select * From T_Ks_ExamineTheme Where ExamineID=%1 Order By ID").arg(store.FExamineID));
    const double elapsed = MillisecondsSince(start);
    if (!opened || paper.RecordCount() != 100) {
        std::fprintf(stderr, "load paper failed (%d rows)\n", paper.RecordCount());
        return 1;
    }
    const long rss = PeakRssMegabytes();
    ExecSql(QStringLiteral("Delete from T_KS_EXAMINETHEME where ExamineID=%1").arg(store.FExamineID));
    const double floor = PaperFloor(folder + QStringLiteral("/Data/Jsy_Data.mdb"), draw.DrawnThemeIDs());
    DM = nullptr;
    std::printf("RESULT\tLoadPaper, bank of %d\t%.1f ms\t%ld MB peak\t%.1f ms\n", questions, elapsed, rss, floor);
    return 0;
}

int RunCase(const QStringList &args)
{
    if (args.value(0) == QLatin1String("loadpaper"))
        return CaseLoadPaper(args.value(1).toInt());
    std::fprintf(stderr, "unknown case\n");
    return 2;
}

int RunAll(bool quick)
{
    QList<QStringList> cases;
    for (int size : quick ? QList<int>{1000} : QList<int>{1000, 10000, 50000})
        cases << QStringList{QStringLiteral("loadpaper"), QString::number(size)};
    std::printf("| case | time | memory | floor (SQLite C API) |\n|---|---|---|---|\n");
    int failures = 0;
    for (const QStringList &args : cases) {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("case")} + args);
        process.waitForFinished(-1);
        const QString output = QString::fromUtf8(process.readAllStandardOutput());
        bool printed = false;
        for (const QString &line : output.split(QLatin1Char('\n'))) {
            if (!line.startsWith(QLatin1String("RESULT\t")))
                continue;
            const QStringList cells = line.mid(7).split(QLatin1Char('\t'));
            std::printf("| %s |\n", qPrintable(cells.join(QStringLiteral(" | "))));
            printed = true;
        }
        if (!printed || process.exitCode() != 0)
            ++failures;
    }
    std::fflush(stdout);
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("case"))
        return RunCase(args.mid(1));
    return RunAll(args.contains(QStringLiteral("--quick")));
}
