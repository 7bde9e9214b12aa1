// Benchmarks of the work a candidate waits for, each printed beside a floor:
// the same database work done with the SQLite C API alone.
//   examora-bench [--quick]          runs every case and prints a table
//   examora-bench case NAME ARGS     one case in this process (used by the runner,
//                                    so that peak memory is per case)
//   examora-bench --room [N]         the exam room: N seats on one server (URoomBench)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>

#include <sqlite3.h>
#include <sys/resource.h>
#include <time.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include "UApplication.h"
#include "UBankFile.h"
#include "UComm.h"
#include "UDM.h"
#include "UExamRules.h"
#include "UFrRep.h"
#include "UIniFile.h"
#include "UMain.h"
#include "UPaperDraw.h"
#include "UPaperStore.h"
#include "UProgess.h"
#include "UQuery.h"
#include "UQuit.h"
#include "URecordSchema.h"
#include "URecordStore.h"
#include "URoomBench.h"
#include "UScoring.h"

namespace {

using TClock = std::chrono::steady_clock;

double MillisecondsSince(TClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

// The processor time of this process: on a shared machine the wall time
// also holds the waits for a processor that other programs took.
double CpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

long PeakRssMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// In the user's own cache folder: a fixed name in the shared temporary
// folder could be a link planted by someone else.
QString BankFolder(int questions)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
        + QStringLiteral("/examora-bench-%1").arg(questions);
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
    const QByteArray insert =
        QStringLiteral(
            "INSERT INTO T_KS_ExamineTheme (ID, ExamineID, ThemeID, ThemePart, ThemeChapter, ThemeType, ThemeContent, "
            "ThemeImage, ThemeSpareA, ThemeSpareB, ThemeSpareC, ThemeSpareD, ThemeSpareE, ThemeSpareF, ThemeResult, ThemeBit) "
            "SELECT ThemeID, 999999, ThemeID, ThemePart, ThemeChapter, ThemeType, ThemeContent, ThemeImage, ThemeSpareA, "
            "ThemeSpareB, ThemeSpareC, ThemeSpareD, ThemeSpareE, ThemeSpareF, ThemeResult, 1 FROM T_KS_THEME WHERE ThemeID IN (%1)")
            .arg(themeIds.join(QLatin1Char(',')))
            .toUtf8();
    Sql(db, insert.constData());
    Sql(db, "COMMIT");
    const double elapsed = MillisecondsSince(start);
    Sql(db, "DELETE FROM T_KS_ExamineTheme WHERE ExamineID=999999");
    sqlite3_close(db);
    return elapsed;
}

// In the program the exam screen is already painted when a paper loads:
// the fonts are found and set up before, not inside the measured work.
void PaintOnce()
{
    QLabel label(QStringLiteral("正在保存数据……"));
    label.setFont(QFont(QStringLiteral("宋体")));
    label.grab();
}

int CaseLoadPaper(int questions)
{
    const QString folder = EnsureBank(questions);
    PaintOnce();
    TDM dm;
    DM = &dm;
    dm.DataModuleCreate(folder);
    RunContext.PracticeMode = QStringLiteral("3");
    RunContext.DriveTypeCode = QStringLiteral("001");

    const auto start = TClock::now();
    const double cpuStart = CpuMilliseconds();
    TPaperDraw draw(QStringLiteral("1"));
    draw.DrawQuestions();
    TPaperStore store(TPaperRequest::OfRun());
    TQuery paper;
    // Under the save-progress window, as the exam screen stores a paper.
    TSaveProgressWindow progress;
    const bool saved = store.SavePaper(progress);
    const bool opened = saved
        && OpenQuery(&paper,
                     QStringLiteral("Select * From T_Ks_ExamineTheme Where ExamineID=%1 Order By ID").arg(store.FExamineID));
    // As LoadPaper does: the paper is read whole once it is open.
    if (opened)
        paper.FetchAll();
    const double elapsed = MillisecondsSince(start);
    const double cpu = CpuMilliseconds() - cpuStart;
    if (!opened || paper.RecordCount() != 100) {
        std::fprintf(stderr, "load paper failed (%d rows)\n", paper.RecordCount());
        return 1;
    }
    const long rss = PeakRssMegabytes();
    ExecSql(QStringLiteral("Delete from T_KS_EXAMINETHEME where ExamineID=%1").arg(store.FExamineID));
    const double floor = PaperFloor(folder + QStringLiteral("/Data/Jsy_Data.mdb"), draw.DrawnThemeIDs());
    DM = nullptr;
    std::printf("RESULT\tLoadPaper, bank of %d\t%.1f ms (CPU %.1f ms)\t%ld MB peak\t%.1f ms\n", questions, elapsed, cpu,
                rss, floor);
    return 0;
}

double Percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(share * double(values.size())))];
}

