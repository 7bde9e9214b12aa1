// A second copy of the program in miniature for the store tests: stores
// papers into the bank of a program folder and prints their numbers.
//   store_paper_process <program folder> <practice mode> <papers> <start file> [<licence class>]
// With a licence class every paper is a mock exam drawn for that class and
// loaded as the exam screen loads it; each line then reads
// "<paper number> <minutes> <questions>".
#include <cstdio>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include "UComm.h"
#include "UDM.h"
#include "UError.h"
#include "UMessageSeam.h"
#include "UPaperLoad.h"
#include "UPaperStore.h"
#include "UQuery.h"

namespace {

bool StorePaper(TPaperStore &store, const QString &licenceClass)
{
    if (licenceClass.isEmpty())
        return store.SavePaper();
    RunContext.DriveTypeCode = licenceClass;
    TQuery paper;
    return LoadExamPaper(store, &paper, QString(), licenceClass);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() != 5 && args.size() != 6)
        return 2;
    const QString licenceClass = args.value(5);
    bool failed = false;
    SetMessageHandler([&failed](const TMessageRequest &request) {
        std::fprintf(stderr, "%s\n", qPrintable(request.Text));
        failed = true;
        return 1;
    });
    TDM dataModule;
    dataModule.DataModuleCreate(args[1]);
    DM = &dataModule;
    RunContext.PracticeMode = args[2];
    RunContext.PracticeScope = QStringLiteral("1");
    RunContext.ChapterFilter = QStringLiteral("THEMECHAPTER in (1)");
    // Both copies wait for the same signal so that their papers overlap;
    // a test that never gives it leaves no copy behind.
    const QDeadlineTimer startDeadline(60000);
    while (!QFile::exists(args[4])) {
        if (startDeadline.hasExpired()) {
            std::fprintf(stderr, "no start file %s within 60 s\n", qPrintable(args[4]));
            return 3;
        }
        QThread::msleep(1);
    }
    for (int paper = 0; paper < args[3].toInt(); ++paper) {
        TPaperStore store(TPaperRequest::OfRun());
        try {
            if (!StorePaper(store, licenceClass) || failed)
                return 1;
        } catch (const EExamoraError &error) {
            // A failed store, or a database error that the program would show in its error box.
            std::fprintf(stderr, "%s\n", qPrintable(error.Message()));
            return 1;
        }
        if (licenceClass.isEmpty())
            std::printf("%lld\n", static_cast<long long>(store.FExamineID));
        else
            std::printf("%lld %d %d\n", static_cast<long long>(store.FExamineID), store.FExamMinutes,
                        store.FQuestionCount);
        std::fflush(stdout);
    }
    DM = nullptr;
    return 0;
}
