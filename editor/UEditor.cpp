#include "editor/UEditor.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/UComm.h"
#include "app/UDM.h"
#include "components/QVAdoQuery.h"
#include "components/QVCheckBox.h"
#include "components/QVComboBox.h"
#include "components/QVDBGrid.h"
#include "components/QVEdit.h"
#include "components/QVImage.h"
#include "components/QVMemo.h"
#include "components/QVPageTool.h"
#include "components/UQVControlComm.h"
#include "editor/UThemeRules.h"

namespace {

// Columns the grid shows, with their widths; the others are edited beside it.
const QHash<QString, int> KGridColumns{{QStringLiteral("XH"), 50},          {QStringLiteral("THEMECHAPTER"), 110},
                                       {QStringLiteral("THEMETYPE"), 95},   {QStringLiteral("THEMECONTENT"), 300},
                                       {QStringLiteral("THEMERESULT"), 105}, {QStringLiteral("ZT"), 40},
                                       {QStringLiteral("TT"), 40}};

template <typename T>
T *Bound(T *control, TQVAdoQuery *query, const QString &fieldName, const char *name)
{
    control->setObjectName(QString::fromLatin1(name));
    control->SetDataSet(query);
    control->SetEditFieldName(fieldName);
    return control;
}

} // namespace

TFrmEditor::TFrmEditor(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmEditor"));
    setWindowTitle(QStringLiteral("题库维护"));
    setFont(QFont(QStringLiteral("宋体"), 10));
    CreateControls();
    resize(1180, 760);
}

