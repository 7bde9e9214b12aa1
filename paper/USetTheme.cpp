#include "USetTheme.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include "UApplication.h"
#include "UBarStepper.h"
#include "UFonts.h"
#include "UIniFile.h"
#include "UPaperDraw.h"

bool RunPaperDraw(const QString &modelId, const QString &candidateIdNumber, std::unique_ptr<TIniFile> *drawnPaper)
{
    RemoveThemeCfg();
    TFrmSetTheme window;
    window.FModelID = modelId;
    window.setWindowTitle(QStringLiteral("正在生成证件号为 ") + candidateIdNumber + QStringLiteral(" 的试题……"));
    if (ExecModal(window) != 1)
        return false;
    if (drawnPaper)
        *drawnPaper = window.TakeDrawnPaper();
    return true;
}

TFrmSetTheme::TFrmSetTheme(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FrmSetTheme"));
    setWindowTitle(QStringLiteral("产生题目"));
    setFixedSize(613, 64);
    setFont(SongFont(13));

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(2, 28, 607, 30);
    ProgressBar1->setTextVisible(false);

    Label1 = new QLabel(QStringLiteral("正在生成试题……"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(SongFont(16));
    Label1->move(24, 8);
    Label1->adjustSize();
    // Its line ends where the bar begins: Qt's hint for 16 px is taller.
    Label1->resize(Label1->width(), 20);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TFrmSetTheme::Timer1Timer);
    Timer1->start();
}

TFrmSetTheme::~TFrmSetTheme() = default;

void TFrmSetTheme::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!FDraw)
        FormShow();
}

void TFrmSetTheme::FormShow()
{
    Timer1->start();
    FDraw = std::make_unique<TPaperDraw>(FModelID);
    FDraw->OnStep = [this] { StepBar(); };
}

std::unique_ptr<TIniFile> TFrmSetTheme::TakeDrawnPaper()
{
    return FDraw ? FDraw->TakeDrawnPaper() : nullptr;
}

void TFrmSetTheme::Timer1Timer()
{
    Timer1->stop();
    // A tick can only come once the window is shown and waiting modally.
    if (FDraw)
        DrawQuestions();
}

void TFrmSetTheme::DrawQuestions()
{
    FDrawing = true;
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    FBarStepper = std::make_unique<TBarStepper>(ProgressBar1);
    int result = 2;
    try {
        FDraw->DrawQuestions();
        result = 1;
    } catch (const std::exception &) {
        // The caller reports every failed draw with one message.
    }
    FDrawing = false;
    done(result);
}

void TFrmSetTheme::StepBar()
{
    FBarStepper->StepIt();
    QCoreApplication::processEvents();
}

void TFrmSetTheme::reject()
{
    if (!FDrawing)
        QDialog::reject();
}
