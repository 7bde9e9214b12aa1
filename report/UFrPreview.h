#pragma once

#include <vector>

#include <QAbstractScrollArea>
#include <QString>

#include "UFrPageStrip.h"
#include "UFrReport.h"

// Shows prepared pages one below the other, with zoom and page turning.
// The current page is the one last gone to, or the one a scroll brought
// to the middle of the view.
class TfrPreview : public QAbstractScrollArea
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TfrPreview)

public:
    enum TZoomMode { zmPercent, zmWholePage, zmPageWidth };

    explicit TfrPreview(QWidget *parent = nullptr);

    void ShowPages(const std::vector<TfrPage> &pages);
    const std::vector<TfrPage> &Pages() const { return FPages; }
    // Shown in place of pages while there are none.
    void SetMessage(const QString &text);
    QString Message() const { return FMessage; }

    // From 1; 0 without pages.
    int Page() const { return FPage; }
    int AllPages() const { return int(FPages.size()); }
    // Ignored unless 1 <= page <= AllPages().
    void SetPage(int page);
    void First() { SetPage(1); }
    void Prev() { SetPage(FPage - 1); }
    void Next() { SetPage(FPage + 1); }
    void Last() { SetPage(AllPages()); }

    void SetZoom(double percent);
    void OnePage();
    void PageWidth();
    TZoomMode ZoomMode() const { return FZoomMode; }
    // The zoom in effect, also in the fitting modes.
    double ZoomPercent() const;

signals:
    void PageChanged(int page);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    double PixelsPerPoint(double percent) const;
    void ApplyZoom();
    void UpdateScrollBars();
    void ScrollToPage(int page);
    void ChangePage(int page);

    std::vector<TfrPage> FPages;
    TfrPageStrip FStrip;
    QString FMessage;
    int FPage = 0;
    TZoomMode FZoomMode = zmPercent;
    double FZoom = 100;
    bool FScrollingToPage = false;
};
