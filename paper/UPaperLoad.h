#pragma once

#include <memory>

#include <QString>

class TIniFile;
class TPaperStore;
class TQuery;

// Finds and checks the active template of the licence class and runs the
// draw window on it. True when Theme.Cfg now holds a freshly drawn paper,
// handed to drawnPaper (when given) so that the copy stored is this run's
// own even when another copy of the program draws into the same Theme.Cfg
// meanwhile. On false the reason has been shown. Database errors of the
// lookup and check leave it.
bool PrepareMockExam(const QString &candidateIdNumber, const QString &driveTypeCode,
                     std::unique_ptr<TIniFile> *drawnPaper = nullptr);

// Loads the run's paper as the exam screen does: a mock exam is drawn in
// the draw window, the paper stored under the save-progress window and
// opened in paperQuery; then the event queue runs. False when it failed:
// the reason has been shown (or the one silent case of the store). A
// database error of the practice presence check or the numbering is not
// caught: it leaves for the framework's error box.
bool LoadExamPaper(TPaperStore &store, TQuery *paperQuery, const QString &candidateIdNumber,
                   const QString &driveTypeCode);
