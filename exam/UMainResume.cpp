// The exam screen takes up a paper an earlier run left open: its rows, the
// time that was left, the answer sheet as it was and the first open question.
#include <algorithm>

#include <QLabel>

#include "UAnswerSheetPanel.h"
#include "UComm.h"
#include "UExamClock.h"
#include "UExamRules.h"
#include "UMain.h"
#include "UQuery.h"
#include "URecordStore.h"

bool TFrmMain::ReopenPaper(const TOpenRecord &record)
{
    if (!OpenQuery(AQry,
                   QStringLiteral("Select * From %1 Where ExamineID=%2 Order By ID")
                       .arg(record.PaperTable)
                       .arg(record.ExamineID))) {
        ShowError(QStringLiteral("打开试题错误！"));
        return false;
    }
    // Read whole, as a stored paper is: the review outlives its rows.
    AQry->FetchAll();
    FResumed = true;
    FExamineID = record.ExamineID;
    FQuestionCount = record.QuestionCount;
    FClock->SetSecondsLeft(record.SecondsLeft);
    FAnswering = true;
    return true;
}

void TFrmMain::ShowResumedAnswers()
{
    const int idColumn = AQry->FieldByName(QStringLiteral("ID"))->Index();
    const int answerColumn = AQry->FieldByName(QStringLiteral("AnswerResult"))->Index();
    const int flagColumn = AQry->FieldByName(QStringLiteral("Yxx_St"))->Index();
    int firstUnanswered = -1;
    for (int row = 0; row < AQry->RecordCount(); ++row) {
        const QString answer = AQry->RowValue(row, answerColumn).toString();
        const QString flag = AQry->RowValue(row, flagColumn).toString();
        Panel1->SetState(AQry->RowValue(row, idColumn).toInt(), AnswerStateOf(answer, ValidityIndexOf(flag, answer)));
        if (answer.isEmpty() && firstUnanswered < 0)
            firstUnanswered = row;
    }
    AQry->First();
    AQry->MoveBy(std::max(0, firstUnanswered));
}
