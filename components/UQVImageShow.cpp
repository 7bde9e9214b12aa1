#include "UQVImageShow.h"

#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "UQVCropGeometry.h"

TFrmQVImageShow::TFrmQVImageShow(const QImage &picture, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("图片显示"));
    ScrollBox1 = new QScrollArea(this);
    Image1 = new QLabel;
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QPixmap::fromImage(picture));
    Image1->resize(picture.size());
    ScrollBox1->setWidget(Image1);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(41);
    LabWidth = new QLabel(QStringLiteral("图片宽：") + QString::number(picture.width()), Panel1);
    LabWidth->setObjectName(QStringLiteral("LabWidth"));
    LabWidth->setGeometry(12, 12, 120, 17);
    LabHeight = new QLabel(QStringLiteral("图片高：") + QString::number(picture.height()), Panel1);
    LabHeight->setObjectName(QStringLiteral("LabHeight"));
    LabHeight->setGeometry(140, 12, 120, 17);
    BtnClose = new QPushButton(QStringLiteral("关闭"), Panel1);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    Panel1->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ScrollBox1, 1);
    layout->addWidget(Panel1);
    resize(800, 600);
    setWindowState(Qt::WindowMaximized);

    connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);
}

bool TFrmQVImageShow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Panel1 && event->type() == QEvent::Resize)
        Panel1Resize();
    return QDialog::eventFilter(watched, event);
}

void TFrmQVImageShow::Panel1Resize()
{
    BtnClose->setGeometry(CloseButtonRect(Panel1->size()));
}
