#include "UQVPictureBox.h"

#include <QMouseEvent>
#include <QPainter>

#include "UQVCropGeometry.h"

TQVPictureBox::TQVPictureBox(TMode mode, QWidget *parent)
    : QWidget(parent),
      FMode(mode)
{
}

void TQVPictureBox::SetPicture(const QImage &picture)
{
    FPicture = picture;
    if (FMode == pmActualSize)
        resize(picture.size());
    update();
}

void TQVPictureBox::paintEvent(QPaintEvent *)
{
    if (FPicture.isNull())
        return;
    QPainter painter(this);
    if (FMode == pmActualSize) {
        painter.drawImage(0, 0, FPicture);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(CentredFitRect(FPicture.size(), size()), FPicture);
}

void TQVPictureBox::mousePressEvent(QMouseEvent *event)
{
    emit MousePressed(event->position().toPoint());
}

void TQVPictureBox::mouseDoubleClickEvent(QMouseEvent *)
{
    emit DoubleClicked();
}
