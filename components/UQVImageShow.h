#pragma once

#include <QDialog>
#include <QImage>

class QLabel;
class QPushButton;
class QScrollArea;
class QWidget;

// The viewer: a picture at its own size in a maximised window, with its
// width and height below it.
class TFrmQVImageShow : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrmQVImageShow)

public:
    explicit TFrmQVImageShow(const QImage &picture, QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Panel1Resize();

    QScrollArea *ScrollBox1;
    QLabel *Image1;
    QWidget *Panel1;
    QLabel *LabWidth;
    QLabel *LabHeight;
    QPushButton *BtnClose;
};
