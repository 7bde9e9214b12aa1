#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QWidget>

class QButtonGroup;
class QRadioButton;

// Small controls of the exam screen.

// The licence class's name on the screen: the face bold at 13 px, its
// letters closed up a little. The serif CJK face runs wider than the original
// 宋体, and "小型汽车（C1、C2、C3、C4）" would break inside its brackets.
QFont ClassNameFont();
// The colour of a label's or a button's text.
void SetTextColour(QWidget *widget, const QColor &colour);

// The longest start of the text that fits the label's width within the
// height, ended with an ellipsis when anything had to go.
QString TextWithinHeight(const QLabel *label, const QString &text, int maxHeight);
// A word-wrapped label takes the height of its text at its width; an empty
// one keeps the height of one line.
void FitHeight(QLabel *label);

// An option label that reports clicks.
class TClickLabel : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TClickLabel)

public:
    explicit TClickLabel(QWidget *parent = nullptr);

signals:
    void Clicked(TClickLabel *sender);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// A group of exclusive choices with an index. Changing the index, by a
// click or by SetItemIndex, emits Click; setting the same index does not.
class TRadioGroup : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TRadioGroup)

public:
    TRadioGroup(const QStringList &items, QWidget *parent = nullptr);

    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int index);
    QRadioButton *Item(int index) const;

signals:
    void Click();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void ItemClicked(int index);

    QButtonGroup *FGroup;
    int FItemIndex = 0;
};

// The decorative pictures, drawn by the program with the words they carry.
enum class TPictureKind { Banner, SectionHeader, WordLabel, SheetBackground };

class TPicture : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPicture)

public:
    TPicture(TPictureKind kind, const QString &word, QWidget *parent = nullptr);
    QString Word() const { return FWord; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void PaintBanner(QPainter &painter, const QRect &area);
    void PaintSectionHeader(QPainter &painter, const QRect &area);
    void PaintWordLabel(QPainter &painter, const QRect &area);
    void PaintSheetBackground(QPainter &painter, const QRect &area);

    TPictureKind FKind;
    QString FWord;
};

// A flat button whose face picture shows a sign and a word (← 上一题).
class TFaceButton : public QAbstractButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFaceButton)

public:
    TFaceButton(const QString &sign, const QString &word, const QColor &tint, QWidget *parent = nullptr);
    QString Word() const { return FWord; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString FSign;
    QString FWord;
    QColor FTint;
};