void TFrmEditor::CreateControls()
{
    QryTheme = new TQVAdoQuery(this);
    QryTheme->setObjectName(QStringLiteral("QryTheme"));
    QryTheme->SetConnection(DM->ACon);

    GrpList = new QGroupBox(this);
    GrpList->setObjectName(QStringLiteral("GrpList"));
    DBGrid1 = Bound(new TQVDBGrid(GrpList), QryTheme, QString(), "DBGrid1");
    PageTool1 = new TQVPageTool(GrpList);
    PageTool1->setObjectName(QStringLiteral("PageTool1"));
    auto *listLayout = new QVBoxLayout(GrpList);
    listLayout->addWidget(DBGrid1, 1);
    listLayout->addWidget(PageTool1);
    QryTheme->SetQVPageTool(PageTool1);
    QryTheme->SetParentGroupBox(GrpList);
    QryTheme->SetCountTableName(QStringLiteral("T_KS_THEME"));

    BtnAdd = new QPushButton(QStringLiteral("新增"), this);
    BtnEdit = new QPushButton(QStringLiteral("修改"), this);
    BtnSave = new QPushButton(QStringLiteral("保存"), this);
    BtnCancel = new QPushButton(QStringLiteral("取消"), this);
    BtnDelete = new QPushButton(QStringLiteral("删除"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *button : {BtnAdd, BtnEdit, BtnSave, BtnCancel, BtnDelete}) {
        button->setMinimumWidth(80);
        buttons->addWidget(button);
    }
    BtnAdd->setObjectName(QStringLiteral("BtnAdd"));
    BtnEdit->setObjectName(QStringLiteral("BtnEdit"));
    BtnSave->setObjectName(QStringLiteral("BtnSave"));
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnDelete->setObjectName(QStringLiteral("BtnDelete"));

    auto *right = new QVBoxLayout;
    right->addWidget(CreateThemePanel(), 1);
    right->addLayout(buttons);
    auto *main = new QHBoxLayout(this);
    main->addWidget(GrpList, 1);
    main->addLayout(right);

    connect(BtnAdd, &QPushButton::clicked, this, &TFrmEditor::BtnAddClick);
    connect(BtnEdit, &QPushButton::clicked, this, &TFrmEditor::BtnEditClick);
    connect(BtnSave, &QPushButton::clicked, this, &TFrmEditor::BtnSaveClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TFrmEditor::BtnCancelClick);
    connect(BtnDelete, &QPushButton::clicked, this, &TFrmEditor::BtnDeleteClick);
    connect(QryTheme, &TQuery::BeforePost, this, &TFrmEditor::QryThemeBeforePost);
    for (auto signal : {&TQuery::AfterOpen, &TQuery::AfterClose, &TQuery::AfterScroll, &TQuery::AfterEdit,
                        &TQuery::AfterInsert, &TQuery::AfterPost, &TQuery::AfterCancel, &TQuery::AfterDelete})
        connect(QryTheme, signal, this, &TFrmEditor::QryThemeChanged);
    QryThemeChanged();
}

QWidget *TFrmEditor::CreateThemePanel()
{
    GrpTheme = new QGroupBox(QStringLiteral(" 题目 "), this);
    GrpTheme->setFixedWidth(520);
    EdtThemeID = Bound(new TQVEdit(GrpTheme), QryTheme, QStringLiteral("ThemeID"), "EdtThemeID");
    EdtThemeID->SetEditType(etNumber);
    EdtThemeID->SetIsMust(true);
    EdtThemePart = Bound(new TQVEdit(GrpTheme), QryTheme, QStringLiteral("ThemePart"), "EdtThemePart");
    EdtThemePart->SetEditType(etNumber);
    EdtThemePart->SetIsMust(true);
    CmbChapter = Bound(new TQVComboBox(GrpTheme), QryTheme, QStringLiteral("ThemeChapter"), "CmbChapter");
    CmbChapter->SetIsMust(true);
    CmbType = Bound(new TQVComboBox(GrpTheme), QryTheme, QStringLiteral("ThemeType"), "CmbType");
    CmbType->SetIsMust(true);
    CmbType->addItems(KThemeTypeNames);
    CmbType->SetValueItems(KThemeTypeCodes);
    EdtTT = Bound(new TQVEdit(GrpTheme), QryTheme, QStringLiteral("TT"), "EdtTT");
    ChkZT = Bound(new TQVCheckBox(QStringLiteral("参加模拟考试抽题"), GrpTheme), QryTheme, QStringLiteral("ZT"), "ChkZT");
    MemContent = Bound(new TQVMemo(GrpTheme), QryTheme, QStringLiteral("ThemeContent"), "MemContent");
    MemContent->SetIsMust(true);
    const QString optionColumns = QStringLiteral("ABCDE");
    for (int i = 0; i < 5; ++i) {
        const QString name = QStringLiteral("MemSpare") + optionColumns[i];
        auto *memo = Bound(new TQVMemo(GrpTheme), QryTheme, QStringLiteral("ThemeSpare") + optionColumns[i],
                           qPrintable(name));
        memo->setFixedHeight(44);
        MemOptions << memo;
    }
    EdtResult = Bound(new TQVEdit(GrpTheme), QryTheme, QStringLiteral("ThemeResult"), "EdtResult");
    EdtResult->SetIsMust(true);
    ImgTheme = Bound(new TQVImage(GrpTheme), QryTheme, QStringLiteral("ThemeImage"), "ImgTheme");
    ImgTheme->setFixedSize(180, 150);
    // Question pictures are scenes and signs, not portraits.
    ImgTheme->SetKeepCutRatio(false);
    ImgTheme->SetFitBigPicture(true);
    MemContent->setFixedHeight(72);

    auto *grid = new QGridLayout(GrpTheme);
    auto label = [this](const QString &text) { return new QLabel(text, GrpTheme); };
    grid->addWidget(label(QStringLiteral("题号：")), 0, 0);
    grid->addWidget(EdtThemeID, 0, 1);
    grid->addWidget(label(QStringLiteral("部分：")), 1, 0);
    grid->addWidget(EdtThemePart, 1, 1);
    grid->addWidget(label(QStringLiteral("章节：")), 2, 0);
    grid->addWidget(CmbChapter, 2, 1);
    grid->addWidget(label(QStringLiteral("题型：")), 3, 0);
    grid->addWidget(CmbType, 3, 1);
    grid->addWidget(label(QStringLiteral("套题号：")), 4, 0);
    grid->addWidget(EdtTT, 4, 1);
    grid->addWidget(ChkZT, 5, 1);
    grid->addWidget(ImgTheme, 0, 2, 6, 1, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(label(QStringLiteral("题目：")), 6, 0, Qt::AlignTop);
    grid->addWidget(MemContent, 6, 1, 1, 2);
    for (int i = 0; i < MemOptions.size(); ++i) {
        grid->addWidget(label(QStringLiteral("选项%1：").arg(i + 1)), 7 + i, 0, Qt::AlignTop);
        grid->addWidget(MemOptions[i], 7 + i, 1, 1, 2);
    }
    grid->addWidget(label(QStringLiteral("答案：")), 12, 0);
    grid->addWidget(EdtResult, 12, 1);
    grid->addWidget(label(QStringLiteral("答案填选项号，如 1 或 134；双击图片可选择、裁剪图片。")), 13, 0, 1, 3);
    grid->setRowStretch(14, 1);
    return GrpTheme;
}

void TFrmEditor::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!FShown) {
        FShown = true;
        FormShow();
    }
}

