#pragma once

#include <memory>

#include <QDialog>
#include <QString>

class QLabel;
class QProgressBar;
class QTimer;
class TBarStepper;
class TIniFile;
class TPaperDraw;

// Deletes Theme.Cfg and runs the draw window modally; true on OK, the drawn
// paper then handed to drawnPaper (when given).
bool RunPaperDraw(const QString &modelId, const QString &candidateIdNumber,
                  std::unique_ptr<TIniFile> *drawnPaper = nullptr);

// The draw window: shows the progress of the mock-exam draw, which runs on
// its first timer tick; the modal result is OK when the draw succeeded.
class TFrmSetTheme : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrmSetTheme)

public:
    explicit TFrmSetTheme(QWidget *parent = nullptr);
    ~TFrmSetTheme() override;

    QString FModelID;

    // Once the draw runs it decides the result itself: a close request
    // (the close box, Escape, a quit request) is ignored until it ends.
    void reject() override;

    // The paper the draw wrote to Theme.Cfg; null when it never ran.
    std::unique_ptr<TIniFile> TakeDrawnPaper();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void Timer1Timer();
    void DrawQuestions();
    void StepBar();

    QProgressBar *ProgressBar1;
    QTimer *Timer1;
    QLabel *Label1;
    std::unique_ptr<TPaperDraw> FDraw;
    std::unique_ptr<TBarStepper> FBarStepper;
    bool FDrawing = false;
};
