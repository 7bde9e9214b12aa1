#pragma once

#include <memory>

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>

#include "TestSupport.h"
#include "UMain.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TAnswerSheetPanel;
class TExamClock;
class TFaceButton;
class TQuery;
class TRadioGroup;

extern const QString KConfirm;
extern const QString KLongText;

// Answers the set-up dialogs the exam screen opens while it is created and
// closes the result-sheet preview, as a candidate would.
class TDialogAnswerer : public QObject
{
public:
    TDialogAnswerer();
    int LicenceDialogs = 0;
    int Previews = 0;
    int PreviewPages = 0;
    // Every line of text on the last result sheet shown.
    QStringList PreviewLines;

private:
    void Poll();
    QTimer FTimer;
};

// The parts of an exam screen the tests look at and work, found by the
// object names they carry.
struct TExamScreen
{
    explicit TExamScreen(TFrmMain &form);

    TExamClock *Clock;
    TQuery *AQry;
    TQuery *Qry_Print;
    QLabel *Label1, *Label2, *Label5, *LabCylb, *LabTime, *LabContent, *LabType, *ImgTheme;
    QLabel *LabA, *LabB, *LabC, *LabD, *LabE;
    TAnswerSheetPanel *Panel1;
    QWidget *Panel3, *Panel5, *Panel9;
    QLineEdit *Edit1;
    TRadioGroup *RGYxx;
    TFaceButton *SpeedButton1, *SpeedButton2, *SpeedButton3, *SpeedButton5;
};

// The exam screen over a bank of four questions of chapter 1, set "01", in
// the order the template draws them: a true/false question with a picture,
// two single choices (the second without option 3) and a multiple choice
// with a long text. Every test starts with a fresh bank and run context.
class TExamScreenTest : public QObject
{
    Q_OBJECT

protected slots:
    void initTestCase();
    void init();
    void cleanup();

protected:
    // The screen with its paper loaded and its clock stopped, or null.
    std::unique_ptr<TFrmMain> OpenExam(const QString &mode, const QString &scope = QString());
    // A column of the stored paper's row of question id.
    QVariant Stored(int id, const char *column) const;
    static QPushButton *SheetButton(TFrmMain &form, int number);
    static int CurrentId(TFrmMain &form);
    // Chooses a question by its answer-sheet button.
    static void GoTo(TFrmMain &form, int id);

    std::unique_ptr<TTestBank> FBank;
    std::unique_ptr<TScriptedMessages> FMessages;
    std::unique_ptr<TDialogAnswerer> FAnswerer;
};
