#pragma once

#include <functional>
#include <memory>

#include <QString>

class TIniFile;
class TQuery;

// The progress display of the copying: the program shows the window
// TFrmProgess (ShowSaveProgressWindow); it is destroyed when copying ends.
class TPaperProgress
{
public:
    virtual ~TPaperProgress() = default;
    virtual void SetMaximum(int maximum) = 0;
    virtual void StepIt() = 0;
};

// Creates and shows the save-progress window without waiting (UProgess.cpp).
std::unique_ptr<TPaperProgress> ShowSaveProgressWindow();

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
    // A database error of the presence check or the numbering is not
    // caught: it leaves as EDatabaseError for the framework's error box.
    bool LoadPaper(TQuery *paperQuery, const QString &candidateIdNumber, const QString &driveTypeCode);

    // Numbers the paper, sets FExamMinutes and FQuestionCount and copies the
    // questions into the mode's paper table. The number is taken and the
    // rows written in one write transaction, so two programs storing into
    // the same file at once never share a number; on error nothing stays.
    // A mock exam copies FDrawnPaper, the paper this run drew, or else the
    // paper Theme.Cfg holds; the practice modes do not read Theme.Cfg.
    bool SavePaper();
    // Largest ExamineID of the mode's paper table plus 1, or 1 when empty.
    // Throws EDatabaseError when the largest number has no successor.
    qint64 NextExamineID();
    bool ThemeExists(int themeId);

    // Runs once the paper is open, before the event queue runs: the exam
    // screen sets FSecondsLeft and FAnswering here (may be empty).
    std::function<void()> OnPaperOpened;

    qint64 FExamineID = 0;
    int FExamMinutes = 0;
    int FQuestionCount = 0;
    TQuery *QryModel;
    // Set by LoadPaper from the mock-exam draw (Theme.Cfg as it was written).
    std::unique_ptr<TIniFile> FDrawnPaper;

private:
    void ReadExamSize(const TIniFile *drawnPaper);
    void OpenQuestionSource();
    void CopyPracticeQuestions(TQuery &target, TPaperProgress &progress);
    void CopyDrawnQuestions(const TIniFile &themeCfg, TQuery &target, TPaperProgress &progress);
    void AppendPaperRow(TQuery &target, int id, const QString &themeBit);
    QString PaperTable() const;
    QString SaveErrorText() const;

    bool FQuestionCurrent = false;
};
