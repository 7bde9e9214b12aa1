#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include <QString>

class EPaperError;
class TIniFile;
class TQuery;
class TWriteTransaction;

// A drawn question as the paper copies it: its row in the bank (-1: not
// in the bank), its points as checked and as stored, and whether it was
// deleted from the bank since the draw.
struct TPaperRowSource
{
    int Row = -1;
    QString CheckedBit;
    QString ThemeBit;
    bool Deleted = false;
};

// What the run's paper is made of, as the set-up dialogs chose it.
struct TPaperRequest
{
    QString PracticeMode;     // "1" set, "2" chapter practice; any other value the mock exam
    QString PracticeScope;    // set number or chapter number of a practice
    QString ChapterFilter;    // an SQL condition on THEMECHAPTER
    QString DriveTypeCaption; // named in the messages of a practice not found

    // The values the set-up dialogs left in RunContext.
    static TPaperRequest OfRun();
};

// Told how the copying of a paper goes, for a window to show it; this base
// shows nothing. Begin comes before the paper's size is known, End before
// a failure is reported.
class TPaperProgress
{
public:
    virtual ~TPaperProgress() = default;
    virtual void Begin() {}
    virtual void SetMaximum(int /*questions*/) {}
    virtual void StepIt() {}
    virtual void End() {}

    // Shared by every run that shows no progress: it holds no state.
    static TPaperProgress &Unseen();
};

// Paper storage and loading, apart from any window: the exam screen hands
// its paper query here and copies the numbers back into its own fields.
class TPaperStore
{
public:
    explicit TPaperStore(const TPaperRequest &request);
    ~TPaperStore();
    TPaperStore(const TPaperStore &) = delete;
    TPaperStore &operator=(const TPaperStore &) = delete;

    // Stores the run's paper and opens it in paperQuery ("... Where
    // ExamineID=n Order By ID"), read whole; a practice first checks that
    // its questions exist. False in the one silent case: a mock exam with
    // neither a drawn paper nor Theme.Cfg. A failure the candidate is told
    // of throws EPaperError with the message; a database error of the
    // presence check or the numbering leaves as EDatabaseError.
    bool LoadPaper(TQuery *paperQuery, TPaperProgress &progress = TPaperProgress::Unseen());

    // Numbers the paper, sets FExamMinutes and FQuestionCount and copies the
    // questions into the mode's paper table. The number is taken and the
    // rows written in one write transaction, so two programs storing into
    // the same file at once never share a number; on error nothing stays.
    // A mock exam copies FDrawnPaper, the paper this run drew, or else the
    // paper Theme.Cfg holds; the practice modes do not read Theme.Cfg.
    // False in the silent case of LoadPaper; a failed copy throws EPaperError.
    bool SavePaper(TPaperProgress &progress = TPaperProgress::Unseen());
    // Largest ExamineID of the mode's paper table plus 1, or 1 when empty.
    // Throws EDatabaseError when the largest number has no successor.
    qint64 NextExamineID();
    bool ThemeExists(int themeId);

    // Runs once LoadPaper has opened the paper, before the caller lets the
    // event queue run: the exam screen sets FSecondsLeft and FAnswering here
    // (may be empty).
    std::function<void()> OnPaperOpened;

    qint64 FExamineID = 0;
    int FExamMinutes = 0;
    int FQuestionCount = 0;
    TQuery *QryModel;
    // The paper of this run's mock-exam draw (Theme.Cfg as it was written),
    // handed over by whoever ran the draw.
    std::unique_ptr<TIniFile> FDrawnPaper;
    const TPaperRequest &Request() const { return FRequest; }

private:
    void CheckPracticeQuestions();
    std::vector<TPaperRowSource> ReadPaperSources(TPaperProgress &progress);
    void CopyPaper(const std::vector<TPaperRowSource> &sources, TPaperProgress &progress);
    EPaperError SaveFailure(TWriteTransaction &transaction, const std::exception &error, TPaperProgress &progress) const;
    void ReadExamSize(const TIniFile *drawnPaper);
    void OpenQuestionSource();
    void CopyPracticeQuestions(TQuery &target, TPaperProgress &progress);
    std::vector<TPaperRowSource> DrawnQuestionSources(const TIniFile &themeCfg);
    void CopyDrawnQuestions(const std::vector<TPaperRowSource> &sources, TQuery &target, TPaperProgress &progress);
    void AppendPaperRow(TQuery &target, int id, const QString &themeBit);
    QString PaperTable() const;
    // The paper table as the numbering statement names it.
    QString NumberedTable() const;
    QString SaveErrorText() const;

    TPaperRequest FRequest;
    bool FQuestionCurrent = false;
};