void TFrmEditor::FormShow()
{
    const TChapterList chapters = ReadChapters(DM->ACon);
    CmbChapter->addItems(chapters.Names);
    CmbChapter->SetValueItems(chapters.Codes);
    QryTheme->SetSQL(KThemePageSql);
    QryTheme->Open();
}

void TFrmEditor::QryThemeChanged()
{
    const bool editing = QryTheme->IsEditing();
    const bool hasRow = QryTheme->Active() && !QryTheme->IsEmpty();
    BtnAdd->setEnabled(QryTheme->Active() && !editing);
    BtnEdit->setEnabled(hasRow && !editing);
    BtnDelete->setEnabled(hasRow && !editing);
    BtnSave->setEnabled(editing);
    BtnCancel->setEnabled(editing);
    // The grid model is rebuilt on these notifications, its columns with it.
    const QStringList names = QryTheme->FieldNames();
    for (int i = 0; i < names.size(); ++i) {
        const int width = KGridColumns.value(names[i].toUpper());
        DBGrid1->setColumnHidden(i, width == 0);
        if (width > 0)
            DBGrid1->setColumnWidth(i, width);
    }
}

void TFrmEditor::BtnAddClick()
{
    QryTheme->Append();
    EdtThemeID->SetValue(NextThemeId(DM->ACon));
    EdtThemePart->SetValue(1);
    ChkZT->setChecked(true);
    MemContent->setFocus();
}

void TFrmEditor::BtnEditClick()
{
    if (QryTheme->IsEmpty())
        return;
    QryTheme->Edit();
    MemContent->setFocus();
}

void TFrmEditor::BtnSaveClick()
{
    // The bound controls' checks run here first: failing inside the post
    // would cancel the edit and lose what was typed.
    if (!CheckControls() || !CheckDraft())
        return;
    QryTheme->Post();
    RecountTemplates();
}

bool TFrmEditor::CheckControls()
{
    const QList<QWidget *> controls = findChildren<QWidget *>();
    for (QWidget *control : controls) {
        auto *binding = dynamic_cast<TQVBinding *>(control);
        if (binding && binding->Kind() != TQVKind::DBGrid && !binding->CheckValue())
            return false;
    }
    return true;
}

bool TFrmEditor::CheckDraft()
{
    TThemeDraft draft;
    draft.Type = CmbType->GetValue().toInt();
    for (TQVMemo *memo : MemOptions)
        draft.Options << memo->toPlainText();
    draft.Result = EdtResult->text();
    const QString message = CheckThemeDraft(draft);
    if (!message.isEmpty()) {
        EdtResult->setFocus();
        QVShowError(message);
        return false;
    }
    EdtResult->setText(NormaliseResult(draft.Result));
    return true;
}

void TFrmEditor::BtnCancelClick()
{
    QryTheme->Cancel();
}

void TFrmEditor::BtnDeleteClick()
{
    if (QryTheme->IsEmpty())
        return;
    const QString text = QStringLiteral("确定删除第 %1 题吗？").arg(QryTheme->FieldByName(QStringLiteral("ThemeID"))->AsString());
    if (AskOkCancel(text) != 1)
        return;
    QryTheme->Delete();
    RecountTemplates();
}

void TFrmEditor::QryThemeBeforePost()
{
    EmptyTextForBlankOptions(*QryTheme);
}

void TFrmEditor::RecountTemplates()
{
    const int shortRows = RecountTemplateRows(DM->ACon);
    if (shortRows > 0)
        ShowInfo(QStringLiteral("有 %1 条考试模板内容的题目不足，模拟考试将无法抽题，请补充题目或修改模板！").arg(shortRows));
}
