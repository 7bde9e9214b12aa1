// The exam screen's judging of practice answers and the review after
// hand-in: verdicts, explanations and the marks on the sheet and options.
#include <algorithm>

#include <QLabel>
#include <QLineEdit>

#include "UAnswerSheetPanel.h"
#include "UDM.h"
#include "UExamRules.h"
#include "UExamWidgets.h"
#include "UExplanation.h"
#include "UMain.h"
#include "UQuery.h"
#include "UReviewMarks.h"
#include "UScoring.h"

namespace {

const QColor KRightColour(3, 150, 0);
const QColor KWrongColour(220, 20, 0);
const QColor KOptionColour(51, 51, 51);

} // namespace

bool TFrmMain::AwaitsConfirmation() const
{
    return FAnswering && FPracticeKind != TPracticeKind::MockExam
        && AQry->FieldByName(QStringLiteral("ThemeType"))->AsInteger() == 3
        && !FJudged.count(AQry->FieldByName(QStringLiteral("ID"))->AsInteger());
}

void TFrmMain::ShowPracticeVerdict(const QString &answer)
{
    // Shown at the first click, a multiple choice's verdict would give the
    // rest of the answer away.
    if (AwaitsConfirmation()) {
        FAwaitingJudgement = answer.isEmpty() ? 0 : AQry->FieldByName(QStringLiteral("ID"))->AsInteger();
        Label1->hide();
        LabNote->hide();
        return;
    }
    Label1->show();
    Label1->setText(PracticeFeedback(answer, CurrentText(QStringLiteral("THEMERESULT"))));
    ShowExplanation();
}

bool TFrmMain::JudgeOnConfirm()
{
    if (!HasCurrentQuestion() || !AwaitsConfirmation())
        return false;
    FJudged.insert(AQry->FieldByName(QStringLiteral("ID"))->AsInteger());
    FAwaitingJudgement = 0;
    ShowPracticeVerdict(CurrentText(QStringLiteral("AnswerResult")));
    return true;
}

void TFrmMain::ShowExplanation()
{
    // Practice explains with its verdict; the mock exam only in review.
    const bool due = FHandedIn || (FPracticeKind != TPracticeKind::MockExam && !Label1->isHidden());
    const QString explanation = due && HasCurrentQuestion()
        ? ReadExplanation(DM ? DM->ACon : nullptr, AQry->FieldByName(QStringLiteral("ThemeID"))->AsInteger())
        : QString();
    if (explanation.isEmpty()) {
        LabNote->hide();
        return;
    }
    int top = Panel5->y();
    for (const QLabel *option : FOptionLabels) {
        if (!option->isHidden())
            top = std::max(top, Panel5->y() + option->geometry().bottom() + 1);
    }
    if (!ImgTheme->pixmap().isNull())
        top = std::max(top, ImgTheme->geometry().bottom() + 1);
    top += 10;
    const int room = Panel3->y() - 4 - top;
    LabNote->setGeometry(32, top, 745, LabNote->fontMetrics().height());
    if (room < LabNote->height()) {
        LabNote->hide();
        return;
    }
    LabNote->setText(TextWithinHeight(LabNote, ExplanationLine(explanation), room));
    FitHeight(LabNote);
    LabNote->show();
}

void TFrmMain::MarkOptionForReview(size_t option)
{
    const TOptionReview review = OptionReviewOf(int(option) + 1, CurrentText(QStringLiteral("AnswerResult")),
                                                CurrentText(QStringLiteral("THEMERESULT")));
    QLabel *label = FOptionLabels[option];
    SetTextColour(label, review.Right ? KRightColour : review.Chosen ? KWrongColour : KOptionColour);
    label->setAccessibleDescription(OptionReviewNote(review).trimmed());
    if (!label->isHidden())
        label->setText(label->text() + OptionReviewNote(review));
}

void TFrmMain::ShowReview(const TPaperScore &score)
{
    for (const auto &[id, mark] : score.Marks)
        Panel1->ShowReviewMark(id, mark);
    ShowQuestion();
}
