#pragma once

#include <QLineEdit>
#include <QVariant>

#include "UQVBinding.h"

// What a TQVEdit holds, by EditType.
enum TQVEditType : quint8 { etText = 0, etNumber = 1, etDate = 2, etTime = 3, etDateTime = 4 };

// The value rules of the edit, apart from the widget.
// The value of an edit text: null when blank or not readable.
QVariant QVEditTextValue(const QString &text, int editType);
// The text that shows a value; false when the type shows nothing (the
// edit stays as it is).
bool QVEditValueText(const QVariant &value, int editType, QString &text);
// The message a check fails with, or the empty text when it passes.
QString QVEditCheckMessage(const QString &text, int editType, bool isMust);

// A single-line edit bound to a field: text, number, date (yyyy年mm月dd日),
// time (hh:nn) or date-time, the last three through input masks.
class TQVEdit : public QLineEdit, public TQVBinding, public TQVEditFlags
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TQVEdit)

public:
    explicit TQVEdit(QWidget *parent = nullptr);

    TQVKind Kind() const override { return TQVKind::Edit; }
    int EditType() const { return FEditType; }
    // Also sets the input mask of the type.
    void SetEditType(int editType);

    bool CheckValue() override;
    QVariant GetValue() override;
    void SetValue(const QVariant &value) override;
    void UpdateEditState() override;

private:
    quint8 FEditType = etText;
};
