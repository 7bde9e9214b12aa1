#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The exam room's sign-in, before the licence class is chosen: the
// candidate's document number and name. OK checks them and, when they are
// sound, leaves them in the run context; a refused entry keeps the dialog open.
class TFrmCandidateSignIn : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrmCandidateSignIn)

public:
    // roomName is shown above the fields when the room has one.
    explicit TFrmCandidateSignIn(const QString &roomName = QString(), QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void CreateControls(const QString &roomName);
    void ArrangeControls();
    void BtnOKClick();

    QLabel *LabRoom;
    QLabel *LabIdNumber;
    QLineEdit *EditIdNumber;
    QLabel *LabName;
    QLineEdit *EditName;
    QCheckBox *CheckOtherId;
    QPushButton *BtnOK;
    QPushButton *BtnCancel;
    bool FShown = false;
};