// Confirms each set-up dialog as a candidate pressing its OK would.
void ConfirmSetupDialogs()
{
    auto *confirmer = new QTimer(qApp);
    QObject::connect(confirmer, &QTimer::timeout, qApp, [] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        for (const char *name : {"SpeedButton1", "BitBtn1"}) {
            if (auto *ok = modal->findChild<QAbstractButton *>(QLatin1String(name))) {
                ok->click();
                return;
            }
        }
    });
    confirmer->start(20);
}

// A copy of the bank whose record table is a stub made by hand: the exam
// screen then keeps no record, as on any bank that cannot hold one.
QString CopyWithoutRecord(const QString &folder, const QTemporaryDir &copy)
{
    QDir(copy.path()).mkpath(QStringLiteral("Data"));
    const QString file = copy.filePath(QStringLiteral("Data/Jsy_Data.mdb"));
    QFile::copy(folder + QStringLiteral("/Data/Jsy_Data.mdb"), file);
    sqlite3 *db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    Sql(db, "DROP TABLE IF EXISTS T_KS_ExamRecordTheme");
    Sql(db, "DROP TABLE IF EXISTS T_KS_ExamRecord");
    Sql(db, "CREATE TABLE T_KS_ExamRecord (RecordID INTEGER PRIMARY KEY)");
    sqlite3_close(db);
    return copy.path();
}

// One answer: the entry's text changes, its handler commits the row. The
// event queue runs between answers, as it does between a candidate's keys:
// there the record is brought up to date.
int CaseAnswerCommit(int answers, bool keepRecord)
{
    const QTemporaryDir copy;
    const QString folder = keepRecord ? EnsureBank(1000) : CopyWithoutRecord(EnsureBank(1000), copy);
    TDM dm;
    DM = &dm;
    dm.DataModuleCreate(folder);
    ConfirmSetupDialogs();
    TFrmMain screen;
    screen.show();
    auto *entry = screen.findChild<QLineEdit *>(QStringLiteral("Edit1"));
    const auto started = TClock::now();
    while (!entry->isEnabled() || !entry->window()->findChild<QWidget *>(QStringLiteral("Panel3"))->isEnabled()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (MillisecondsSince(started) > 120000) {
            std::fprintf(stderr, "the exam screen did not open a paper\n");
            return 1;
        }
    }
    std::vector<double> times;
    for (int i = 0; i < answers; ++i) {
        const auto start = TClock::now();
        entry->setText(i % 2 ? QStringLiteral("2") : QStringLiteral("1"));
        times.push_back(MillisecondsSince(start));
        QCoreApplication::processEvents();
    }

    // Floor: one single-row UPDATE committed through the C API.
    sqlite3 *db = nullptr;
    sqlite3_open((folder + QStringLiteral("/Data/Jsy_Data.mdb")).toUtf8().constData(), &db);
    Sql(db, "PRAGMA synchronous=NORMAL");
    std::vector<double> floors;
    for (int i = 0; i < answers; ++i) {
        const auto start = TClock::now();
        Sql(db,
            i % 2
                ? "UPDATE T_KS_ExamineTheme SET AnswerResult='2' WHERE rowid=(SELECT min(rowid) FROM T_KS_ExamineTheme)"
                : "UPDATE T_KS_ExamineTheme SET AnswerResult='1' WHERE rowid=(SELECT min(rowid) FROM T_KS_ExamineTheme)");
        floors.push_back(MillisecondsSince(start));
    }
    sqlite3_close(db);
    ExecSql(QStringLiteral("Delete from T_KS_EXAMINETHEME"));
    std::printf(
        "RESULT\tOne answer committed, %d answers, %s\tmedian %.3f ms, p99 %.3f ms\t%ld MB peak\tmedian %.3f ms, p99 %.3f ms\n",
        answers, keepRecord ? "record kept current" : "no record", Percentile(times, 0.5), Percentile(times, 0.99),
        PeakRssMegabytes(), Percentile(floors, 0.5), Percentile(floors, 0.99));
    RequestQuit();
    DM = nullptr;
    return 0;
}

