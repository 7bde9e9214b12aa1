#include "UQVComboBoxSelValue.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "UFonts.h"
#include "UQVControlComm.h"

QList<int> QVSearchRows(const QStringList &entries, const QString &text)
{
    QList<int> rows;
    for (const QString &entry : entries) {
        if (entry.contains(text, Qt::CaseSensitive))
            rows << int(entries.indexOf(entry));
    }
    return rows;
}

TFrmQVComboBoxSelValue::TFrmQVComboBoxSelValue(QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FrmQVComboBoxSelValue"));
    setWindowTitle(QStringLiteral("选择值"));
    setFont(SongFont(12));

    auto *listGroup = new QGroupBox(QStringLiteral("  备选项  "), this);
    LvData = new QTreeWidget(listGroup);
    LvData->setObjectName(QStringLiteral("LvData"));
    LvData->setColumnCount(2);
    LvData->setHeaderLabels({QStringLiteral("编号"), QStringLiteral("名称")});
    LvData->setColumnWidth(0, 100);
    LvData->setColumnWidth(1, 345);
    LvData->setRootIsDecorated(false);
    LvData->setSelectionBehavior(QAbstractItemView::SelectRows);
    LvData->setSelectionMode(QAbstractItemView::SingleSelection);
    auto *listLayout = new QVBoxLayout(listGroup);
    listLayout->addWidget(LvData);

    auto *queryGroup = new QGroupBox(QStringLiteral("  条件查询  "), this);
    RbCode = new QRadioButton(QStringLiteral("按编号查询"), queryGroup);
    RbCode->setObjectName(QStringLiteral("RbCode"));
    EdtCode = new QLineEdit(queryGroup);
    EdtCode->setObjectName(QStringLiteral("EdtCode"));
    RbName = new QRadioButton(QStringLiteral("按名称查询"), queryGroup);
    RbName->setObjectName(QStringLiteral("RbName"));
    EdtName = new QLineEdit(queryGroup);
    EdtName->setObjectName(QStringLiteral("EdtName"));
    BtnQuery = new QPushButton(QStringLiteral("查询"), queryGroup);
    BtnQuery->setObjectName(QStringLiteral("BtnQuery"));
    BtnQuery->setDefault(true);
    auto *queryLayout = new QHBoxLayout(queryGroup);
    queryLayout->addWidget(RbCode);
    queryLayout->addWidget(EdtCode, 1);
    queryLayout->addSpacing(8);
    queryLayout->addWidget(RbName);
    queryLayout->addWidget(EdtName, 1);
    queryLayout->addSpacing(8);
    queryLayout->addWidget(BtnQuery);

    BtnOk = new QPushButton(QStringLiteral("确定(&O)"), this);
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BtnCancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(listGroup, 1);
    layout->addWidget(queryGroup);
    layout->addLayout(buttons);
    setFixedSize(540, 420);

    connect(RbCode, &QRadioButton::toggled, this, &TFrmQVComboBoxSelValue::RadioClick);
    connect(BtnQuery, &QPushButton::clicked, this, &TFrmQVComboBoxSelValue::BtnQueryClick);
    connect(BtnOk, &QPushButton::clicked, this, &TFrmQVComboBoxSelValue::BtnOkClick);
    connect(LvData, &QTreeWidget::itemDoubleClicked, this, &TFrmQVComboBoxSelValue::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmQVComboBoxSelValue::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!FShown) {
        FShown = true;
        // Centred on the desktop, not on the form that opened it.
        QVCenterOnScreen(this);
        FormShow();
    }
}

void TFrmQVComboBoxSelValue::FormShow()
{
    RbCode->setChecked(true);
    RadioClick();
    FillAllRows();
    const int preselected = FSelectedCode.isEmpty() ? -1 : int(FCodes.indexOf(FSelectedCode));
    if (preselected >= 0 && preselected < LvData->topLevelItemCount())
        LvData->setCurrentItem(LvData->topLevelItem(preselected));
}

void TFrmQVComboBoxSelValue::RadioClick()
{
    const bool byCode = RbCode->isChecked();
    QLineEdit *active = byCode ? EdtCode : EdtName;
    QLineEdit *idle = byCode ? EdtName : EdtCode;
    active->setReadOnly(false);
    QVSetBaseColor(active, KQVEditableColor);
    idle->setReadOnly(true);
    QVSetBaseColor(idle, KQVReadOnlyColor);
    idle->clear();
}

void TFrmQVComboBoxSelValue::FillRows(const QList<int> &rows)
{
    LvData->clear();
    for (int row : rows)
        new QTreeWidgetItem(LvData, {FCodes.value(row), FNames.value(row)});
}

void TFrmQVComboBoxSelValue::FillAllRows()
{
    QList<int> all;
    for (int i = 0; i < FNames.size(); ++i)
        all << i;
    FillRows(all);
}

void TFrmQVComboBoxSelValue::BtnQueryClick()
{
    const bool byCode = RbCode->isChecked();
    const QString text = (byCode ? EdtCode : EdtName)->text();
    if (text.isEmpty()) {
        FillAllRows();
        return;
    }
    const QList<int> rows = QVSearchRows(byCode ? FCodes : FNames, text);
    if (rows.isEmpty()) {
        QVShowError(QStringLiteral("没有找到符合条件的数据！"));
        return;
    }
    FillRows(rows);
}

void TFrmQVComboBoxSelValue::BtnOkClick()
{
    QTreeWidgetItem *current = LvData->selectedItems().value(0);
    if (!current && LvData->topLevelItemCount() > 0) {
        QVShowError(QStringLiteral("请选择数据！"));
        return;
    }
    FChosenName = current ? current->text(1) : QString();
    done(1);
}
