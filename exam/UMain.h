#pragma once

#include <QWidget>

// The exam screen: the program's main window, where the paper is worked.
class TFrmMain : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrmMain)

public:
    explicit TFrmMain(QWidget *parent = nullptr);

private:
    void FormCreate();
};
