#include "QVComboBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include "QVAdoQuery.h"
#include "UApplication.h"
#include "UQVComboBoxSelValue.h"
#include "UQVControlComm.h"

namespace {

const QString KCountMismatch = QStringLiteral("TComboBox 赋值有错误！");

} // namespace

TQVComboBox::TQVComboBox(QWidget *parent)
    : QComboBox(parent)
{
    // The edit starts inside the control; the refresh moves it beside the
    // list, onto the control's parent.
    FEdit = new QLineEdit(this);
    FEdit->setReadOnly(true);
    FEdit->hide();
    QVSetBaseColor(FEdit, KQVReadOnlyColor);
    FEditObject = FEdit;
    FEdit->installEventFilter(this);
    FSpeedBtn = new QToolButton(FEdit);
    FSpeedBtn->setText(QStringLiteral(".."));
    QFont font = FSpeedBtn->font();
    font.setPointSize(7);
    FSpeedBtn->setFont(font);
    FSpeedBtn->setCursor(Qt::ArrowCursor);
    connect(FSpeedBtn, &QToolButton::clicked, this, &TQVComboBox::SpeedBtnClick);
    connect(this, &QComboBox::activated, this, &TQVComboBox::UserChanged);
    connect(FEdit, &QLineEdit::textChanged, this, [this] {
        if (FEditHandlers.OnChange)
            FEditHandlers.OnChange();
    });
}

TQVComboBox::~TQVComboBox()
{
    // The edit may live on the parent; it goes with the control.
    if (FEdit && FEdit->parent() != this)
        delete FEdit;
}

void TQVComboBox::SetDataSet(TQVAdoQuery *dataSet)
{
    TQVBinding::SetDataSet(dataSet);
    UpdateEditState();
}

void TQVComboBox::SetValueItems(const QStringList &valueItems)
{
    if (valueItems == FValueItems)
        return;
    UpdateEditState();
    FValueItems = valueItems;
}

void TQVComboBox::SetVisible(bool visible)
{
    FVisible = visible;
    if (!visible)
        ShowEdit(false);
}

void TQVComboBox::SetShowSelectFormRow(int rows)
{
    FShowSelectFormRow = rows;
    UpdateEditState();
}

QStringList TQVComboBox::Items() const
{
    QStringList items;
    for (int i = 0; i < count(); ++i)
        items << itemText(i);
    return items;
}

void TQVComboBox::SetItemIndex(int index)
{
    setCurrentIndex(index);
    if (EditShowing())
        FEdit->setText(index >= 0 ? itemText(index) : QString());
}

QLineEdit *TQVComboBox::OverlayEdit() const
{
    return FEdit;
}

bool TQVComboBox::EditShowing() const
{
    return FEdit && !FEdit->isHidden();
}

bool TQVComboBox::CountsMatch() const
{
    return count() == FValueItems.size();
}

void TQVComboBox::ShowEdit(bool show)
{
    // Only real changes: the refresh also runs from paint events.
    if (FEdit && FEdit->isHidden() == show)
        FEdit->setVisible(show);
}

void TQVComboBox::CopyHandlersToEdit()
{
    if (OnEnter)
        FEditHandlers.OnEnter = OnEnter;
    if (OnKeyDown)
        FEditHandlers.OnKeyDown = OnKeyDown;
    if (OnKeyPress)
        FEditHandlers.OnKeyPress = OnKeyPress;
    if (OnKeyUp)
        FEditHandlers.OnKeyUp = OnKeyUp;
    if (OnChange)
        FEditHandlers.OnChange = OnChange;
    if (OnExit)
        FEditHandlers.OnExit = OnExit;
}

void TQVComboBox::UpdateEditState()
{
    if (!FEdit)
        return;
    const bool editPresentation = count() > FShowSelectFormRow;
    const bool editable = DataSet() && DataSet()->IsEditing() && FCanEdit;
    if (editPresentation) {
        QWidget *target = parentWidget() ? parentWidget() : this;
        if (FEdit->parentWidget() != target)
            FEdit->setParent(target);
        FEdit->setObjectName(objectName() + QStringLiteral("Edit"));
        FSpeedBtn->setObjectName(objectName() + QStringLiteral("SpeedBtn"));
        LayoutEdit();
        if (FEdit->isHidden())
            TakeTabOrder();
        ShowEdit(true);
        FEdit->raise();
        FVisible = true;
        CopyHandlersToEdit();
        // One change at most: the refresh runs on every paint, and a button
        // disabled even for a moment drops the press the user is making.
        const bool buttonEnabled = DataSet() ? editable : isEnabled();
        if (FSpeedBtn->isEnabled() != buttonEnabled)
            FSpeedBtn->setEnabled(buttonEnabled);
        const QString name = currentIndex() >= 0 ? itemText(currentIndex()) : QString();
        if (FEdit->text() != name)
            FEdit->setText(name);
    } else {
        if (focusProxy() == FEdit)
            setFocusProxy(nullptr);
        ShowEdit(false);
        FVisible = true;
    }
    if (!DataSet() || editPresentation)
        return;
    QVSetBaseColor(this, editable ? KQVEditableColor : KQVReadOnlyColor);
    if (isEnabled() != editable)
        setEnabled(editable);
}

// The edit takes the control's place in the tab chain; focus given to the
// control goes to the edit, and tabbing skips the hidden list.
void TQVComboBox::TakeTabOrder()
{
    setFocusProxy(FEdit);
    if (FEdit->parentWidget() != this)
        QWidget::setTabOrder(this, FEdit);
}

