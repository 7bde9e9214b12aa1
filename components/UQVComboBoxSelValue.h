#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

// The rows a search shows: for every entry that contains the text
// (case-sensitive), the index of the first entry equal to that entry.
QList<int> QVSearchRows(const QStringList &entries, const QString &text);

// The value-selection dialog of the code/name combo box: lists the pairs,
// filters them by code or by name and hands back the chosen name.
class TFrmQVComboBoxSelValue : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrmQVComboBoxSelValue)

public:
    explicit TFrmQVComboBoxSelValue(QWidget *parent = nullptr);

    void SetNames(const QStringList &names) { FNames = names; }
    void SetCodes(const QStringList &codes) { FCodes = codes; }
    // The row with this code is current when the dialog opens.
    void SetSelectedCode(const QString &code) { FSelectedCode = code; }
    QString ChosenName() const { return FChosenName; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void RadioClick();
    void FillRows(const QList<int> &rows);
    void FillAllRows();
    void BtnQueryClick();
    void BtnOkClick();

    QStringList FNames;
    QStringList FCodes;
    QString FSelectedCode;
    QString FChosenName;
    bool FShown = false;

    QTreeWidget *LvData;
    QRadioButton *RbCode;
    QRadioButton *RbName;
    QLineEdit *EdtCode;
    QLineEdit *EdtName;
    QPushButton *BtnQuery;
    QPushButton *BtnOk;
    QPushButton *BtnCancel;
};
