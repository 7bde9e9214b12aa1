#pragma once

#include <QCheckBox>

#include "UQVBinding.h"

// A check box bound to a boolean field.
class TQVCheckBox : public QCheckBox, public TQVBinding
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TQVCheckBox)

public:
    explicit TQVCheckBox(const QString &text = QString(), QWidget *parent = nullptr);

    TQVKind Kind() const override { return TQVKind::CheckBox; }
    bool CheckValue() override { return true; }
    QVariant GetValue() override { return isChecked(); }
    void SetValue(const QVariant &value) override;
    void UpdateEditState() override;
};
