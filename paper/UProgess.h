#pragma once

#include <memory>

#include <QDialog>

#include "UPaperStore.h"

class QProgressBar;
class TBarStepper;

// The save-progress window: a bar that cannot be closed and stays on top
// while a paper is copied. It has no code of its own.
class TFrmProgess : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrmProgess)

public:
    explicit TFrmProgess(QWidget *parent = nullptr);

    QProgressBar *ProgressBar1;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

// Shows the copying of a paper in a save-progress window, there from Begin
// to End, and lets the event queue run at every step.
class TSaveProgressWindow : public TPaperProgress
{
public:
    TSaveProgressWindow();
    ~TSaveProgressWindow() override;
    TSaveProgressWindow(const TSaveProgressWindow &) = delete;
    TSaveProgressWindow &operator=(const TSaveProgressWindow &) = delete;

    void Begin() override;
    void SetMaximum(int questions) override;
    void StepIt() override;
    void End() override;

private:
    std::unique_ptr<TFrmProgess> FWindow;
    std::unique_ptr<TBarStepper> FStepper;
};