void TQVComboBox::LayoutEdit()
{
    if (!FEdit)
        return;
    const QPoint topLeft = FEdit->parentWidget() == this ? QPoint(0, 0) : pos();
    const QRect editRect(topLeft, QSize(width(), height()));
    if (FEdit->geometry() != editRect)
        FEdit->setGeometry(editRect);
    const int buttonSize = FEdit->height() - 5;
    const QRect buttonRect(FEdit->width() - buttonSize - 4, 1, buttonSize, buttonSize);
    if (FSpeedBtn->geometry() != buttonRect)
        FSpeedBtn->setGeometry(buttonRect);
    // The text stops short of the button.
    const QMargins margins(1, 1, buttonSize + 3, 3);
    if (FEdit->textMargins() != margins)
        FEdit->setTextMargins(margins);
}

bool TQVComboBox::CheckValue()
{
    if (!DataSet() || !DataSet()->IsEditing() || currentIndex() != -1 || !FIsMust)
        return true;
    if (EditShowing())
        FEdit->setFocus();
    else if (FVisible)
        setFocus();
    QVShowError(QStringLiteral("本项是必填项！"));
    return false;
}

QVariant TQVComboBox::GetValue()
{
    if (!CountsMatch()) {
        QVShowError(KCountMismatch);
        return QVariant();
    }
    int index = -1;
    if (FVisible)
        index = currentIndex();
    else if (EditShowing() && !FEdit->text().trimmed().isEmpty())
        index = int(Items().indexOf(FEdit->text()));
    return index == -1 ? QVariant() : QVariant(FValueItems.at(index));
}

void TQVComboBox::SetValue(const QVariant &value)
{
    if (FVisible) {
        SetItemIndex(-1);
        if (!CountsMatch()) {
            QVShowError(KCountMismatch);
            return;
        }
        if (value.isNull()) {
            // A new record shows the first name.
            if (DataSet() && DataSet()->State() == TQuery::dsInsert && count() > 0)
                SetItemIndex(0);
        } else {
            SetItemIndex(int(FValueItems.indexOf(value.toString())));
        }
    } else if (EditShowing()) {
        if (value.isNull()) {
            FEdit->clear();
            return;
        }
        const int index = int(FValueItems.indexOf(value.toString()));
        setCurrentIndex(index);
        FEdit->setText(index >= 0 ? itemText(index) : QString());
    }
}

void TQVComboBox::SpeedBtnClick()
{
    if (!CountsMatch()) {
        QVShowError(QStringLiteral("名称项和编号项不符，请检查！"));
        return;
    }
    FEdit->setFocus();
    TFrmQVComboBoxSelValue dialog(window());
    dialog.SetNames(Items());
    dialog.SetCodes(FValueItems);
    if (!FEdit->text().isEmpty()) {
        const int index = int(Items().indexOf(FEdit->text()));
        if (index >= 0)
            dialog.SetSelectedCode(FValueItems.at(index));
    }
    if (ExecModal(dialog) != 1)
        return;
    // Equal names share the first one's place.
    SetItemIndex(int(Items().indexOf(dialog.ChosenName())));
    FEdit->setText(dialog.ChosenName());
}

void TQVComboBox::UserChanged()
{
    if (OnChange)
        OnChange();
}

void TQVComboBox::resizeEvent(QResizeEvent *event)
{
    QComboBox::resizeEvent(event);
    UpdateEditState();
    LayoutEdit();
}

void TQVComboBox::moveEvent(QMoveEvent *event)
{
    QComboBox::moveEvent(event);
    LayoutEdit();
}

void TQVComboBox::paintEvent(QPaintEvent *event)
{
    LayoutEdit();
    UpdateEditState();
    QComboBox::paintEvent(event);
}

void TQVComboBox::changeEvent(QEvent *event)
{
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && EditShowing())
        FSpeedBtn->setEnabled(isEnabled());
}

void TQVComboBox::focusInEvent(QFocusEvent *event)
{
    QComboBox::focusInEvent(event);
    if (OnEnter)
        OnEnter();
}

void TQVComboBox::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    // Only a control of the same form taking the focus is a leaving; its own
    // list, the selection dialog or the error box taking it is not.
    const QWidget *next = QApplication::focusWidget();
    if (!next || next == this || next->window() != window())
        return;
    if (CheckValue() && OnExit)
        OnExit();
}

void TQVComboBox::keyPressEvent(QKeyEvent *event)
{
    if (OnKeyDown)
        OnKeyDown(event->key());
    if (OnKeyPress && !event->text().isEmpty())
        OnKeyPress(event->text().at(0));
    QComboBox::keyPressEvent(event);
}

void TQVComboBox::keyReleaseEvent(QKeyEvent *event)
{
    if (OnKeyUp)
        OnKeyUp(event->key());
    QComboBox::keyReleaseEvent(event);
}

bool TQVComboBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != FEditObject)
        return QComboBox::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        if (FEditHandlers.OnEnter)
            FEditHandlers.OnEnter();
        break;
    case QEvent::FocusOut:
        if (FEditHandlers.OnExit)
            FEditHandlers.OnExit();
        break;
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (FEditHandlers.OnKeyDown)
            FEditHandlers.OnKeyDown(key->key());
        if (FEditHandlers.OnKeyPress && !key->text().isEmpty())
            FEditHandlers.OnKeyPress(key->text().at(0));
        break;
    }
    case QEvent::KeyRelease:
        if (FEditHandlers.OnKeyUp)
            FEditHandlers.OnKeyUp(static_cast<QKeyEvent *>(event)->key());
        break;
    default: break;
    }
    return QComboBox::eventFilter(watched, event);
}
