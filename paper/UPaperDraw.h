#pragma once

#include <functional>
#include <memory>
#include <random>

#include <QString>
#include <QStringList>

class TIniFile;
class TQuery;

// The settings file in which a mock-exam draw leaves its paper.
QString ThemeCfgFileName();

// Every copy of the program in the folder shares Theme.Cfg: it is deleted
// and written only while holding a lock file beside it. Writing throws
// std::runtime_error when the file cannot be written.
void RemoveThemeCfg();
void WriteThemeCfg(TIniFile &themeCfg);

// Finds the active template of the licence class, checks it and runs the
// draw. True when Theme.Cfg now holds a freshly drawn paper; on false the
// reason has been shown. The paper this draw wrote is handed to drawnPaper
// (when given), so that the copy stored is this run's own even when another
// copy of the program draws into the same Theme.Cfg meanwhile. Database
// errors of the lookup and check leave it.
bool PrepareMockExam(const QString &candidateIdNumber, const QString &driveTypeCode,
                     std::unique_ptr<TIniFile> *drawnPaper = nullptr);

// A template passes when no row wants more questions than it has and the
// rows' points add up to exactly 100.
bool CheckTemplate(const QString &modelId);

// Deletes Theme.Cfg and runs the draw window modally; true on OK, the drawn
// paper then handed to drawnPaper (when given). Defined with the window
// (USetTheme.cpp).
bool RunPaperDraw(const QString &modelId, const QString &candidateIdNumber,
                  std::unique_ptr<TIniFile> *drawnPaper = nullptr);

// The draw of one mock-exam paper from a template into Theme.Cfg, apart
// from the window that shows its progress.
class TPaperDraw
{
public:
    explicit TPaperDraw(const QString &modelId);
    ~TPaperDraw();
    TPaperDraw(const TPaperDraw &) = delete;
    TPaperDraw &operator=(const TPaperDraw &) = delete;

    // Draws every content row into Theme.Cfg. Throws on any error (database,
    // a NULL RandomTheme, a file that cannot be written, a random draw that
    // cannot find enough questions); what was drawn so far stays in the file.
    // The file is written once at the end (or on the error): rewriting it
    // for every question cost more than the draw itself. The part, chapter
    // and type of a content row must be whole numbers.
    void DrawQuestions();
    bool NotYetDrawn(const QString &themeId) const;
    // The paper as written to Theme.Cfg, kept in memory; null before a draw.
    std::unique_ptr<TIniFile> TakeDrawnPaper();

    const QStringList &DrawnThemeIDs() const { return FDrawnThemeIDs; }
    int DrawnCount() const { return FDrawnCount; }

    // Called after every recorded question and every content row: the window
    // moves its bar and lets the event queue run.
    std::function<void()> OnStep;

    // Attempts per randomly drawn question before the draw gives up: far
    // more than a reachable candidate ever needs, so only a row whose
    // reachable candidates are all on the paper ends here. Capped, so that a
    // template claiming absurdly many questions still fails in seconds.
    static qint64 MaxAttempts(int available) { return qMin(64 * (qint64(available) + 1), qint64(1000000)); }

private:
    void DrawIntoThemeCfg();
    void DrawRow(int available, int wanted, int points, bool fixedSelection);
    void DrawAtRandom(int available, int points);
    void RecordDrawnQuestion(int points);
    void Step();

    QString FModelID;
    std::unique_ptr<TQuery> Qry;
    std::unique_ptr<TQuery> Qry1;
    std::unique_ptr<TIniFile> FThemeCfg;
    QStringList FDrawnThemeIDs;
    int FDrawnCount = 0;
    std::mt19937 FRandom;
};
