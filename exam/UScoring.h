#pragma once

#include <utility>
#include <vector>

#include <QString>

#include "UReviewMarks.h"

// Scoring and discarding of a stored paper. The paper table follows
// RunContext.PracticeMode: the practice modes keep theirs apart.

struct TPaperScore
{
    int RightCount = 0;
    int WrongCount = 0;
    int Score = 0; // the sum of ThemeBit over the right answers
    int UnansweredCount = 0;
    // Every question's mark for the review, by its ID on the paper.
    std::vector<std::pair<int, TReviewMark>> Marks;
};

// Scores the stored paper with the right-answer rule. A failing statement
// throws EDatabaseError.
TPaperScore ScorePaper(const QString &examineIdText);

// The stored paper's questions without an answer, by one count.
int UnansweredCount(qint64 examineId);

// The result-sheet statement, with the verdict column OTZ left empty.
QString ResultSheetSql(qint64 examineId);
// Deletes the paper's rows; -1 when the statement failed.
int DeletePaper(qint64 examineId);
