#include "URoomBench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include "UBankFile.h"
#include "UComm.h"
#include "UConnection.h"
#include "UDM.h"
#include "UDriveTypes.h"
#include "UError.h"
#include "UIniFile.h"
#include "UPaperDraw.h"
#include "UPaperStore.h"
#include "UPostgresServer.h"
#include "UQuery.h"
#include "URecordSchema.h"
#include "URecordStore.h"
#include "URoomConfig.h"
#include "URoomServer.h"

namespace {

using TClock = std::chrono::steady_clock;

constexpr int KAnswers = 100;
const QString KLicenceClass = QStringLiteral("001");

double MillisecondsSince(TClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

double Percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(share * double(values.size())))];
}

// The answer a seat gives to question id, so that the records can be checked.
QString AnswerOf(qint64 id)
{
    return QString::number(1 + id % 4);
}

// A bank of 1000 questions with the exam templates, kept between runs.
QString BankFile()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
        + QStringLiteral("/examora-bench-room");
    const QString file = folder + QStringLiteral("/Jsy_Data.mdb");
    if (QFile::exists(file))
        return file;
    QDir().mkpath(folder);
    {
        QSqlDatabase db = CreateBankFile(file, QStringLiteral("room-bank"));
        WriteSyntheticBank(db, 1000, 0.2, 30 * 1024);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("room-bank"));
    return file;
}

// What a seat did, as it printed it.
struct TSeatRun
{
    bool Ok = false;
    qint64 ExamineID = 0;
    qint64 StoredAt = 0;
    qint64 HandedInAt = 0;
    std::vector<double> Commits;
    double HandIn = 0;
    QString Error;
};

TSeatRun ParseSeat(QProcess &process)
{
    TSeatRun run;
    if (!process.waitForFinished(600000) || process.exitCode() != 0) {
        run.Error = QString::fromUtf8(process.readAllStandardError()).trimmed().section(QLatin1Char('\n'), -1);
        return run;
    }
    for (const QString &line : QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        const QStringList cells = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (cells.value(0) == QLatin1String("stored")) {
            run.StoredAt = cells.value(1).toLongLong();
            run.ExamineID = cells.value(2).toLongLong();
        } else if (cells.value(0) == QLatin1String("commit"))
            run.Commits.push_back(cells.value(1).toDouble());
        else if (cells.value(0) == QLatin1String("handin")) {
            run.HandIn = cells.value(1).toDouble();
            run.HandedInAt = cells.value(2).toLongLong();
        }
    }
    run.Ok = run.StoredAt > 0 && int(run.Commits.size()) == KAnswers;
    return run;
}

struct TRoomResult
{
    QString Engine;
    int Seats = 0;
    int Failed = 0;
    double AllStoredMs = 0;
    std::vector<double> Commits;
    std::vector<double> HandIns;
    qint64 Colliding = 0;
    qint64 Lost = 0;
    QString FirstError;
};

// Seats that held the same paper number at the same time. A number comes
// free again when its paper is handed in and deleted ("largest plus 1"),
// so the same number on papers one after the other is no collision.
qint64 CollidingNumbers(const std::vector<TSeatRun> &runs)
{
    qint64 colliding = 0;
    for (size_t a = 0; a < runs.size(); ++a) {
        for (size_t b = a + 1; b < runs.size(); ++b) {
            const TSeatRun &x = runs[a];
            const TSeatRun &y = runs[b];
            if (x.ExamineID == y.ExamineID && x.StoredAt < y.HandedInAt && y.StoredAt < x.HandedInAt)
                ++colliding;
        }
    }
    return colliding;
}

