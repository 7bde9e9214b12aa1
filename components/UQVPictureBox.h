#pragma once

#include <QImage>
#include <QWidget>

// A picture on a widget, either at its own size (the widget takes the
// picture's size) or fitted into the widget with its shape kept and
// centred. Reports presses (in widget coordinates) and double-clicks.
class TQVPictureBox : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TQVPictureBox)

public:
    enum TMode { pmActualSize, pmFit };

    explicit TQVPictureBox(TMode mode, QWidget *parent = nullptr);

    QImage Picture() const { return FPicture; }
    void SetPicture(const QImage &picture);

signals:
    void MousePressed(const QPoint &pos);
    void DoubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    TMode FMode;
    QImage FPicture;
};
