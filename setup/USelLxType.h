#pragma once

#include <QDialog>

#include "UPracticeLists.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QFrame;
class TQVComboBox;

// The practice-mode dialog: set practice, chapter practice or the mock
// exam, with the list of sets or chapters of the licence class. The
// learning record of the class opens from here, and wrong-answer practice
// starts from it.
class TFrmSelLxType : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrmSelLxType)

public:
    explicit TFrmSelLxType(QWidget *parent = nullptr);

    // Outer heights of the window with and without the list band.
    static constexpr int KPracticeHeight = 169;
    static constexpr int KMockExamHeight = 124;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void RadioButton1Click();
    void FillSetList();
    void FillChapterList();
    void FillList(const TNameCodeList &list);
    void SetOuterHeight(int height);
    void BitBtn1Click();
    void BitBtn3Click();

    QGroupBox *GroupBox1;
    QRadioButton *RadioButton1;
    QRadioButton *RadioButton2;
    QRadioButton *RadioButton3;
    QGroupBox *GroupBox2;
    QLabel *Label1;
    TQVComboBox *QVComboBox1;
    QFrame *Panel1;
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;
    QPushButton *BitBtn3;
    bool FShown = false;
};
