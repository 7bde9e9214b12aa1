#include "QVComboBoxEx.h"

#include <QAbstractItemView>

#include "QVAdoQuery.h"
#include "UQVControlComm.h"

TQVComboBoxEx::TQVComboBoxEx(QWidget *parent)
    : QComboBox(parent)
{
    connect(this, &QComboBox::activated, this, &TQVComboBoxEx::ItemChosen);
}

void TQVComboBoxEx::ItemChosen(int index)
{
    FSelectedIndex = index;
    FSelectedCode = index >= 0 && index < FValueItems.size() ? FValueItems.at(index) : QString();
    FSelectedName = itemText(index);
}

void TQVComboBoxEx::ShowSelectedName()
{
    setCurrentIndex(FSelectedIndex);
}

bool TQVComboBoxEx::CheckValue()
{
    if (!Editing() || FSelectedIndex != -1 || !FIsMust)
        return true;
    setFocus();
    QVShowError(QStringLiteral("本项是必填项！"));
    return false;
}

QVariant TQVComboBoxEx::GetValue()
{
    return FSelectedIndex == -1 ? QVariant() : QVariant(FSelectedCode);
}

void TQVComboBoxEx::SetValue(const QVariant &value)
{
    if (count() != FValueItems.size()) {
        QVShowError(QStringLiteral("TComboBox 赋值错误！"));
        FSelectedIndex = -1;
        FSelectedCode.clear();
        FSelectedName.clear();
        return;
    }
    if (DataSet() && DataSet()->State() == TQuery::dsInsert && !FDefaultCode.isEmpty()) {
        FSelectedCode = FDefaultCode;
    } else if (value.isNull()) {
        FSelectedIndex = -1;
        FSelectedCode.clear();
        FSelectedName.clear();
        ShowSelectedName();
        return;
    } else {
        FSelectedCode = value.toString();
    }
    FSelectedIndex = int(FValueItems.indexOf(FSelectedCode));
    FSelectedName = FSelectedIndex >= 0 ? itemText(FSelectedIndex) : QString();
    ShowSelectedName();
}

void TQVComboBoxEx::UpdateEditState()
{
    if (!DataSet())
        return;
    if (!Editing()) {
        QVSetBaseColor(this, KQVReadOnlyColor);
        hidePopup();
    } else if (FCanEdit) {
        QVSetBaseColor(this, KQVEditableColor);
    }
}
