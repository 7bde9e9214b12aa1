#include "USelLxType.h"

#include <utility>

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include "QVComboBox.h"
#include "UApplication.h"
#include "UComm.h"
#include "UDriveTypes.h"
#include "UFonts.h"
#include "UFormParts.h"
#include "UFrmLearningRecord.h"

namespace {

constexpr int KClientWidth = 352;
// The outer heights count a 26-pixel caption and two 4-pixel borders of
// the design grid; the client area is what is left.
constexpr int KNonClientHeight = 34;
constexpr int KGroupBox1Height = 49;
constexpr int KGroupBox2Height = 45;

// The frame line runs through the middle of the caption, as the design's
// places assume: a frame drawn below the caption would cut through the
// list band's label and list.
void FrameThroughCaption(QGroupBox *box)
{
    box->setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid palette(mid); border-radius: 2px;"
                                      " margin-top: %1px; }"
                                      "QGroupBox::title { subcontrol-origin: margin; left: 6px; }")
                           .arg(box->fontMetrics().height() / 2));
}

} // namespace

TFrmSelLxType::TFrmSelLxType(QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FrmSelLxType"));
    setWindowTitle(QStringLiteral("练习方式"));
    setFont(SongFont(13));

    GroupBox1 = new QGroupBox(QStringLiteral(" 方式选择 "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(0, 0, KClientWidth, KGroupBox1Height);
    FrameThroughCaption(GroupBox1);
    RadioButton1 = new QRadioButton(QStringLiteral("套题练习"), GroupBox1);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->move(18, 22);
    RadioButton2 = new QRadioButton(QStringLiteral("顺序练习"), GroupBox1);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->move(125, 22);
    RadioButton3 = new QRadioButton(QStringLiteral("模拟考试"), GroupBox1);
    RadioButton3->setObjectName(QStringLiteral("RadioButton3"));
    RadioButton3->move(232, 22);
    RadioButton3->setChecked(true);

    GroupBox2 = new QGroupBox(this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(0, KGroupBox1Height, KClientWidth, KGroupBox2Height);
    FrameThroughCaption(GroupBox2);
    Label1 = new QLabel(GroupBox2);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(32, 18);
    QVComboBox1 = new TQVComboBox(GroupBox2);
    QVComboBox1->setObjectName(QStringLiteral("QVComboBox1"));
    QVComboBox1->setGeometry(94, 14, 243, 21);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("确定"), Panel1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(158, 6, 83, 28);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("取消"), Panel1);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(251, 6, 83, 28);
    // In the empty left of the band: the dialog's own controls keep their places.
    BitBtn3 = new QPushButton(QStringLiteral("学习记录(&R)"), Panel1);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setGeometry(14, 6, 110, 28);
    BitBtn3->setAutoDefault(false);

    for (QRadioButton *radio : {RadioButton1, RadioButton2, RadioButton3}) {
        connect(radio, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                RadioButton1Click();
        });
    }
    // Tab goes through the band as it reads, left to right.
    SetTabChain({QVComboBox1, BitBtn3, BitBtn1, BitBtn2});
    connect(BitBtn1, &QPushButton::clicked, this, &TFrmSelLxType::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, [this] { done(2); });
    connect(BitBtn3, &QPushButton::clicked, this, &TFrmSelLxType::BitBtn3Click);
    SetOuterHeight(KMockExamHeight);
    GroupBox2->hide();
}

void TFrmSelLxType::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Restored after being minimised, the dialog keeps the mode, list and choice.
    if (!std::exchange(FShown, true))
        FormShow();
}

void TFrmSelLxType::FormShow()
{
    RunContext.PracticeMode.clear();
    RunContext.PracticeScope.clear();
    const QSignalBlocker blocker(RadioButton3);
    RadioButton3->setChecked(true);
    // The focus, and with it the group's Tab stop, is on the chosen mode.
    RadioButton3->setFocus();
    RadioButton1Click();
}

void TFrmSelLxType::SetOuterHeight(int height)
{
    const int clientHeight = height - KNonClientHeight;
    setFixedSize(KClientWidth, clientHeight);
    const int panelTop = GroupBox2->isHidden() ? KGroupBox1Height : KGroupBox1Height + KGroupBox2Height;
    Panel1->setGeometry(0, panelTop, KClientWidth, clientHeight - panelTop);
}

void TFrmSelLxType::RadioButton1Click()
{
    if (RadioButton1->isChecked()) {
        GroupBox2->setTitle(QStringLiteral(" 套题信息 "));
        Label1->setText(QStringLiteral("选择套题："));
        GroupBox2->show();
        SetOuterHeight(KPracticeHeight);
        // A failing statement is the framework's to report; the list stays empty.
        RunGuarded([this] { FillSetList(); });
    } else if (RadioButton2->isChecked()) {
        GroupBox2->setTitle(QStringLiteral(" 章节信息 "));
        Label1->setText(QStringLiteral("选择章节："));
        GroupBox2->show();
        SetOuterHeight(KPracticeHeight);
        RunGuarded([this] { FillChapterList(); });
    } else {
        GroupBox2->hide();
        SetOuterHeight(KMockExamHeight);
    }
    Label1->adjustSize();
}

void TFrmSelLxType::FillList(const TNameCodeList &list)
{
    QVComboBox1->addItems(list.Names);
    QVComboBox1->ValueItems() = list.Codes;
    QVComboBox1->SetItemIndex(-1);
    // Filled in place the combo box picks its presentation at the next paint.
    QVComboBox1->update();
}

void TFrmSelLxType::FillSetList()
{
    const QString filter = ChapterFilterOf(RunContext.DriveTypeCode);
    if (filter.isEmpty())
        return;
    RunContext.ChapterFilter = filter;
    QVComboBox1->clear();
    QVComboBox1->ValueItems().clear();
    FillList(ReadSetList(RunContext.ChapterFilter));
}

void TFrmSelLxType::FillChapterList()
{
    const QString filter = ChapterFilterOf(RunContext.DriveTypeCode);
    if (!filter.isEmpty())
        RunContext.ChapterFilter = filter;
    QVComboBox1->clear();
    QVComboBox1->ValueItems().clear();
    FillList(ReadChapterList(RunContext.ChapterFilter));
}

void TFrmSelLxType::BitBtn1Click()
{
    if (RadioButton3->isChecked()) {
        RunContext.PracticeMode = QStringLiteral("3");
        done(1);
        return;
    }
    const QVariant value = QVComboBox1->GetValue();
    if (RadioButton1->isChecked() && value.isNull()) {
        ShowInfo(QStringLiteral("请选择套题！"));
        return;
    }
    if (RadioButton2->isChecked() && value.isNull()) {
        ShowInfo(QStringLiteral("请选择章节！"));
        return;
    }
    if (RadioButton1->isChecked()) {
        RunContext.PracticeMode = QStringLiteral("1");
        RunContext.PracticeScope = SetPracticeScope(value.toString());
    } else {
        RunContext.PracticeMode = QStringLiteral("2");
        RunContext.PracticeScope = value.toString();
    }
    done(1);
}

void TFrmSelLxType::BitBtn3Click()
{
    const QString filter = ChapterFilterOf(RunContext.DriveTypeCode);
    TFrmLearningRecord record(RunContext.DriveTypeCode, RunContext.DriveTypeCaption, filter, this);
    if (ExecModal(record) != TFrmLearningRecord::KStartWrongPractice)
        return;
    if (!filter.isEmpty())
        RunContext.ChapterFilter = filter;
    RunContext.PracticeMode = QStringLiteral("4");
    RunContext.PracticeScope.clear();
    done(1);
}
