#pragma once

#include <vector>

#include <QScrollArea>

#include "exam/UExamRules.h"

class QPushButton;
class TPicture;

// The answer sheet of the exam screen: a button for every question on the
// sheet's picture, scrolling when the paper is large. A button's colour
// shows the state of its answer; a click chooses its question.
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

signals:
    void QuestionChosen(int number);

private:
    QPushButton *MakeButton(int number, const QRect &place);

    TPicture *FContent;
    std::vector<QPushButton *> FButtons; // button i holds question i + 1
};
