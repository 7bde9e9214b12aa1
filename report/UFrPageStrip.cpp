#include "UFrPageStrip.h"

#include <algorithm>
#include <cmath>

int TfrPageStrip::PageHeight(int index) const
{
    return int(std::lround(FSizes[index].height() * FScale));
}

int TfrPageStrip::PageWidth(int index) const
{
    return int(std::lround(FSizes[index].width() * FScale));
}

int TfrPageStrip::Width() const
{
    int width = 0;
    for (int i = 0; i < PageCount(); ++i)
        width = std::max(width, PageWidth(i));
    return width;
}

QRect TfrPageStrip::PageRect(int page, int viewWidth) const
{
    if (page < 1 || page > PageCount())
        return QRect();
    int top = Gap;
    for (int i = 0; i < page - 1; ++i)
        top += PageHeight(i) + Gap;
    const int surfaceWidth = SurfaceSize(viewWidth).width();
    const int width = PageWidth(page - 1);
    return QRect((surfaceWidth - width) / 2, top, width, PageHeight(page - 1));
}

QSize TfrPageStrip::SurfaceSize(int viewWidth) const
{
    int height = Gap;
    for (int i = 0; i < PageCount(); ++i)
        height += PageHeight(i) + Gap;
    return QSize(std::max(viewWidth, Width() + 2 * Gap), height);
}

int TfrPageStrip::PageAt(int y) const
{
    int bottom = 0;
    for (int i = 0; i < PageCount(); ++i) {
        bottom += Gap + PageHeight(i);
        if (y < bottom)
            return i + 1;
    }
    return PageCount();
}

QSizeF TfrPageStrip::LargestPage() const
{
    QSizeF largest;
    for (const QSizeF &size : FSizes)
        largest = largest.expandedTo(size);
    return largest;
}

double TfrPageStrip::WholePageScale(QSize view) const
{
    const QSizeF largest = LargestPage();
    if (largest.isEmpty())
        return 1;
    const double across = (view.width() - 2 * Gap) / largest.width();
    const double down = (view.height() - 2 * Gap) / largest.height();
    return std::max(0.01, std::min(across, down));
}

double TfrPageStrip::PageWidthScale(int viewWidth) const
{
    const QSizeF largest = LargestPage();
    if (largest.isEmpty())
        return 1;
    return std::max(0.01, (viewWidth - 2 * Gap) / largest.width());
}
