#pragma once

#include <functional>
#include <memory>
#include <random>

#include <QString>
#include <QStringList>

#include "UThemeCfg.h"

class TIniFile;
class TQuery;

// The active template of the licence class, checked: throws EPaperError
// with the candidate's message when the class has none or more than one, or
// when it fails CheckTemplate. Database errors of the lookup leave as they are.
QString MockExamTemplate(const QString &driveTypeCode);

// A template passes when no row wants more questions than it has and the
// rows' points add up to exactly 100.
bool CheckTemplate(const QString &modelId);

// The candidate's message when the draw from the template failed or was
// cancelled.
QString DrawFailedText(const QString &modelId);

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

    // Called after every recorded question and every content row: a window
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
