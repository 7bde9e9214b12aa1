#pragma once

#include <QComboBox>
#include <QStringList>

#include "UQVBinding.h"

// A drop-down list of names (the combo's items) whose value is the code at
// the same place in ValueItems; a new record can start on DefaultCode.
class TQVComboBoxEx : public QComboBox, public TQVBinding, public TQVEditFlags
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TQVComboBoxEx)

public:
    explicit TQVComboBoxEx(QWidget *parent = nullptr);

    TQVKind Kind() const override { return TQVKind::ComboBoxEx; }
    QStringList &ValueItems() { return FValueItems; }
    void SetValueItems(const QStringList &valueItems) { FValueItems = valueItems; }
    QString DefaultCode() const { return FDefaultCode; }
    void SetDefaultCode(const QString &code) { FDefaultCode = code; }

    int SelectedIndex() const { return FSelectedIndex; }
    QString SelectedCode() const { return FSelectedCode; }
    QString SelectedName() const { return FSelectedName; }

    bool CheckValue() override;
    QVariant GetValue() override;
    void SetValue(const QVariant &value) override;
    void UpdateEditState() override;

private:
    // The user picked a name in the drop-down list.
    void ItemChosen(int index);
    void ShowSelectedName();

    QStringList FValueItems;
    QString FDefaultCode;
    int FSelectedIndex = -1;
    QString FSelectedCode;
    QString FSelectedName;
};
