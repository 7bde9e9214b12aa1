#pragma once

#include <QGroupBox>
#include <QStringList>

#include "UQVBinding.h"

class QButtonGroup;
class QVBoxLayout;

// A group of radio buttons whose value is the text of the chosen one.
class TQVRadioGroup : public QGroupBox, public TQVBinding
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TQVRadioGroup)

public:
    explicit TQVRadioGroup(const QString &title = QString(), QWidget *parent = nullptr);

    TQVKind Kind() const override { return TQVKind::RadioGroup; }
    QStringList Items() const;
    void SetItems(const QStringList &items);
    // -1 while no item is chosen.
    int ItemIndex() const;
    void SetItemIndex(int index);

    bool CheckValue() override { return true; }
    QVariant GetValue() override;
    void SetValue(const QVariant &value) override;
    void UpdateEditState() override;

private:
    QButtonGroup *FButtons;
    QVBoxLayout *FLayout;
};
