#pragma once

#include <vector>

#include <QPushButton>
#include <QScrollArea>

#include "UExamRules.h"
#include "UReviewMarks.h"

class TPicture;

// A button of the answer sheet: its question's number and a small sign in
// its top right corner, of the answer's state while answering and of the
// verdict (the mark) in review.
class TSheetButton : public QPushButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSheetButton)

public:
    TSheetButton(int number, QWidget *parent);
    QString Mark() const { return FMark; }
    void SetMark(const QString &mark);
    QString StateSign() const { return FStateSign; }
    void SetStateSign(const QString &sign);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString FMark;
    QString FStateSign;
};

// The answer sheet of the exam screen: a button for every question on the
// sheet's picture, scrolling when the paper is large. A button's colour,
// sign and accessible name show the state of its answer; a click chooses
// its question.
class TAnswerSheetPanel : public QScrollArea
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TAnswerSheetPanel)

public:
    TAnswerSheetPanel(const QRect &geometry, QWidget *parent);

    // Puts up the buttons of a paper, every one unanswered, in place of any
    // sheet before.
    void Build(int questionCount);
    // A number without a button (no sheet in chapter practice) is let be.
    void SetState(int number, TAnswerState state);
    // In review a button shows its question's mark by sign, colour and
    // accessible description.
    void ShowReviewMark(int number, TReviewMark mark);

signals:
    void QuestionChosen(int number);

private:
    TSheetButton *MakeButton(int number, const QRect &place);
    TSheetButton *Button(int number) const;
    // The look and words both the answer's state and the verdict use.
    static void Paint(TSheetButton *button, const QColor &colour, bool bold, const QString &words);

    TPicture *FContent;
    std::vector<TSheetButton *> FButtons; // button i holds question i + 1
};
