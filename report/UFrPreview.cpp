#include "UFrPreview.h"

#include <algorithm>

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

const QColor SurfaceColor(128, 128, 128);
const QColor ShadowColor(64, 64, 64);

} // namespace

TfrPreview::TfrPreview(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAutoFillBackground(true);
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Window, SurfaceColor);
    viewport()->setPalette(palette);
}

void TfrPreview::ShowPages(const std::vector<TfrPage> &pages)
{
    FPages = pages;
    std::vector<QSizeF> sizes;
    for (const TfrPage &page : FPages)
        sizes.push_back(page.Size);
    FStrip.SetPageSizes(sizes);
    FPage = 0;
    ApplyZoom();
    ChangePage(FPages.empty() ? 0 : 1);
    ScrollToPage(FPage);
}

void TfrPreview::SetMessage(const QString &text)
{
    FMessage = text;
    viewport()->update();
}

void TfrPreview::SetPage(int page)
{
    if (page < 1 || page > AllPages())
        return;
    ScrollToPage(page);
    ChangePage(page);
}

void TfrPreview::SetZoom(double percent)
{
    FZoomMode = zmPercent;
    FZoom = std::clamp(percent, 1.0, 1000.0);
    ApplyZoom();
}

void TfrPreview::OnePage()
{
    FZoomMode = zmWholePage;
    ApplyZoom();
}

void TfrPreview::PageWidth()
{
    FZoomMode = zmPageWidth;
    ApplyZoom();
}

double TfrPreview::ZoomPercent() const
{
    return FStrip.Scale() / PixelsPerPoint(100) * 100;
}

double TfrPreview::PixelsPerPoint(double percent) const
{
    return percent / 100 * logicalDpiX() / 72.0;
}

void TfrPreview::ApplyZoom()
{
    switch (FZoomMode) {
    case zmPercent: FStrip.SetScale(PixelsPerPoint(FZoom)); break;
    case zmWholePage: FStrip.SetScale(FStrip.WholePageScale(viewport()->size())); break;
    case zmPageWidth: FStrip.SetScale(FStrip.PageWidthScale(viewport()->width())); break;
    }
    UpdateScrollBars();
    ScrollToPage(FPage);
    viewport()->update();
}

void TfrPreview::UpdateScrollBars()
{
    const QSize surface = FStrip.SurfaceSize(viewport()->width());
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, surface.width() - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, std::max(0, surface.height() - view.height()));
    verticalScrollBar()->setPageStep(view.height());
    verticalScrollBar()->setSingleStep(20);
}

void TfrPreview::ScrollToPage(int page)
{
    if (page < 1)
        return;
    FScrollingToPage = true;
    verticalScrollBar()->setValue(FStrip.PageRect(page, viewport()->width()).top() - TfrPageStrip::Gap);
    FScrollingToPage = false;
}

void TfrPreview::ChangePage(int page)
{
    if (page == FPage)
        return;
    FPage = page;
    emit PageChanged(FPage);
}

void TfrPreview::scrollContentsBy(int dx, int dy)
{
    Q_UNUSED(dx);
    Q_UNUSED(dy);
    viewport()->update();
    if (!FScrollingToPage && !FPages.empty())
        ChangePage(FStrip.PageAt(verticalScrollBar()->value() + viewport()->height() / 2));
}

void TfrPreview::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    // A fitted zoom follows the window; a fixed one keeps the scroll position.
    if (FZoomMode == zmPercent)
        UpdateScrollBars();
    else
        ApplyZoom();
}

void TfrPreview::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    if (FPages.empty()) {
        painter.setPen(Qt::white);
        painter.drawText(viewport()->rect().adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap, FMessage);
        return;
    }
    const QPoint offset(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const int viewWidth = viewport()->width();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (int page = 1; page <= AllPages(); ++page) {
        const QRect rect = FStrip.PageRect(page, viewWidth).translated(-offset);
        if (!rect.adjusted(0, 0, 3, 3).intersects(event->rect()))
            continue;
        painter.fillRect(rect.translated(3, 3), ShadowColor);
        painter.fillRect(rect, Qt::white);
        painter.save();
        painter.setClipRect(rect);
        painter.translate(rect.topLeft());
        painter.scale(FStrip.Scale(), FStrip.Scale());
        DrawPage(painter, FPages[page - 1]);
        painter.restore();
    }
}
