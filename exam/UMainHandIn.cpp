// The exam screen's clock, hand-in and review: from the end of answering
// to the result sheet and the closing of the window.
#include <exception>

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>

#include "UAnswerSaver.h"
#include "UApplication.h"
#include "UComm.h"
#include "UDM.h"
#include "UExamClock.h"
#include "UExamRecording.h"
#include "UExamRules.h"
#include "UExamWidgets.h"
#include "UFrRep.h"
#include "UMain.h"
#include "UQuery.h"
#include "UScoring.h"

void TFrmMain::ExamClockTick()
{
    if (!FAnswering)
        return;
    if (!FClock->CountDown()) {
        // A hand-in confirmation still open would only hang on, stale.
        CloseOpenMessageBoxes();
        SpeedButton3Click();
    }
    ShowClock();
}

void TFrmMain::ShowClock()
{
    SetTextColour(LabTime, ClockColor(FClock->SecondsLeft()));
    LabTime->setText(ClockText(FClock->SecondsLeft()));
}

void TFrmMain::SpeedButton3Click()
{
    if (!FAnswering)
        return;
    // Scoring reads the stored answers: every answer must be there first.
    if (!FAnswerSaver->Flush()) {
        ShowError(QStringLiteral("有 %1 题的答案尚未保存到考场服务器，暂时不能交卷。程序正在重试，请稍后再交卷。")
                      .arg(FAnswerSaver->UnsavedCount()));
        return;
    }
    if (FClock->SecondsLeft() > 0) {
        const int answer = AskOkCancel(HandInQuestion(UnansweredCount(FExamineID)));
        // The clock runs on while the question is open; if the time ran
        // out meanwhile, that hand-in has already taken place.
        if (answer != 1 || !FAnswering)
            return;
    }
    FAnswering = false;
    FHandedIn = true;
    FClock->Stop();
    Edit1->setReadOnly(true);
    RGYxx->setEnabled(false);
    if (FClock->SecondsLeft() <= 0)
        ShowInfo(TimeUpText());

    const TPaperScore score = ScorePaper(QString::number(FExamineID));
    ShowReview(score);
    if (FPracticeKind == TPracticeKind::ChapterPractice) {
        ShowInfo(ChapterSummary(score.RightCount));
        FRecording->HandIn(FExamineID, FClock->SecondsLeft());
        return;
    }
    std::exception_ptr sheetError;
    const QString summary = FPracticeKind == TPracticeKind::MockExam
        ? MockExamSummary(score.RightCount, score.WrongCount, score.Score)
        : HandInSummary(score.RightCount, score.WrongCount, score.Score);
    if (AskOkCancel(summary) == 1) {
        try {
            OfferResultSheet(FPracticeKind == TPracticeKind::MockExam ? VerdictText(score.Score) : QString());
        } catch (...) {
            sheetError = std::current_exception();
        }
    }
    // The paper goes whether or not the sheet could be shown.
    FRecording->HandIn(FExamineID, FClock->SecondsLeft());
    if (sheetError)
        std::rethrow_exception(sheetError);
    Label1->show();
}

void TFrmMain::OfferResultSheet(const QString &verdict)
{
    Qry_Print->SetConnection(DM ? DM->ACon : nullptr);
    Qry_Print->Close();
    Qry_Print->SetSQL(ResultSheetSql(FExamineID));
    Qry_Print->Open();
    PrintResultSheet(Qry_Print, RunContext.AppPath + QStringLiteral("TestMn.frf"), verdict);
}

void TFrmMain::SpeedButton5Click()
{
    close();
}

void TFrmMain::closeEvent(QCloseEvent *event)
{
    if (FAnswering)
        event->ignore();
    else
        event->accept();
}

void TFrmMain::Qry_PrintAfterOpen()
{
    if (!Qry_Print->Active() || Qry_Print->IsEmpty())
        return;
    if (TField *otz = Qry_Print->FindField(QStringLiteral("OTZ"))) {
        otz->OnGetText = [this](const TField &field, QString &text, bool displayText) {
            Qry_PrintOtzGetText(field, text, displayText);
        };
    }
}

void TFrmMain::Qry_PrintOtzGetText(const TField &field, QString &text, bool)
{
    if (field.IsNull())
        return;
    text = IsAnswerRight(Qry_Print->FieldByName(QStringLiteral("ThemeResult"))->AsString(),
                         Qry_Print->FieldByName(QStringLiteral("AnswerResult"))->AsString())
        ? QStringLiteral("正确")
        : QStringLiteral("错误");
}
