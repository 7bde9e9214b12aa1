#pragma once

#include <array>
#include <set>

#include <QWidget>

#include "UExamRules.h"

class QLabel;
class QLineEdit;
class QTimer;
class TAnswerSheetPanel;
class TClickLabel;
class TExamClock;
class TAnswerSaver;
class TExamRecording;
class TFaceButton;
class TField;
class TQuery;
class TRadioGroup;
struct TOpenRecord;
struct TPaperScore;

// The exam screen: the program's main window, where the paper is worked.
// The current question is the current row of AQry; every answer is
// committed to that row at once.
class TFrmMain : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrmMain)

public:
    explicit TFrmMain(QWidget *parent = nullptr);
    ~TFrmMain() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // The window sees every key before the focused control does.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateLeftColumn();
    void CreateRightArea();
    void CreateAnswerBar(QWidget *rightArea);

    void FormCreate();
    void FormShow();
    void TimerStartTimer();
    bool LoadPaper(const QString &candidateIdNumber, const QString &driveTypeCode);
    bool ReopenPaper(const TOpenRecord &record);
    void ShowResumedAnswers();

    bool HasCurrentQuestion() const;
    QString CurrentText(const QString &column) const;
    void ShowQuestion();
    void ShowOption(QLabel *label, const QString &column, const QString &prefix);
    void AQryAfterScroll();

    QString OfferedOptions() const;
    void LabAClick(TClickLabel *sender);
    void Edit1Change();
    void RGYxxClick();
    void AnswerSheetClick(int number);
    void ShowAnswerState(const QString &answer);
    void ShowPracticeVerdict(const QString &answer);
    bool AwaitsConfirmation() const;
    bool JudgeOnConfirm();
    void ShowExplanation();
    void MarkOptionForReview(size_t option);
    void ShowReview(const TPaperScore &score);
    void SpeedButton1Click();
    void SpeedButton2Click();
    void PlaceCaretAtEnd();
    void FormKeyDown(int key);

    void ExamClockTick();
    void ShowClock();
    void SpeedButton3Click();
    void OfferResultSheet(const QString &verdict);
    void SpeedButton5Click();
    void Qry_PrintAfterOpen();
    void Qry_PrintOtzGetText(const TField &field, QString &text, bool displayText);

    bool FAnswering = false;
    TPracticeKind FPracticeKind = TPracticeKind::MockExam;
    qint64 FExamineID = 0;
    int FExamMinutes = 0;
    int FQuestionCount = 0;
    // Set once the paper is handed in and its rows are deleted: from then
    // on nothing is written into the rows AQry still holds for review.
    bool FHandedIn = false;
    // The paper is one an earlier run left open, taken up again.
    bool FResumed = false;
    // Practice judges a multiple choice once it is confirmed or left: the
    // questions judged so far, and the one whose answer still waits.
    std::set<int> FJudged;
    int FAwaitingJudgement = 0;

    TQuery *AQry;
    TQuery *QryModel;
    TQuery *Qry_Print;
    QTimer *TimerStart;
    TExamClock *FClock;
    TExamRecording *FRecording;
    TAnswerSaver *FAnswerSaver;

    QLabel *Label5;
    QLabel *LabCylb;
    QLabel *LabTime;
    QLabel *Label2;
    TAnswerSheetPanel *Panel1;

    QLabel *LabContent;
    QLabel *LabType;
    QLabel *ImgTheme;
    QWidget *Panel5;
    QLabel *LabNote;
    // LabA … LabE, option 1 to 5.
    std::array<TClickLabel *, 5> FOptionLabels;

    QWidget *Panel3;
    QLineEdit *Edit1;
    QWidget *Panel9;
    QLabel *Label8;
    TRadioGroup *RGYxx;
    QLabel *Label1;
    TFaceButton *SpeedButton1;
    TFaceButton *SpeedButton2;
    TFaceButton *SpeedButton3;
    TFaceButton *SpeedButton5;
};
