#include "UFrPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int ToolbarSize = 40;
constexpr int PageButtonSize = 24;

const QColor Ink(40, 40, 40);
const QColor Paper(255, 255, 255);
const QColor Steel(120, 130, 145);
const QColor Accent(30, 100, 190);
const QColor Alarm(200, 40, 40);

// A sheet with a folded corner, the base of several pictures.
void DrawSheet(QPainter &painter, const QRectF &rect)
{
    const double fold = rect.width() / 4;
    QPainterPath sheet;
    sheet.moveTo(rect.topLeft());
    sheet.lineTo(rect.right() - fold, rect.top());
    sheet.lineTo(rect.right(), rect.top() + fold);
    sheet.lineTo(rect.bottomRight());
    sheet.lineTo(rect.bottomLeft());
    sheet.closeSubpath();
    painter.setPen(QPen(Ink, 1.5));
    painter.setBrush(Paper);
    painter.drawPath(sheet);
    painter.drawLine(QPointF(rect.right() - fold, rect.top()), QPointF(rect.right() - fold, rect.top() + fold));
    painter.drawLine(QPointF(rect.right() - fold, rect.top() + fold), QPointF(rect.right(), rect.top() + fold));
}

void DrawPageSetup(QPainter &painter)
{
    const QRectF sheet(8, 4, 24, 32);
    DrawSheet(painter, sheet);
    painter.setPen(QPen(Accent, 1.2, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(sheet.adjusted(4, 8, -4, -4));
    painter.setPen(QPen(Ink, 1));
    for (int y = 15; y <= 28; y += 4)
        painter.drawLine(QPointF(14, y), QPointF(26, y));
}

void DrawPrinter(QPainter &painter)
{
    painter.setPen(QPen(Ink, 1.5));
    painter.setBrush(Paper);
    painter.drawRect(QRectF(11, 4, 18, 12));
    painter.setBrush(Steel);
    painter.drawRoundedRect(QRectF(4, 15, 32, 14), 3, 3);
    painter.setBrush(Paper);
    painter.drawRect(QRectF(10, 24, 20, 12));
    painter.setPen(QPen(Ink, 1));
    painter.drawLine(QPointF(13, 29), QPointF(27, 29));
    painter.drawLine(QPointF(13, 32), QPointF(24, 32));
    painter.setBrush(QColor(60, 200, 80));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(31, 19), 1.8, 1.8);
}

void DrawMagnifier(QPainter &painter)
{
    painter.setPen(QPen(Ink, 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(24, 24), QPointF(35, 35));
    painter.setPen(QPen(Ink, 2.5));
    painter.setBrush(QColor(210, 230, 250));
    painter.drawEllipse(QPointF(17, 17), 11, 11);
    painter.setPen(QPen(Accent, 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(12, 17), QPointF(22, 17));
    painter.drawLine(QPointF(17, 12), QPointF(17, 22));
}

void DrawClose(QPainter &painter)
{
    painter.setPen(QPen(Alarm.darker(130), 1.5));
    painter.setBrush(Alarm);
    painter.drawEllipse(QPointF(20, 20), 15, 15);
    painter.setPen(QPen(Paper, 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(14, 14), QPointF(26, 26));
    painter.drawLine(QPointF(26, 14), QPointF(14, 26));
}

void DrawPdf(QPainter &painter)
{
    DrawSheet(painter, QRectF(8, 4, 24, 32));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Alarm);
    painter.drawRect(QRectF(4, 20, 26, 11));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Paper);
    painter.drawText(QRectF(4, 20, 26, 11), Qt::AlignCenter, QStringLiteral("PDF"));
}

// Triangles pointing left or right, with a bar at the far end for the
// first and last page.
void DrawPageArrow(QPainter &painter, bool forward, bool withBar)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(Ink);
    QPolygonF triangle;
    if (forward)
        triangle << QPointF(8, 6) << QPointF(16, 12) << QPointF(8, 18);
    else
        triangle << QPointF(16, 6) << QPointF(8, 12) << QPointF(16, 18);
    painter.drawPolygon(triangle);
    if (withBar)
        painter.drawRect(forward ? QRectF(16.5, 6, 2.5, 12) : QRectF(5, 6, 2.5, 12));
}

} // namespace

QIcon PreviewPicture(TfrPicture picture)
{
    const bool pageButton = picture >= TfrPicture::FirstPage;
    const int size = pageButton ? PageButtonSize : ToolbarSize;
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (picture) {
    case TfrPicture::PageSetup: DrawPageSetup(painter); break;
    case TfrPicture::Print: DrawPrinter(painter); break;
    case TfrPicture::Zoom: DrawMagnifier(painter); break;
    case TfrPicture::Close: DrawClose(painter); break;
    case TfrPicture::Pdf: DrawPdf(painter); break;
    case TfrPicture::FirstPage: DrawPageArrow(painter, false, true); break;
    case TfrPicture::PriorPage: DrawPageArrow(painter, false, false); break;
    case TfrPicture::NextPage: DrawPageArrow(painter, true, false); break;
    case TfrPicture::LastPage: DrawPageArrow(painter, true, true); break;
    }
    painter.end();
    return QIcon(pixmap);
}