// Starts the seats on their folders, gives the start signal and gathers
// what they report; then counts colliding numbers, and lost answers in the
// records the hand-ins wrote.
TRoomResult RunSeats(const QString &engine, const QStringList &folders, int pace, TConnection &check)
{
    TRoomResult result;
    result.Engine = engine;
    result.Seats = int(folders.size());
    const QTemporaryDir signal;
    const QString startFile = signal.filePath(QStringLiteral("start"));
    std::vector<std::unique_ptr<QProcess>> seats;
    for (const QString &folder : folders) {
        seats.push_back(std::make_unique<QProcess>());
        seats.back()->start(QCoreApplication::applicationFilePath(),
                            {QStringLiteral("seat"), folder, startFile, QString::number(KAnswers), QString::number(pace)});
    }
    // Every seat has connected and waits: then the clock starts.
    QThread::sleep(2 + unsigned(folders.size()) / 10);
    const qint64 start = QDateTime::currentMSecsSinceEpoch();
    QFile(startFile).open(QIODevice::WriteOnly);
    qint64 lastStored = start;
    std::vector<TSeatRun> runs;
    for (const auto &seat : seats) {
        const TSeatRun run = ParseSeat(*seat);
        runs.push_back(run);
        if (!run.Ok) {
            ++result.Failed;
            if (result.FirstError.isEmpty())
                result.FirstError = run.Error;
            continue;
        }
        lastStored = std::max(lastStored, run.StoredAt);
        result.Commits.insert(result.Commits.end(), run.Commits.begin(), run.Commits.end());
        result.HandIns.push_back(run.HandIn);
    }
    result.AllStoredMs = double(lastStored - start);
    result.Colliding = CollidingNumbers(runs);
    // Every handed-in question must hold the answer its seat gave.
    QSqlQuery answers(check.Database());
    answers.exec(QStringLiteral("SELECT t.ID, t.AnswerResult FROM T_KS_ExamRecordTheme t JOIN T_KS_ExamRecord r "
                                "ON r.RecordID = t.RecordID WHERE r.Status = 'handed-in'"));
    qint64 kept = 0;
    while (answers.next())
        kept += answers.value(1).toString() == AnswerOf(answers.value(0).toLongLong()) ? 1 : 0;
    result.Lost = qint64(result.Seats - result.Failed) * KAnswers - kept;
    return result;
}

void PrintRow(const TRoomResult &r)
{
    std::printf("| %s | %d | %.0f ms | %.2f ms | %.2f ms | %.0f ms | %.0f ms | %lld | %lld | %d |\n",
                qPrintable(r.Engine), r.Seats, r.AllStoredMs, Percentile(r.Commits, 0.5), Percentile(r.Commits, 0.99),
                Percentile(r.HandIns, 0.5), Percentile(r.HandIns, 1.0), static_cast<long long>(r.Colliding),
                static_cast<long long>(r.Lost), r.Failed);
    if (!r.FirstError.isEmpty())
        std::printf("\n%s: first failure: %s\n\n", qPrintable(r.Engine), qPrintable(r.FirstError));
}

QStringList SeatFolders(const QTemporaryDir &root, int seats, const QString &connInfo)
{
    QStringList folders;
    for (int k = 0; k < seats; ++k) {
        const QString folder = root.filePath(QStringLiteral("seat%1").arg(k + 1));
        QDir().mkpath(folder);
        TIniFile room(folder + QLatin1Char('/') + KRoomConfigFile);
        room.WriteString(QStringLiteral("Server"), QStringLiteral("ConnInfo"), connInfo);
        room.WriteString(QStringLiteral("Room"), QStringLiteral("Name"), QStringLiteral("压力测试"));
        room.UpdateFile();
        folders << folder;
    }
    return folders;
}

TRoomResult PostgresRoom(int seats, int pace)
{
    TPostgresServer server;
    if (!server.Running()) {
        TRoomResult failed;
        failed.Engine = QStringLiteral("PostgreSQL");
        failed.FirstError = server.Error();
        failed.Failed = failed.Seats = seats;
        return failed;
    }
    const QString connInfo = server.CreateDatabase(QStringLiteral("room"));
    TConnection admin;
    OpenRoomServer(admin, connInfo);
    InitServer(admin);
    PushBank(BankFile(), admin, false);
    const QTemporaryDir root;
    return RunSeats(QStringLiteral("PostgreSQL 15"), SeatFolders(root, seats, connInfo), pace, admin);
}

TRoomResult SqliteRoom(int seats, int pace)
{
    // One program folder and one bank file that every seat opens.
    const QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral("Data"));
    QFile::copy(BankFile(), root.filePath(QStringLiteral("Data/Jsy_Data.mdb")));
    TConnection admin;
    admin.SetConnectionString(TDM::LocalConnectionString(AppPathOf(root.path())));
    admin.Open();
    EnsureRecordTables(&admin);
    QStringList folders;
    for (int k = 0; k < seats; ++k)
        folders << root.path();
    return RunSeats(QStringLiteral("SQLite WAL, one file"), folders, pace, admin);
}

