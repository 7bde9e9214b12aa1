#include "paper/UProgess.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QProgressBar>

#include "paper/UBarStepper.h"
#include "paper/UPaperStore.h"

TFrmProgess::TFrmProgess(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FrmProgess"));
    setWindowTitle(QStringLiteral("创建进度"));
    setFixedSize(540, 31);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(13);
    setFont(font);

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

namespace {

class TProgessDisplay : public TPaperProgress
{
public:
    TProgessDisplay()
        : FStepper(FWindow.ProgressBar1)
    {
        FWindow.setWindowTitle(QStringLiteral("正在保存数据……"));
        FWindow.ProgressBar1->setRange(0, 100);
        FWindow.ProgressBar1->setValue(0);
        FWindow.show();
    }

    void SetMaximum(int maximum) override
    {
        // A zero range would turn the bar into a busy indicator.
        FWindow.ProgressBar1->setRange(0, qMax(1, maximum));
    }

    void StepIt() override { FStepper.StepIt(); }

private:
    TFrmProgess FWindow;
    TBarStepper FStepper;
};

} // namespace

std::unique_ptr<TPaperProgress> ShowSaveProgressWindow()
{
    return std::make_unique<TProgessDisplay>();
}
