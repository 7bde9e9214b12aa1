#include "UScoring.h"

#include "UComm.h"
#include "UDM.h"
#include "UExamRules.h"
#include "UQuery.h"

namespace {

bool PracticePaper()
{
    return PracticeKindOf(RunContext.PracticeMode) != TPracticeKind::MockExam;
}

} // namespace

TPaperScore ScorePaper(const QString &examineIdText)
{
    TQuery query;
    query.SetConnection(DM ? DM->ACon : nullptr);
    query.SetSQL((PracticePaper() ? QStringLiteral("Select * From T_ks_ExamineTheme_TT Where ExamineID=")
                                  : QStringLiteral("Select * From T_ks_ExamineTheme Where ExamineID="))
                 + examineIdText + QStringLiteral(" Order By ID"));
    query.Open();
    TPaperScore result;
    const int rows = query.RecordCount();
    query.First();
    for (int i = 0; i < rows; ++i) {
        const QString answer = query.FieldByName(QStringLiteral("AnswerResult"))->AsString();
        const TReviewMark mark = ReviewMarkOf(query.FieldByName(QStringLiteral("ThemeResult"))->AsString(), answer);
        // Scoring keeps its own rule: an empty answer to an empty right answer counts as right.
        if (IsAnswerRight(query.FieldByName(QStringLiteral("ThemeResult"))->AsString(), answer)) {
            ++result.RightCount;
            result.Score += query.FieldByName(QStringLiteral("ThemeBit"))->AsInteger();
        } else {
            ++result.WrongCount;
        }
        result.UnansweredCount += mark == TReviewMark::Unanswered ? 1 : 0;
        result.Marks.emplace_back(query.FieldByName(QStringLiteral("ID"))->AsInteger(), mark);
        query.Next();
    }
    query.Close();
    return result;
}

int UnansweredCount(qint64 examineId)
{
    TQuery query;
    query.SetConnection(DM ? DM->ACon : nullptr);
    query.SetSQL((PracticePaper() ? QStringLiteral("Select Count(*) As N From T_ks_ExamineTheme_TT Where ExamineID=")
                                  : QStringLiteral("Select Count(*) As N From T_ks_ExamineTheme Where ExamineID="))
                 + QString::number(examineId) + QStringLiteral(" And (AnswerResult Is Null Or AnswerResult='')"));
    query.Open();
    return query.FieldByName(QStringLiteral("N"))->AsInteger();
}

QString ResultSheetSql(qint64 examineId)
{
    return (PracticePaper() ? QStringLiteral("Select *,'' as OTZ From T_Ks_ExamineTheme_TT where ExamineID=")
                            : QStringLiteral("Select *,'' as OTZ From T_Ks_ExamineTheme where ExamineID="))
        + QString::number(examineId) + QStringLiteral(" order by id");
}

int DeletePaper(qint64 examineId)
{
    return ExecSql((PracticePaper() ? QStringLiteral("Delete from T_KS_EXAMINETHEME_TT where ExamineID=")
                                    : QStringLiteral("Delete from T_KS_EXAMINETHEME where ExamineID="))
                   + QString::number(examineId));
}
