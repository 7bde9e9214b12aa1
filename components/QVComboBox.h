#pragma once

#include <functional>

#include <QComboBox>
#include <QPointer>
#include <QStringList>

#include "UQVBinding.h"

class QLineEdit;
class QToolButton;

// A drop-down list of names (Items) whose value is the code at the same
// place in ValueItems. With more than ShowSelectFormRow names a read-only
// edit with a ".." button is laid over the list, and the button opens the
// value-selection dialog instead.
class TQVComboBox : public QComboBox, public TQVBinding, public TQVEditFlags
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TQVComboBox)

public:
    explicit TQVComboBox(QWidget *parent = nullptr);
    ~TQVComboBox() override;

    TQVKind Kind() const override { return TQVKind::ComboBox; }
    void SetDataSet(TQVAdoQuery *dataSet) override;
    // Filled in place the presentation follows at the next resize or paint.
    QStringList &ValueItems() { return FValueItems; }
    void SetValueItems(const QStringList &valueItems);
    // The control's own visibility flag: it never hides the list itself.
    bool Visible() const { return FVisible; }
    void SetVisible(bool visible);
    int ShowSelectFormRow() const { return FShowSelectFormRow; }
    void SetShowSelectFormRow(int rows);

    QStringList Items() const;
    int ItemIndex() const { return currentIndex(); }
    // Also shows the chosen name in the overlay edit while it is showing.
    void SetItemIndex(int index);

    // The overlay edit and its ".." button (named after the control plus
    // "Edit" and "SpeedBtn").
    QLineEdit *OverlayEdit() const;
    QToolButton *SpeedBtn() const { return FSpeedBtn; }
    bool EditShowing() const;

    bool CheckValue() override;
    QVariant GetValue() override;
    void SetValue(const QVariant &value) override;
    // The presentation refresh: list or overlay edit, colour and enabled.
    void UpdateEditState() override;

    // The control's handlers; those assigned are copied to the overlay edit
    // when it is put up.
    std::function<void()> OnEnter;
    std::function<void(int key)> OnKeyDown;
    std::function<void(QChar key)> OnKeyPress;
    std::function<void(int key)> OnKeyUp;
    std::function<void()> OnChange;
    std::function<void()> OnExit;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct THandlers
    {
        std::function<void()> OnEnter;
        std::function<void(int key)> OnKeyDown;
        std::function<void(QChar key)> OnKeyPress;
        std::function<void(int key)> OnKeyUp;
        std::function<void()> OnChange;
        std::function<void()> OnExit;
    };

    bool CountsMatch() const;
    void ShowEdit(bool show);
    void CopyHandlersToEdit();
    void LayoutEdit();
    void TakeTabOrder();
    void SpeedBtnClick();
    void UserChanged();

    QStringList FValueItems;
    bool FVisible = true;
    int FShowSelectFormRow = 20;
    QPointer<QLineEdit> FEdit;
    // The filter compares against this plain pointer: while the edit is being
    // destroyed it is no QLineEdit any more, and reading the QPointer would
    // cast it to one.
    QObject *FEditObject = nullptr;
    QToolButton *FSpeedBtn;
    THandlers FEditHandlers;
};
