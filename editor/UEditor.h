#pragma once

#include <QList>
#include <QWidget>

class QGroupBox;
class QLineEdit;
class QPushButton;
class TQVAdoQuery;
class TQVCheckBox;
class TQVComboBox;
class TQVDBGrid;
class TQVEdit;
class TQVImage;
class TQVMemo;
class TQVPageTool;

// The question-bank editor's window: a page of the bank in a grid, the
// current question in bound controls, and the buttons that add, edit,
// save, cancel and delete questions.
class TFrmEditor : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrmEditor)

public:
    explicit TFrmEditor(QWidget *parent = nullptr);

    TQVAdoQuery *Query() const { return QryTheme; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void CreateControls();
    QWidget *CreateThemePanel();
    void FormShow();
    void BtnAddClick();
    void BtnEditClick();
    void BtnSaveClick();
    void BtnCancelClick();
    void BtnDeleteClick();
    void ApplySearch();
    void EdtSearchChange(const QString &text);
    void ShowQuestion(int themeId);
    void QryThemeBeforePost();
    void QryThemeChanged();
    bool CheckControls();
    bool CheckDraft();
    void RecountTemplates();

    bool FShown = false;
    TQVAdoQuery *QryTheme;
    QGroupBox *GrpList;
    QLineEdit *EdtSearch;
    TQVDBGrid *DBGrid1;
    TQVPageTool *PageTool1;
    QGroupBox *GrpTheme;
    TQVEdit *EdtThemeID;
    TQVEdit *EdtThemePart;
    TQVComboBox *CmbChapter;
    TQVComboBox *CmbType;
    TQVEdit *EdtTT;
    TQVCheckBox *ChkZT;
    TQVMemo *MemContent;
    QList<TQVMemo *> MemOptions;
    TQVEdit *EdtResult;
    TQVImage *ImgTheme;
    QPushButton *BtnAdd;
    QPushButton *BtnEdit;
    QPushButton *BtnSave;
    QPushButton *BtnCancel;
    QPushButton *BtnDelete;
};
