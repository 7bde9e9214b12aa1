#include "UProgess.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QProgressBar>

#include "UBarStepper.h"
#include "UFonts.h"

TFrmProgess::TFrmProgess(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FrmProgess"));
    setWindowTitle(QStringLiteral("创建进度"));
    setFixedSize(540, 31);
    setFont(SongFont(13));

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(6, 5, 529, 20);
    ProgressBar1->setTextVisible(false);
}

void TFrmProgess::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

void TFrmProgess::keyPressEvent(QKeyEvent *event)
{
    // Escape would close a dialog; this one goes when the copying ends.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

TSaveProgressWindow::TSaveProgressWindow() = default;

TSaveProgressWindow::~TSaveProgressWindow() = default;

void TSaveProgressWindow::Begin()
{
    FWindow = std::make_unique<TFrmProgess>();
    FWindow->setWindowTitle(QStringLiteral("正在保存数据……"));
    FWindow->ProgressBar1->setRange(0, 100);
    FWindow->ProgressBar1->setValue(0);
    FStepper = std::make_unique<TBarStepper>(FWindow->ProgressBar1);
    FWindow->show();
}

void TSaveProgressWindow::SetMaximum(int questions)
{
    // A zero range would turn the bar into a busy indicator.
    FWindow->ProgressBar1->setRange(0, qMax(1, questions));
}

void TSaveProgressWindow::StepIt()
{
    FStepper->StepIt();
    QCoreApplication::processEvents();
}

void TSaveProgressWindow::End()
{
    FStepper.reset();
    FWindow.reset();
}