// The seat's paper: drawn for the class and stored as the exam screen does.
qint64 StoreSeatPaper(TPaperStore &store, TQuery &paper)
{
    TPaperDraw draw(MockExamTemplate(KLicenceClass));
    draw.DrawQuestions();
    store.FDrawnPaper = draw.TakeDrawnPaper();
    if (!store.LoadPaper(&paper))
        throw EExamoraError(QStringLiteral("no paper"));
    if (paper.RecordCount() != store.FQuestionCount)
        throw EExamoraError(QStringLiteral("paper %1 has %2 rows, not %3")
                                .arg(store.FExamineID)
                                .arg(paper.RecordCount())
                                .arg(store.FQuestionCount));
    return store.FExamineID;
}

} // namespace

int RunSeat(const QStringList &args)
{
    if (args.size() != 4)
        return 2;
    const int answers = args[2].toInt();
    const int pace = args[3].toInt();
    TDM dataModule;
    DM = &dataModule;
    dataModule.DataModuleCreate(args[0]);
    if (!dataModule.ACon->Connected())
        return 1;
    RunContext.PracticeMode = QStringLiteral("3");
    RunContext.DriveTypeCode = KLicenceClass;
    RunContext.DriveTypeCaption = QStringLiteral("小型汽车");
    RunContext.ChapterFilter = ChapterFilterOf(KLicenceClass);
    const QDeadlineTimer deadline(120000);
    while (!QFile::exists(args[1])) {
        if (deadline.hasExpired())
            return 3;
        QThread::msleep(5);
    }
    try {
        TPaperStore store(TPaperRequest::OfRun());
        TQuery paper;
        const qint64 examineId = StoreSeatPaper(store, paper);
        std::printf("stored %lld %lld\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch()),
                    static_cast<long long>(examineId));
        TExamRecord record(dataModule.ACon);
        const qint64 recordId = record.Open(
            RecordStartOf(RunContext, examineId, QStringLiteral("T_KS_ExamineTheme"), 45, store.FQuestionCount));
        // The exam screen's commit: the row's answer posted, the record kept current.
        paper.First();
        for (int i = 0; i < std::min(answers, paper.RecordCount()); ++i) {
            QThread::msleep(unsigned(pace));
            const auto start = TClock::now();
            paper.Edit();
            paper.FieldByName(QStringLiteral("AnswerResult"))
                ->SetAsString(AnswerOf(paper.FieldByName(QStringLiteral("ID"))->AsInteger()));
            paper.FieldByName(QStringLiteral("Yxx_St"))->SetAsString(QStringLiteral("0"));
            paper.Post();
            record.KeepCurrent(recordId, 2700 - i, i + 1);
            std::printf("commit %.3f\n", MillisecondsSince(start));
            paper.Next();
        }
        const auto start = TClock::now();
        record.HandIn(recordId, QStringLiteral("T_KS_ExamineTheme"), examineId, 600);
        std::printf("handin %.3f %lld\n", MillisecondsSince(start),
                    static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
    } catch (const EExamoraError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.Message()));
        return 1;
    }
    DM = nullptr;
    return 0;
}

int RunRoomBench(const QStringList &args)
{
    int seats = 200;
    int pace = 100;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--pace"))
            pace = args.value(++i).toInt();
        else if (args[i].toInt() > 0)
            seats = args[i].toInt();
    }
    std::printf("%d seats, each: draw and store a 100-question mock exam, answer every question (%d ms apart, "
                "each commit with the record kept current), hand in.\n\n",
                seats, pace);
    std::printf("| engine | seats | all papers stored | commit median | commit p99 | hand-in median | hand-in max "
                "| colliding numbers | lost answers | failed seats |\n|---|---|---|---|---|---|---|---|---|---|\n");
    const TRoomResult server = PostgresRoom(seats, pace);
    PrintRow(server);
    const TRoomResult file = SqliteRoom(seats, pace);
    PrintRow(file);
    std::fflush(stdout);
    return server.Failed == 0 && server.Colliding == 0 && server.Lost == 0 ? 0 : 1;
}
