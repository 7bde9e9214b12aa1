#pragma once

#include <vector>

#include <QRect>
#include <QSize>

// Where the answer-sheet buttons go in the sheet panel.
struct TAnswerSheetLayout
{
    std::vector<QRect> Buttons; // button i holds question i + 1
    QSize ContentSize;          // larger than the panel when the sheet scrolls
    bool Scrolls = false;
};

constexpr int KSheetButtonSize = 23;
constexpr int KSheetRows = 14;

// Up to the count whose columns still fit the panel (125 in a 218-wide
// panel) the buttons run along 14 touching rows with even horizontal gaps.
// Larger papers keep the button size but use the columns that fit beside a
// vertical scroll bar of scrollBarWidth, in as many rows as they need, so
// that every question keeps a whole, readable button.
TAnswerSheetLayout AnswerSheetLayout(int questionCount, QSize panel, int scrollBarWidth);
