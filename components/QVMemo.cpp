#include "QVMemo.h"

#include "UQVControlComm.h"

TQVMemo::TQVMemo(QWidget *parent)
    : QPlainTextEdit(parent)
{
}

bool TQVMemo::CheckValue()
{
    if (!Editing() || !FIsMust || !toPlainText().trimmed().isEmpty())
        return true;
    setFocus();
    QVShowError(QStringLiteral("本项是必填项！"));
    return false;
}

QVariant TQVMemo::GetValue()
{
    const QString text = toPlainText();
    return text.trimmed().isEmpty() ? QVariant() : QVariant(text);
}

void TQVMemo::SetValue(const QVariant &value)
{
    setPlainText(value.isNull() ? QString() : value.toString());
}

void TQVMemo::UpdateEditState()
{
    if (!DataSet())
        return;
    if (!Editing()) {
        QVSetBaseColor(this, KQVReadOnlyColor);
        setReadOnly(true);
    } else if (FCanEdit) {
        QVSetBaseColor(this, KQVEditableColor);
        setReadOnly(false);
    }
}
