#pragma once

#include <QAbstractButton>

// A flat button whose face is a picture the program draws, carrying its
// word(s) in the picture rather than as a caption.
class TPictureButton : public QAbstractButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPictureButton)

public:
    explicit TPictureButton(const QString &word, QWidget *parent = nullptr);
    QString Word() const { return FWord; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QString FWord;
};
