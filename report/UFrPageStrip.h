#pragma once

#include <vector>

#include <QRect>
#include <QSize>
#include <QSizeF>

// Where the pages of a preview lie on its scrollable surface: one below
// the other with a gap, centred across, at a scale in pixels per point.
class TfrPageStrip
{
public:
    static constexpr int Gap = 10;

    void SetPageSizes(std::vector<QSizeF> sizesInPoints) { FSizes = std::move(sizesInPoints); }
    void SetScale(double pixelsPerPoint) { FScale = pixelsPerPoint; }
    double Scale() const { return FScale; }
    int PageCount() const { return int(FSizes.size()); }

    // Page n (from 1) on a surface shown in a view viewWidth pixels wide.
    QRect PageRect(int page, int viewWidth) const;
    QSize SurfaceSize(int viewWidth) const;
    // The page whose stretch of the surface (with the gap above it) holds
    // y; the nearest page for a y outside; 0 without pages.
    int PageAt(int y) const;

    // Scales that show the largest page whole, or the widest page's width,
    // inside a view of the given size.
    double WholePageScale(QSize view) const;
    double PageWidthScale(int viewWidth) const;

private:
    QSizeF LargestPage() const;
    int PageHeight(int index) const;
    int PageWidth(int index) const;
    int Width() const;

    std::vector<QSizeF> FSizes;
    double FScale = 1;
};
