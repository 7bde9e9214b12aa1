#pragma once

#include <QDialog>

class QProgressBar;

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
