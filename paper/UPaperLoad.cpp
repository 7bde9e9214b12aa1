#include "UPaperLoad.h"

#include <QCoreApplication>

#include "UComm.h"
#include "UIniFile.h"
#include "UPaperDraw.h"
#include "UPaperError.h"
#include "UPaperStore.h"
#include "UProgess.h"
#include "USetTheme.h"
#include "UThemeCfg.h"

bool PrepareMockExam(const QString &candidateIdNumber, const QString &driveTypeCode, std::unique_ptr<TIniFile> *drawnPaper)
{
    QString modelId;
    try {
        modelId = MockExamTemplate(driveTypeCode);
    } catch (const EPaperError &error) {
        ShowError(error.Message());
        return false;
    }
    if (!RunPaperDraw(modelId, candidateIdNumber, drawnPaper)) {
        // A folder that takes no files fails every draw: that is the news.
        const QString folderProblem = ThemeCfgWriteProblem();
        ShowError(folderProblem.isEmpty() ? DrawFailedText(modelId) : folderProblem);
        return false;
    }
    return true;
}

bool LoadExamPaper(TPaperStore &store, TQuery *paperQuery, const QString &candidateIdNumber, const QString &driveTypeCode)
{
    if (!IsPracticeMode(store.Request().PracticeMode)
        && !PrepareMockExam(candidateIdNumber, driveTypeCode, &store.FDrawnPaper))
        return false;
    try {
        TSaveProgressWindow progress;
        if (!store.LoadPaper(paperQuery, progress))
            return false;
    } catch (const EPaperError &error) {
        ShowError(error.Message());
        return false;
    }
    try {
        QCoreApplication::processEvents();
    } catch (const std::exception &) {
        ShowError(QStringLiteral("系统出错！"));
        return false;
    }
    return true;
}
