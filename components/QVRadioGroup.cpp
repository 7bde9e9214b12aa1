#include "QVRadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

TQVRadioGroup::TQVRadioGroup(const QString &title, QWidget *parent)
    : QGroupBox(title, parent),
      FButtons(new QButtonGroup(this)),
      FLayout(new QVBoxLayout(this))
{
}

QStringList TQVRadioGroup::Items() const
{
    QStringList items;
    for (QAbstractButton *button : FButtons->buttons())
        items << button->text();
    return items;
}

void TQVRadioGroup::SetItems(const QStringList &items)
{
    for (QAbstractButton *button : FButtons->buttons()) {
        FButtons->removeButton(button);
        delete button;
    }
    for (const QString &item : items) {
        auto *button = new QRadioButton(item, this);
        FButtons->addButton(button, int(FButtons->buttons().size()));
        FLayout->addWidget(button);
    }
}

int TQVRadioGroup::ItemIndex() const
{
    return FButtons->checkedId();
}

void TQVRadioGroup::SetItemIndex(int index)
{
    // An exclusive group cannot uncheck its last button; lift it meanwhile.
    FButtons->setExclusive(false);
    for (QAbstractButton *button : FButtons->buttons())
        button->setChecked(FButtons->id(button) == index);
    FButtons->setExclusive(true);
}

QVariant TQVRadioGroup::GetValue()
{
    const int index = ItemIndex();
    return index < 0 ? QVariant() : QVariant(FButtons->button(index)->text());
}

void TQVRadioGroup::SetValue(const QVariant &value)
{
    SetItemIndex(value.isNull() ? -1 : int(Items().indexOf(value.toString())));
}

void TQVRadioGroup::UpdateEditState()
{
    if (DataSet())
        setEnabled(Editing());
}
