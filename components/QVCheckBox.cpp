#include "QVCheckBox.h"

TQVCheckBox::TQVCheckBox(const QString &text, QWidget *parent)
    : QCheckBox(text, parent)
{
}

void TQVCheckBox::SetValue(const QVariant &value)
{
    setChecked(!value.isNull() && value.toBool());
}

void TQVCheckBox::UpdateEditState()
{
    if (DataSet())
        setEnabled(Editing());
}
