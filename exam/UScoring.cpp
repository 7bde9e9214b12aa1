#include "exam/UScoring.h"

#include "app/UComm.h"
#include "app/UDM.h"
#include "app/UQuery.h"
#include "exam/UExamRules.h"

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
        if (IsAnswerRight(query.FieldByName(QStringLiteral("ThemeResult"))->AsString(),
                          query.FieldByName(QStringLiteral("AnswerResult"))->AsString())) {
            ++result.RightCount;
            result.Score += query.FieldByName(QStringLiteral("ThemeBit"))->AsInteger();
        } else {
            ++result.WrongCount;
        }
        query.Next();
    }
    query.Close();
    return result;
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
