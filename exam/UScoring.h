#pragma once

#include <QString>

// Scoring and discarding of a stored paper. The paper table follows
// RunContext.PracticeMode: the practice modes keep theirs apart.

// Scores the stored paper with the right-answer rule: fills
// RunContext.RightCount and WrongCount and returns the sum of ThemeBit over
// the right answers. A failing statement throws EDatabaseError.
int ScorePaper(const QString &examineIdText);

// The result-sheet statement, with the verdict column OTZ left empty.
QString ResultSheetSql(qint64 examineId);
// Deletes the paper's rows; -1 when the statement failed.
int DeletePaper(qint64 examineId);
