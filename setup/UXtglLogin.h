#pragma once

#include <array>

#include <QDialog>

class QRadioButton;
class TPictureButton;
class TQVAdoQuery;

// The licence-class dialog: the candidate picks the class whose theory
// examination is practised. OK stores code, caption and chapter filter.
class TFrmXtglLogin : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrmXtglLogin)

public:
    explicit TFrmXtglLogin(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void RadioButton1KeyPress(QChar key);
    void SpeedButton1Click();
    void SpeedButton2Click();

    std::array<QRadioButton *, 9> FRadioButtons{};
    TPictureButton *SpeedButton1;
    TPictureButton *SpeedButton2;
    // Placed on the form with none of its additions: a plain query.
    TQVAdoQuery *QVAdoQuery1;
    bool FShown = false;
};