// A stored paper of n questions, about three quarters answered right.
void StoreAnsweredPaper(const QString &file, int examineId, int questions)
{
    sqlite3 *db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    Sql(db, "BEGIN");
    const QByteArray insert =
        QStringLiteral(
            "INSERT INTO T_KS_ExamineTheme (ID, ExamineID, ThemeID, ThemePart, ThemeChapter, ThemeType, ThemeContent, "
            "ThemeSpareA, ThemeSpareB, ThemeSpareC, ThemeSpareD, ThemeSpareE, ThemeResult, ThemeBit, AnswerResult, Yxx_St) "
            "SELECT ThemeID, %1, ThemeID, ThemePart, ThemeChapter, ThemeType, ThemeContent, ThemeSpareA, ThemeSpareB, "
            "ThemeSpareC, ThemeSpareD, ThemeSpareE, ThemeResult, 1, CASE WHEN ThemeID % 4 = 0 THEN '2' ELSE ThemeResult END, '0' "
            "FROM T_KS_THEME WHERE ThemeID <= %2")
            .arg(examineId)
            .arg(questions)
            .toUtf8();
    Sql(db, insert.constData());
    Sql(db, "COMMIT");
    sqlite3_close(db);
}

// Hand-in: the paper scored, the result sheet prepared and its PDF written,
// the paper deleted; with the record, the paper's rows go into its record
// in the transaction that deletes them.
int CaseHandIn(int questions, bool withRecord)
{
    const QString folder = EnsureBank(std::max(1000, questions));
    const QString file = folder + QStringLiteral("/Data/Jsy_Data.mdb");
    const int examineId = 900000 + questions;
    StoreAnsweredPaper(file, examineId, questions);
    TDM dm;
    DM = &dm;
    dm.DataModuleCreate(folder);
    RunContext.PracticeMode = QStringLiteral("3");
    RunContext.DriveTypeCaption = QStringLiteral("小型汽车（C1、C2、C3、C4）");
    const QString pdf = folder + QStringLiteral("/result.pdf");
    TExamRecord record(dm.ACon);
    qint64 recordId = 0;
    if (withRecord) {
        if (!EnsureRecordTables(dm.ACon))
            return 1;
        recordId = record.Open(RecordStartOf(RunContext, examineId, QStringLiteral("T_KS_ExamineTheme"), 45, questions));
    }

    const auto start = TClock::now();
    const double cpuStart = CpuMilliseconds();
    const int score = ScorePaper(QString::number(examineId)).Score;
    TQuery sheet;
    if (!OpenQuery(&sheet, ResultSheetSql(examineId)))
        return 1;
    sheet.FieldByName(QStringLiteral("OTZ"))->OnGetText = [&sheet](const TField &, QString &text, bool) {
        text = IsAnswerRight(sheet.FieldByName(QStringLiteral("ThemeResult"))->AsString(),
                             sheet.FieldByName(QStringLiteral("AnswerResult"))->AsString())
            ? QStringLiteral("正确")
            : QStringLiteral("错误");
    };
    const bool written = WriteResultSheetPdf(&sheet, QStringLiteral(EXAMORA_SOURCE_DIR "/data/TestMn.frf"), pdf);
    sheet.Close();
    if (withRecord)
        record.HandIn(recordId, QStringLiteral("T_KS_ExamineTheme"), examineId, 600);
    else
        DeletePaper(examineId);
    const double elapsed = MillisecondsSince(start);
    const double cpu = CpuMilliseconds() - cpuStart;
    if (!written || score <= 0) {
        std::fprintf(stderr, "hand-in failed\n");
        return 1;
    }
    const long rss = PeakRssMegabytes();
    DM = nullptr;

    // Floor: the same rows read, summed and deleted through the C API.
    StoreAnsweredPaper(file, examineId, questions);
    sqlite3 *db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    const auto floorStart = TClock::now();
    const QByteArray read =
        QStringLiteral(
            "SELECT sum(ThemeBit) FROM T_KS_ExamineTheme WHERE ExamineID=%1 AND upper(ThemeResult)=upper(AnswerResult)")
            .arg(examineId)
            .toUtf8();
    Sql(db, read.constData());
    const QByteArray remove = QStringLiteral("DELETE FROM T_KS_ExamineTheme WHERE ExamineID=%1").arg(examineId).toUtf8();
    Sql(db, remove.constData());
    const double floor = MillisecondsSince(floorStart);
    sqlite3_close(db);
    std::printf("RESULT\tHand-in of %d questions (score, sheet, PDF%s)\t%.1f ms (CPU %.1f ms)\t%ld MB peak\t%.1f ms\n",
                questions, withRecord ? ", record written" : "", elapsed, cpu, rss, floor);
    return 0;
}

