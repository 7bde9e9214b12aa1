#pragma once

#include <functional>
#include <memory>

#include <QDialog>

#include "UConnectSettings.h"
#include "USqlServerClient.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;
class TDM;

// The start-up of every program on the bank: DM becomes the given data
// module, opened on the bank of the executable's folder with this dialog as
// its one fallback. A failure is shown and leaves the connection closed.
void StartDataModule(TDM &dataModule);

// main() of a windowed program beside the exam program: --help and
// --version answered, Qt's message boxes and the Chinese fonts installed,
// the bank opened as the exam program opens it, then the window made and
// shown until it closes. Ends with 1 when the bank could not be opened.
int RunBankWindowProgram(int argc, char *argv[], const char *programName, const char *description,
                         const std::function<std::unique_ptr<QWidget>(TDM &)> &makeWindow);

// The SQL Server connection settings dialog shown when the question bank
// cannot be opened: the user names a server, a login mode and one of the
// server's databases; OK proves them by connecting, records them in
// DBConfig.cfg and closes with 1, Cancel closes with 2.
class TFrmConnect : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrmConnect)

public:
    // Works on a real SQL Server client of its own.
    explicit TFrmConnect(QWidget *parent = nullptr);
    // Works on the given client (tests hand in a scripted one).
    explicit TFrmConnect(std::unique_ptr<TSqlServerClient> client, QWidget *parent = nullptr);
    ~TFrmConnect() override;

    // The settings as the controls hold them now.
    TConnectSettings Settings() const;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateControls();
    void FormCreate();
    void FormShow();
    void RadioButton2Click();
    void CheckBox1Click();
    void CombDataEnter();
    void BtnOKClick();
    void BtnCancelClick();
    void SetEditColor(QLineEdit *edit, bool white);

    // The dialog's own connection to the server it names, and its query.
    std::unique_ptr<TSqlServerClient> ADOConnection1;
    TSqlServerQuery ADOQuery1;
    bool FShown = false;

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *ComBServer = nullptr;
    QLabel *Label3 = nullptr;
    QRadioButton *RadioButton1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;
    QRadioButton *RadioButton3 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *EdtUser = nullptr;
    QLabel *Label5 = nullptr;
    QLineEdit *EdtPassWord = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QLabel *Label6 = nullptr;
    QComboBox *CombData = nullptr;
    QFrame *Bevel1 = nullptr;
    QPushButton *BtnOK = nullptr;
    QPushButton *BtnCancel = nullptr;
};
