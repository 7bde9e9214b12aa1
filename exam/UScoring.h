#pragma once

#include <QString>

// Scoring and discarding of a stored paper. The paper table follows
// RunContext.PracticeMode: the practice modes keep theirs apart.

struct TPaperScore
{
    int RightCount = 0;
    int WrongCount = 0;
    int Score = 0; // the sum of ThemeBit over the right answers
};

// Scores the stored paper with the right-answer rule. A failing statement
// throws EDatabaseError.
TPaperScore ScorePaper(const QString &examineIdText);

// The result-sheet statement, with the verdict column OTZ left empty.
QString ResultSheetSql(qint64 examineId);
// Deletes the paper's rows; -1 when the statement failed.
int DeletePaper(qint64 examineId);
