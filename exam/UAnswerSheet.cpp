#include "UAnswerSheet.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int W = KSheetButtonSize;
constexpr int H = KSheetButtonSize;

int ClassicColumns(int questionCount)
{
    int columns = questionCount / KSheetRows;
    if (columns < 25)
        ++columns;
    return columns;
}

TAnswerSheetLayout ClassicLayout(int questionCount, QSize panel, int columns)
{
    TAnswerSheetLayout layout;
    layout.ContentSize = panel;
    // Real divisions truncated toward zero, as the gaps were always measured.
    const int verticalGap = int(std::trunc(double(panel.height() - 2 - KSheetRows * H) / 15));
    const int horizontalGap = int(std::trunc(double(panel.width() - columns * W) / (columns + 1)));
    int number = 1;
    for (int r = 1; r <= KSheetRows; ++r) {
        for (int c = 1; c <= columns; ++c) {
            if (number > questionCount)
                return layout;
            layout.Buttons.emplace_back((c - 1) * W + horizontalGap * c, (r - 1) * H + verticalGap * r, W, H);
            ++number;
        }
    }
    return layout;
}

TAnswerSheetLayout ScrollingLayout(int questionCount, QSize panel, int scrollBarWidth)
{
    TAnswerSheetLayout layout;
    layout.Scrolls = true;
    const int width = panel.width() - scrollBarWidth;
    const int columns = std::max(1, (width - 1) / (W + 1));
    const int horizontalGap = (width - columns * W) / (columns + 1);
    const int rows = (questionCount + columns - 1) / columns;
    for (int i = 0; i < questionCount; ++i) {
        const int r = i / columns, c = i % columns;
        layout.Buttons.emplace_back(c * W + horizontalGap * (c + 1), r * (H + 1) + 1, W, H);
    }
    layout.ContentSize = QSize(width, rows * (H + 1) + 1);
    return layout;
}

} // namespace

TAnswerSheetLayout AnswerSheetLayout(int questionCount, QSize panel, int scrollBarWidth)
{
    if (questionCount <= 0)
        return TAnswerSheetLayout{{}, panel, false};
    const int columns = ClassicColumns(questionCount);
    if (columns * W <= panel.width())
        return ClassicLayout(questionCount, panel, columns);
    return ScrollingLayout(questionCount, panel, scrollBarWidth);
}
