#pragma once

#include <QListWidget>
#include <QStringList>

#include "UQVBinding.h"

// A list of check boxes whose value joins the checked codes (ValueMode 0)
// or item texts (ValueMode 1) as |a|b|.
class TQVCheckListBox : public QListWidget, public TQVBinding
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TQVCheckListBox)

public:
    explicit TQVCheckListBox(QWidget *parent = nullptr);

    TQVKind Kind() const override { return TQVKind::CheckListBox; }
    // Adds the items as unchecked check boxes.
    void SetItems(const QStringList &items);
    QStringList &ValueItems() { return FValueItems; }
    void SetValueItems(const QStringList &valueItems) { FValueItems = valueItems; }
    bool IsMust() const { return FIsMust; }
    void SetIsMust(bool isMust) { FIsMust = isMust; }
    int ValueMode() const { return FValueMode; }
    void SetValueMode(int valueMode) { FValueMode = quint8(valueMode); }
    bool Checked(int index) const;
    void SetChecked(int index, bool checked);

    bool CheckValue() override;
    QVariant GetValue() override;
    void SetValue(const QVariant &value) override;
    void UpdateEditState() override;

private:
    bool CountsMatch() const;
    // The code or the text of an item, by ValueMode.
    QString EntryOf(int index) const;

    QStringList FValueItems;
    bool FIsMust = false;
    quint8 FValueMode = 0;
};
