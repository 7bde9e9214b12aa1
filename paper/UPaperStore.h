#pragma once

#include <QString>

class TQuery;

// Paper storage and loading, apart from the exam screen's widgets: the
// exam screen's LoadPaper hands its paper query here and copies the
// numbers back into its own fields.
class TPaperStore
{
public:
    TPaperStore();
    ~TPaperStore();
    TPaperStore(const TPaperStore &) = delete;
    TPaperStore &operator=(const TPaperStore &) = delete;

    // Produces the run's questions by PracticeMode (the mock-exam draw or the
    // practice presence check), stores the paper and opens it in paperQuery
    // ("... Where ExamineID=n Order By ID"). False when it failed; the
    // reason has been shown then (or the one silent case: no Theme.Cfg).
    bool LoadPaper(TQuery *paperQuery, const QString &candidateIdNumber, const QString &driveTypeCode);

    bool SavePaper();
    int NextExamineID();
    bool ThemeExists(int themeId);

    int FExamineID = 0;
    int FExamMinutes = 0;
    int FQuestionCount = 0;
    TQuery *QryModel;
};
