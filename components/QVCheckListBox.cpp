#include "QVCheckListBox.h"

#include "UQVControlComm.h"

namespace {

const QString KCountMismatch = QStringLiteral("TQVCheckListBox 赋值错误！");
const QChar KSeparator = QLatin1Char('|');

} // namespace

TQVCheckListBox::TQVCheckListBox(QWidget *parent)
    : QListWidget(parent)
{
}

void TQVCheckListBox::SetItems(const QStringList &items)
{
    clear();
    for (const QString &text : items) {
        auto *item = new QListWidgetItem(text, this);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

bool TQVCheckListBox::Checked(int index) const
{
    return item(index)->checkState() == Qt::Checked;
}

void TQVCheckListBox::SetChecked(int index, bool checked)
{
    item(index)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool TQVCheckListBox::CountsMatch() const
{
    return count() == FValueItems.size();
}

QString TQVCheckListBox::EntryOf(int index) const
{
    return FValueMode == 0 ? FValueItems.at(index) : item(index)->text();
}

bool TQVCheckListBox::CheckValue()
{
    // Required means required whatever any query is doing.
    if (!FIsMust)
        return true;
    for (int i = 0; i < count(); ++i) {
        if (Checked(i))
            return true;
    }
    setFocus();
    QVShowError(QStringLiteral("本项是必填项！"));
    return false;
}

QVariant TQVCheckListBox::GetValue()
{
    if (!CountsMatch()) {
        QVShowError(KCountMismatch);
        return QVariant();
    }
    QString value;
    for (int i = 0; i < count(); ++i) {
        if (!Checked(i))
            continue;
        if (value.isEmpty())
            value = KSeparator;
        value += EntryOf(i) + KSeparator;
    }
    return value.isEmpty() ? QVariant() : QVariant(value);
}

void TQVCheckListBox::SetValue(const QVariant &value)
{
    if (!CountsMatch()) {
        QVShowError(KCountMismatch);
        return;
    }
    for (int i = 0; i < count(); ++i)
        SetChecked(i, false);
    if (value.isNull())
        return;
    const QString text = value.toString();
    // Fields 1 … n between the first and the last separator.
    const int last = QVCountChar(text, KSeparator) - 1;
    for (int field = 1; field <= last; ++field) {
        const QString entry = QVGetField(text, field, KSeparator);
        if (entry.isEmpty())
            continue;
        for (int i = 0; i < count(); ++i) {
            if (EntryOf(i) == entry) {
                SetChecked(i, true);
                break;
            }
        }
    }
}

void TQVCheckListBox::UpdateEditState()
{
    if (DataSet())
        setEnabled(Editing());
}
