#pragma once

#include <QPlainTextEdit>

#include "components/UQVBinding.h"

// A multi-line text bound to a field.
class TQVMemo : public QPlainTextEdit, public TQVBinding
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TQVMemo)

public:
    explicit TQVMemo(QWidget *parent = nullptr);

    TQVKind Kind() const override { return TQVKind::Memo; }
    bool IsMust() const { return FIsMust; }
    void SetIsMust(bool isMust) { FIsMust = isMust; }
    bool CanEdit() const { return FCanEdit; }
    void SetCanEdit(bool canEdit) { FCanEdit = canEdit; }

    bool CheckValue() override;
    QVariant GetValue() override;
    void SetValue(const QVariant &value) override;
    void UpdateEditState() override;

private:
    bool FIsMust = false;
    bool FCanEdit = true;
};