// Runs a command against the virtual display and waits for it.
int RunOnDisplay(const QString &display, const QString &program, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    process.waitForFinished(20000);
    return process.exitCode();
}

bool PressEnterOn(const QString &display, const QString &title)
{
    if (RunOnDisplay(display, QStringLiteral("xdotool"),
                     {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                      QLatin1Char('^') + title + QLatin1Char('$'), QStringLiteral("windowfocus"),
                      QStringLiteral("--sync")})
        != 0)
        return false;
    return RunOnDisplay(display, QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")}) == 0;
}

// The real program in a virtual X server: the timestamps it logs from
// process start to the licence dialog, and from the confirmed set-up
// dialogs to question 1 painted.
int CaseStartup()
{
    const QString folder = EnsureBank(1000);
    QTemporaryDir programDir;
    QDir(programDir.path()).mkpath(QStringLiteral("Data"));
    QFile::copy(QStringLiteral(EXAMORA_PROGRAM_FILE), programDir.filePath(QStringLiteral("examora")));
    QFile::copy(folder + QStringLiteral("/Data/Jsy_Data.mdb"), programDir.filePath(QStringLiteral("Data/Jsy_Data.mdb")));
    QFile::setPermissions(programDir.filePath(QStringLiteral("examora")), QFileDevice::ExeOwner | QFileDevice::ReadOwner);
    const QString display = QStringLiteral(":%1").arg(600 + QCoreApplication::applicationPid() % 300);
    QProcess xvfb;
    xvfb.start(QStringLiteral("Xvfb"),
               {display, QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x800x24"),
                QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!xvfb.waitForStarted()) {
        std::fprintf(stderr, "Xvfb is needed for the start-up case\n");
        return 1;
    }
    for (int i = 0;
         i < 100 && RunOnDisplay(display, QStringLiteral("xdotool"), {QStringLiteral("getdisplaygeometry")}) != 0; ++i)
        QThread::msleep(100);
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("EXAMORA_TIMING"), QStringLiteral("1"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), programDir.filePath(QStringLiteral("config")));
    program.setProcessEnvironment(env);
    program.start(programDir.filePath(QStringLiteral("examora")), {});
    QMap<QString, double> stamps;
    const auto readStamps = [&program, &stamps] {
        for (const QByteArray &line : program.readAllStandardError().split('\n')) {
            const QList<QByteArray> parts = line.split(' ');
            if (parts.size() == 3 && parts[0] == "examora-timing")
                stamps[QString::fromLatin1(parts[1])] = parts[2].toDouble();
        }
    };
    const auto waitFor = [&](const QString &stamp) {
        for (int i = 0; i < 600 && !stamps.contains(stamp); ++i) {
            program.waitForReadyRead(100);
            readStamps();
        }
        return stamps.contains(stamp);
    };
    bool ok = waitFor(QStringLiteral("licence-dialog-painted"));
    ok = ok && PressEnterOn(display, QStringLiteral("系统登录"));
    for (int i = 0; ok && i < 30 && !stamps.contains(QStringLiteral("setup-dialogs-confirmed")); ++i) {
        PressEnterOn(display, QStringLiteral("练习方式"));
        program.waitForReadyRead(200);
        readStamps();
    }
    ok = ok && waitFor(QStringLiteral("question-1-painted"));
    program.kill();
    program.waitForFinished(5000);
    xvfb.terminate();
    xvfb.waitForFinished(5000);
    if (!ok) {
        std::fprintf(stderr, "start-up timestamps missing\n");
        return 1;
    }
    std::printf("RESULT\tProcess start to licence dialog painted\t%.1f ms\t-\t-\n",
                stamps.value(QStringLiteral("licence-dialog-painted")));
    std::printf("RESULT\tSet-up OK to question 1 painted (mock exam, bank of 1000)\t%.1f ms\t-\t-\n",
                stamps.value(QStringLiteral("question-1-painted"))
                    - stamps.value(QStringLiteral("setup-dialogs-confirmed")));
    return 0;
}

// Reading a Theme.Cfg of many sections, looking up every question in it
// and writing it back, as the draw and the store do.
int CaseThemeCfg(int sections)
{
    QByteArray text = "[System]\nTime=45\nThemeCount=" + QByteArray::number(sections) + "\n";
    for (int n = 1; n <= sections; ++n)
        text += "[" + QByteArray::number(n) + "]\nThemeID=" + QByteArray::number(n) + "\nThemeBit=1\n";
    const auto start = TClock::now();
    TIniFile ini{QString()};
    ini.FromBytes(text);
    qint64 sum = 0;
    for (int n = 1; n <= sections; ++n)
        sum += ini.ReadString(QString::number(n), QStringLiteral("ThemeID"), QStringLiteral("-1")).toLongLong();
    ini.WriteString(QStringLiteral("System"), QStringLiteral("ThemeCount"), QString::number(sections));
    const QByteArray written = ini.ToBytes();
    const double elapsed = MillisecondsSince(start);
    if (sum != qint64(sections) * (sections + 1) / 2 || written != text) {
        std::fprintf(stderr, "Theme.Cfg read back wrong\n");
        return 1;
    }
    std::printf("RESULT\tTheme.Cfg of %d sections: read, look up all, write\t%.1f ms\t%ld MB peak\t-\n", sections,
                elapsed, PeakRssMegabytes());
    return 0;
}

int RunCase(const QStringList &args)
{
    if (args.value(0) == QLatin1String("themecfg"))
        return CaseThemeCfg(args.value(1).toInt());
    if (args.value(0) == QLatin1String("startup"))
        return CaseStartup();
    if (args.value(0) == QLatin1String("loadpaper"))
        return CaseLoadPaper(args.value(1).toInt());
    if (args.value(0) == QLatin1String("answer"))
        return CaseAnswerCommit(args.value(1).toInt(), args.value(2) != QLatin1String("norecord"));
    if (args.value(0) == QLatin1String("handin"))
        return CaseHandIn(args.value(1).toInt(), args.value(2) == QLatin1String("record"));
    std::fprintf(stderr, "unknown case\n");
    return 2;
}

int RunAll(bool quick)
{
    QList<QStringList> cases;
    for (int size : quick ? QList<int>{1000} : QList<int>{1000, 10000, 50000})
        cases << QStringList{QStringLiteral("loadpaper"), QString::number(size)};
    cases << QStringList{QStringLiteral("answer"), QStringLiteral("1000")};
    cases << QStringList{QStringLiteral("answer"), QStringLiteral("1000"), QStringLiteral("norecord")};
    cases << QStringList{QStringLiteral("themecfg"), QStringLiteral("200000")};
    for (int size : {100, 1000})
        cases << QStringList{QStringLiteral("handin"), QString::number(size)};
    cases << QStringList{QStringLiteral("handin"), QStringLiteral("100"), QStringLiteral("record")};
    cases << QStringList{QStringLiteral("startup")};
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
    // A seat of the room runs no window: the lighter application suffices.
    if (argc > 1 && qstrcmp(argv[1], "seat") == 0) {
        QCoreApplication seat(argc, argv);
        return RunSeat(seat.arguments().mid(2));
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallChineseFonts();
    const QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("case"))
        return RunCase(args.mid(1));
    if (args.value(0) == QLatin1String("--room"))
        return RunRoomBench(args.mid(1));
    return RunAll(args.contains(QStringLiteral("--quick")));
}
