#include "UEditor.h"

#include <utility>

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "QVAdoQuery.h"
#include "QVCheckBox.h"
#include "QVComboBox.h"
#include "QVDBGrid.h"
#include "QVEdit.h"
#include "QVImage.h"
#include "QVMemo.h"
#include "QVPageTool.h"
#include "UComm.h"
#include "UDM.h"
#include "UExamRules.h"
#include "UQVControlComm.h"
#include "UThemeRules.h"

namespace {

template <typename T>
T *Bound(T *control, TQVAdoQuery *query, const QString &fieldName, const char *name)
{
    control->setObjectName(QString::fromLatin1(name));
    control->SetDataSet(query);
    control->SetEditFieldName(fieldName);
    return control;
}

// The columns of the list; the other fields are edited beside it.
QList<TQVGridColumn> ThemeGridColumns(const TChapterList &chapters)
{
    QHash<QString, QString> chapterNames;
    for (int i = 0; i < chapters.Codes.size(); ++i)
        chapterNames.insert(chapters.Codes[i], chapters.Names.value(i));
    const auto chapterName = [chapterNames](const QVariant &code) {
        return chapterNames.value(code.toString(), code.toString());
    };
    const auto typeName = [](const QVariant &code) {
        const QString name = QuestionTypeName(code.toInt());
        return name.isEmpty() ? code.toString() : name;
    };
    // Widths that let the whole row fit the list beside the question.
    return {{QStringLiteral("Xh"), QStringLiteral("题号"), 45, {}},
            {QStringLiteral("ThemeChapter"), QStringLiteral("章节"), 130, chapterName},
            {QStringLiteral("ThemeType"), QStringLiteral("题型"), 40, typeName},
            {QStringLiteral("ThemeContent"), QStringLiteral("题目"), 225, {}},
            {QStringLiteral("ThemeResult"), QStringLiteral("答案"), 40, {}},
            {QStringLiteral("ZT"), QStringLiteral("抽题"), 36, {}},
            {QStringLiteral("TT"), QStringLiteral("套题号"), 48, {}}};
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
    EdtSearch = new QLineEdit(GrpList);
    EdtSearch->setObjectName(QStringLiteral("EdtSearch"));
    EdtSearch->setPlaceholderText(QStringLiteral("题号或题目中的文字，按回车查找"));
    EdtSearch->setClearButtonEnabled(true);
    DBGrid1 = Bound(new TQVDBGrid(GrpList), QryTheme, QString(), "DBGrid1");
    PageTool1 = new TQVPageTool(GrpList);
    PageTool1->setObjectName(QStringLiteral("PageTool1"));
    auto *searchLayout = new QHBoxLayout;
    searchLayout->addWidget(new QLabel(QStringLiteral("查找："), GrpList));
    searchLayout->addWidget(EdtSearch, 1);
    auto *listLayout = new QVBoxLayout(GrpList);
    listLayout->addLayout(searchLayout);
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

    // Tab leaves the list and the texts rather than moving inside them, and
    // goes from the list through the question's fields to the buttons.
    DBGrid1->setTabKeyNavigation(false);
    MemContent->setTabChangesFocus(true);
    for (TQVMemo *memo : std::as_const(MemOptions))
        memo->setTabChangesFocus(true);
    QWidget *previous = EdtResult;
    for (QPushButton *button : {BtnAdd, BtnEdit, BtnSave, BtnCancel, BtnDelete})
        setTabOrder(std::exchange(previous, button), button);

    connect(BtnAdd, &QPushButton::clicked, this, &TFrmEditor::BtnAddClick);
    connect(BtnEdit, &QPushButton::clicked, this, &TFrmEditor::BtnEditClick);
    connect(BtnSave, &QPushButton::clicked, this, &TFrmEditor::BtnSaveClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TFrmEditor::BtnCancelClick);
    connect(BtnDelete, &QPushButton::clicked, this, &TFrmEditor::BtnDeleteClick);
    connect(EdtSearch, &QLineEdit::returnPressed, this, &TFrmEditor::ApplySearch);
    connect(EdtSearch, &QLineEdit::textChanged, this, &TFrmEditor::EdtSearchChange);
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
    for (const QString &code : KThemeTypeCodes)
        CmbType->addItem(QuestionTypeName(code.toInt()));
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
    // The field has the shape of the bank's pictures, so that they fill it.
    ImgTheme->setFixedSize(KThemePictureSize * 0.625 + QSize(6, 6));
    // Question pictures are scenes and signs, not portraits.
    ImgTheme->SetKeepCutRatio(false);
    ImgTheme->SetStartCutSize(KThemePictureSize);
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
    DBGrid1->SetColumns(ThemeGridColumns(chapters));
    QryTheme->SetSQL(KThemePageSql);
    QryTheme->Open();
}

void TFrmEditor::ApplySearch()
{
    const QString text = EdtSearch->text();
    StoreThemeSearch(DM->ACon, text);
    // The paging bar takes the new statement as its base at this open.
    QryTheme->Close();
    QryTheme->SetPagingArmed(true);
    QryTheme->SetSQL(ThemeListSql(text));
    QryTheme->Open();
}

void TFrmEditor::EdtSearchChange(const QString &text)
{
    // An emptied box shows the whole bank again without waiting for Enter.
    if (text.isEmpty())
        ApplySearch();
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
    // A new search would reopen the list and drop the edit.
    EdtSearch->setEnabled(!editing);
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
    const bool adding = QryTheme->State() == TQuery::dsInsert;
    const int themeId = EdtThemeID->text().toInt();
    QryTheme->Post();
    if (adding)
        ShowQuestion(themeId);
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

void TFrmEditor::ShowQuestion(int themeId)
{
    // A new row sits at the end of the page on show; in number order it
    // belongs on a page of its own, which is reloaded to show it there.
    PageTool1->ShowPageOf(themeId);
    QryTheme->Locate(QStringLiteral("ThemeID"), themeId);
}

void TFrmEditor::BtnCancelClick()
{
    QryTheme->Cancel();
}

void TFrmEditor::BtnDeleteClick()
{
    if (QryTheme->IsEmpty())
        return;
    const QString text = QStringLiteral("确定删除第 %1 题吗？")
                             .arg(QryTheme->FieldByName(QStringLiteral("ThemeID"))->AsString());
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
        ShowInfo(
            QStringLiteral("有 %1 条考试模板内容的题目不足，模拟考试将无法抽题，请补充题目或修改模板！").arg(shortRows));
}
