#include "UFrmCandidateSignIn.h"

#include <utility>

#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "UCandidateId.h"
#include "UComm.h"
#include "UFonts.h"
#include "UFormParts.h"

namespace {

QLineEdit *NewEdit(const QString &name, const QString &accessibleName, int maxLength, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(accessibleName);
    edit->setMaxLength(maxLength);
    edit->setMinimumWidth(220);
    return edit;
}

QPushButton *NewButton(const QString &name, const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAccessibleName(text);
    button->setMinimumWidth(76);
    return button;
}

} // namespace

TFrmCandidateSignIn::TFrmCandidateSignIn(const QString &roomName, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FrmCandidateSignIn"));
    setWindowTitle(QStringLiteral("考生登录"));
    setAccessibleName(windowTitle());
    setFont(SongFont(13));
    CreateControls(roomName);
    ArrangeControls();
}

void TFrmCandidateSignIn::CreateControls(const QString &roomName)
{
    LabRoom = new QLabel(QStringLiteral("考场：") + roomName, this);
    LabRoom->setObjectName(QStringLiteral("LabRoom"));
    LabRoom->setVisible(!roomName.isEmpty());
    // A resident ID has 18 characters; other documents are checked on OK.
    EditIdNumber = NewEdit(QStringLiteral("EditIdNumber"), QStringLiteral("身份证明号码"), KMaxOtherIdLength, this);
    LabIdNumber = NewBuddyLabel(QStringLiteral("LabIdNumber"), QStringLiteral("身份证明号码(&N)："), EditIdNumber, this);
    EditName = NewEdit(QStringLiteral("EditName"), QStringLiteral("姓名"), KMaxNameLength, this);
    LabName = NewBuddyLabel(QStringLiteral("LabName"), QStringLiteral("姓名(&M)："), EditName, this);
    CheckOtherId = new QCheckBox(QStringLiteral("其他证件(&O)"), this);
    CheckOtherId->setObjectName(QStringLiteral("CheckOtherId"));
    CheckOtherId->setAccessibleName(QStringLiteral("其他证件"));
    CheckOtherId->setAccessibleDescription(QStringLiteral("不是居民身份证时勾选"));
    BtnOK = NewButton(QStringLiteral("BtnOK"), QStringLiteral("确定"), this);
    BtnOK->setDefault(true);
    BtnCancel = NewButton(QStringLiteral("BtnCancel"), QStringLiteral("取消"), this);
    connect(BtnOK, &QPushButton::clicked, this, &TFrmCandidateSignIn::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmCandidateSignIn::ArrangeControls()
{
    auto *fields = new QGridLayout;
    fields->addWidget(LabIdNumber, 0, 0);
    fields->addWidget(EditIdNumber, 0, 1);
    fields->addWidget(LabName, 1, 0);
    fields->addWidget(EditName, 1, 1);
    fields->addWidget(CheckOtherId, 2, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    buttons->addStretch();

    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(18, 14, 18, 14);
    page->addWidget(LabRoom);
    page->addLayout(fields);
    page->addSpacing(6);
    page->addLayout(buttons);
    setFixedSize(sizeHint());

    SetTabChain({EditIdNumber, EditName, CheckOtherId, BtnOK, BtnCancel});
}

void TFrmCandidateSignIn::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!std::exchange(FShown, true))
        EditIdNumber->setFocus();
}

void TFrmCandidateSignIn::BtnOKClick()
{
    const TCandidateCheck check = CheckCandidate(EditIdNumber->text(), EditName->text(), CheckOtherId->isChecked());
    if (!check.Accepted()) {
        ShowError(check.Problem);
        QLineEdit *field = check.ProblemInName ? EditName : EditIdNumber;
        field->setFocus();
        field->selectAll();
        return;
    }
    RunContext.CandidateIdNumber = check.Candidate.IdNumber;
    RunContext.CandidateName = check.Candidate.Name;
    done(1);
}
