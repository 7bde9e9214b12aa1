#pragma once

#include <QPlainTextEdit>

#include "UQVBinding.h"

// A multi-line text bound to a field.
class TQVMemo : public QPlainTextEdit, public TQVBinding, public TQVEditFlags
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TQVMemo)

public:
    explicit TQVMemo(QWidget *parent = nullptr);

    TQVKind Kind() const override { return TQVKind::Memo; }

    bool CheckValue() override;
    QVariant GetValue() override;
    void SetValue(const QVariant &value) override;
    void UpdateEditState() override;
};
