#include "UFrReport.h"

#include <algorithm>
#include <cmath>

#include <QDate>
#include <QFile>
#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <QTime>

#include "UFrDBDataSet.h"

namespace {

constexpr double PointsPerMm = 72.0 / 25.4;
// Text is measured and drawn with fonts sized in twentieths of a point, so
// line breaks come out the same on the screen, the printer and in a PDF.
constexpr double TwipsPerPoint = 20.0;
constexpr double PaddingX = 1.0 * PointsPerMm;
constexpr double PaddingY = 0.5 * PointsPerMm;
constexpr double Epsilon = 0.01;

QString Lower(const QString &name)
{
    return name.trimmed().toLower();
}

bool IsBuiltInName(const QString &name)
{
    const QString lower = Lower(name);
    return lower == QLatin1String("page") || lower == QLatin1String("totalpages") || lower == QLatin1String("line");
}

QString NumberText(double value)
{
    const bool whole = std::abs(value - std::round(value)) < 1e-9;
    return QLocale::c().toString(value, 'f', whole ? 0 : 2);
}

template <typename F>
void ForEachExpression(const TfrTemplate &reportTemplate, F &&visit)
{
    for (const TfrBand &band : reportTemplate.Bands) {
        for (const TfrMemo &memo : band.Memos) {
            for (const TfrTextPart &part : memo.Parts) {
                if (part.IsExpression)
                    visit(part.Expression);
            }
        }
    }
}

// Lays out one template against the rows of its dataset.
class TPreparer
{
public:
    TPreparer(const TfrTemplate &reportTemplate, std::map<QString, QString> variables, const QPageLayout &layout,
              const TfrDBDataSet *dataSet)
        : FTemplate(reportTemplate),
          FVariables(std::move(variables)),
          FLayout(layout)
    {
        ReadRows(dataSet);
    }

    bool Run(std::vector<TfrPage> &pages)
    {
        if (!RoomForBands())
            return false;
        Layout(0, pages);
        if (UsesTotalPages())
            Layout(int(pages.size()), pages);
        return true;
    }

private:
    void ReadRows(const TfrDBDataSet *dataSet)
    {
        if (!dataSet || !dataSet->Active())
            return;
        QStringList fieldNames;
        auto addField = [this, &fieldNames, dataSet](const QString &name) {
            if (name.isEmpty() || IsBuiltInName(name) || FVariables.count(Lower(name)) || FFieldIndex.count(Lower(name)))
                return;
            if (!dataSet->HasField(name))
                throw EReportError(QStringLiteral("报表模板中有未知的字段或变量：%1").arg(name));
            FFieldIndex[Lower(name)] = int(fieldNames.size());
            fieldNames << name;
        };
        ForEachExpression(FTemplate, [&addField](const TfrExpression &expression) {
            addField(expression.Name);
            addField(expression.Condition.Field);
        });
        FRows = dataSet->RowTexts(fieldNames);
    }

    bool UsesTotalPages() const
    {
        bool uses = false;
        ForEachExpression(FTemplate, [&uses](const TfrExpression &expression) {
            uses = uses
                || (expression.Kind == TfrExpression::ekName && Lower(expression.Name) == QLatin1String("totalpages"));
        });
        return uses;
    }

    double BandHeight(TfrBandType type) const
    {
        const TfrBand *band = FTemplate.Band(type);
        return band ? band->Height * PointsPerMm : 0;
    }

    bool RoomForBands() const
    {
        const QRectF paint = FLayout.paintRect(QPageLayout::Point);
        if (paint.width() <= 2 * PaddingX)
            return false;
        const double fixed = BandHeight(TfrBandType::PageHeader) + BandHeight(TfrBandType::ReportTitle)
            + BandHeight(TfrBandType::ColumnHeader) + BandHeight(TfrBandType::PageFooter);
        const double detail = FRows.empty() ? 0 : BandHeight(TfrBandType::MasterData);
        return fixed + detail <= paint.height() + Epsilon;
    }

    QString FieldText(const QString &name, int row) const
    {
        const auto found = FFieldIndex.find(Lower(name));
        if (found == FFieldIndex.end() || row < 0 || row >= int(FRows.size()))
            return QString();
        return FRows[row].at(found->second);
    }

    bool RowMatches(const TfrCondition &condition, int row) const
    {
        if (condition.Field.isEmpty())
            return true;
        return (FieldText(condition.Field, row) == condition.Value) == condition.Equal;
    }

    QString NameText(const QString &name, int row) const
    {
        const QString lower = Lower(name);
        if (lower == QLatin1String("page"))
            return QString::number(FPage);
        if (lower == QLatin1String("totalpages"))
            return QString::number(FTotalPages);
        if (lower == QLatin1String("line"))
            return row >= 0 ? QString::number(row + 1) : QString();
        const auto variable = FVariables.find(lower);
        if (variable != FVariables.end())
            return variable->second;
        return FieldText(name, row);
    }

    QString ExpressionText(const TfrExpression &expression, int row) const
    {
        switch (expression.Kind) {
        case TfrExpression::ekName: return NameText(expression.Name, row);
        case TfrExpression::ekCount: {
            int count = 0;
            for (int i = 0; i < int(FRows.size()); ++i)
                count += RowMatches(expression.Condition, i) ? 1 : 0;
            return QString::number(count);
        }
        case TfrExpression::ekSum: {
            double sum = 0;
            for (int i = 0; i < int(FRows.size()); ++i) {
                if (RowMatches(expression.Condition, i))
                    sum += FieldText(expression.Name, i).trimmed().toDouble();
            }
            return NumberText(sum);
        }
        }
        return QString();
    }

    QString MemoText(const TfrMemo &memo, int row) const
    {
        QString text;
        for (const TfrTextPart &part : memo.Parts)
            text += part.IsExpression ? ExpressionText(part.Expression, row) : part.Literal;
        return text;
    }

    // The band's items relative to its top; height receives the band's
    // height, grown to fit wrapped text when stretch is set.
    std::vector<TfrPageItem> LayoutBand(const TfrBand &band, int row, bool stretch, double &height) const
    {
        const double designHeight = band.Height * PointsPerMm;
        height = designHeight;
        std::vector<TfrPageItem> items;
        for (const TfrMemo &memo : band.Memos) {
            TfrPageItem item;
            item.Rect = QRectF(memo.Rect.x() * PointsPerMm, memo.Rect.y() * PointsPerMm,
                               memo.Rect.width() * PointsPerMm, memo.Rect.height() * PointsPerMm);
            item.FontSize = memo.FontSize;
            item.Bold = memo.Bold;
            item.Alignment = memo.Alignment;
            item.Frame = memo.Frame;
            const QFont font = ReportFont(FTemplate.FontFamily, memo.FontSize, memo.Bold);
            item.Lines = BreakLines(font, MemoText(memo, row), item.Rect.width() - 2 * PaddingX, memo.WordWrap,
                                    item.LineHeight);
            if (stretch && memo.WordWrap)
                height = std::max(height, item.Rect.top() + item.Lines.size() * item.LineHeight + 2 * PaddingY);
            items.push_back(item);
        }
        // Boxes that reach the band's bottom grow with it, so the frames of a
        // table row stay one height.
        const double growth = height - designHeight;
        for (TfrPageItem &item : items) {
            if (growth > 0 && item.Rect.bottom() >= designHeight - Epsilon)
                item.Rect.setBottom(item.Rect.bottom() + growth);
        }
        return items;
    }

    void Place(std::vector<TfrPageItem> items, double top, TfrPage &page) const
    {
        const double left = FLayout.paintRect(QPageLayout::Point).left();
        for (TfrPageItem &item : items) {
            item.Rect.translate(left, top);
            page.Items.push_back(item);
        }
    }

    // Places a band at y when the template has it and moves y below it.
    void PlaceBand(TfrBandType type, int row, bool stretch, double &y, TfrPage &page) const
    {
        const TfrBand *band = FTemplate.Band(type);
        if (!band)
            return;
        double height = 0;
        Place(LayoutBand(*band, row, stretch, height), y, page);
        y += height;
    }

    void Layout(int totalPages, std::vector<TfrPage> &pages)
    {
        pages.clear();
        FTotalPages = totalPages;
        const QRectF paint = FLayout.paintRect(QPageLayout::Point);
        const QSizeF pageSize = FLayout.fullRect(QPageLayout::Point).size();
        const double footerTop = paint.bottom() - BandHeight(TfrBandType::PageFooter);
        TfrPage page;
        double y = 0;
        double contentTop = 0;

        auto startPage = [&](bool title, bool columnHeader) {
            page = TfrPage();
            page.Size = pageSize;
            page.FontFamily = FTemplate.FontFamily;
            FPage = int(pages.size()) + 1;
            y = paint.top();
            PlaceBand(TfrBandType::PageHeader, -1, false, y, page);
            if (title)
                PlaceBand(TfrBandType::ReportTitle, -1, true, y, page);
            if (columnHeader)
                PlaceBand(TfrBandType::ColumnHeader, -1, true, y, page);
            contentTop = y;
        };
        auto finishPage = [&] {
            double footerY = footerTop;
            PlaceBand(TfrBandType::PageFooter, -1, false, footerY, page);
            pages.push_back(page);
        };
        // A band that does not fit goes to a new page, unless the page holds
        // nothing else yet: an oversized band is then placed where it is.
        auto placeFlowing = [&](const TfrBand &band, int row, bool columnHeaderOnNewPage) {
            double height = 0;
            std::vector<TfrPageItem> items = LayoutBand(band, row, true, height);
            if (y + height > footerTop + Epsilon && y > contentTop + Epsilon) {
                finishPage();
                startPage(false, columnHeaderOnNewPage);
                items = LayoutBand(band, row, true, height);
            }
            Place(std::move(items), y, page);
            y += height;
        };

        startPage(true, true);
        if (const TfrBand *detail = FTemplate.Band(TfrBandType::MasterData)) {
            for (int row = 0; row < int(FRows.size()); ++row)
                placeFlowing(*detail, row, true);
        }
        if (const TfrBand *summary = FTemplate.Band(TfrBandType::ReportSummary))
            placeFlowing(*summary, -1, false);
        finishPage();
    }

    const TfrTemplate &FTemplate;
    std::map<QString, QString> FVariables;
    QPageLayout FLayout;
    std::map<QString, int> FFieldIndex;
    std::vector<QStringList> FRows;
    int FPage = 0;
    int FTotalPages = 0;
};

} // namespace

bool TfrReport::LoadFromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return false;
    LoadFromTemplate(ParseTemplate(QString::fromUtf8(file.readAll())));
    FFileName = fileName;
    return true;
}

void TfrReport::LoadFromTemplate(const TfrTemplate &reportTemplate)
{
    FTemplate = reportTemplate;
    FPageLayout = reportTemplate.PageLayout();
    FFileName.clear();
    FLoaded = true;
    FPages.clear();
}

void TfrReport::SetVariable(const QString &name, const QString &value)
{
    FVariables[Lower(name)] = value;
}

bool TfrReport::PrepareReport()
{
    FPages.clear();
    if (!FLoaded || !HasBands())
        return true;
    std::map<QString, QString> variables = FVariables;
    variables.try_emplace(QStringLiteral("date"), QDate::currentDate().toString(QStringLiteral("yyyy年MM月dd日")));
    variables.try_emplace(QStringLiteral("time"), QTime::currentTime().toString(QStringLiteral("HH:mm")));
    TPreparer preparer(FTemplate, std::move(variables), FPageLayout, FDataSet);
    return preparer.Run(FPages);
}

QFont ReportFont(const QString &family, double pointSize, bool bold)
{
    QFont font(family);
    font.setPixelSize(std::max(1, qRound(pointSize * TwipsPerPoint)));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QStringList BreakLines(const QFont &font, const QString &text, double width, bool wordWrap, double &lineHeight)
{
    lineHeight = QFontMetricsF(font).lineSpacing() / TwipsPerPoint;
    QStringList lines;
    QString plain = text;
    plain.remove(QLatin1Char('\r'));
    for (const QString &paragraph : plain.split(QLatin1Char('\n'))) {
        if (!wordWrap || paragraph.isEmpty()) {
            lines << paragraph;
            continue;
        }
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(std::max(1.0, width * TwipsPerPoint));
            QString lineText = paragraph.mid(line.textStart(), line.textLength());
            while (!lineText.isEmpty() && lineText.back().isSpace())
                lineText.chop(1);
            lines << lineText;
        }
        layout.endLayout();
    }
    return lines;
}

void DrawPage(QPainter &painter, const TfrPage &page)
{
    painter.save();
    painter.scale(1 / TwipsPerPoint, 1 / TwipsPerPoint);
    painter.setBrush(Qt::NoBrush);
    for (const TfrPageItem &item : page.Items) {
        const QRectF rect(item.Rect.topLeft() * TwipsPerPoint, item.Rect.size() * TwipsPerPoint);
        if (item.Frame) {
            painter.setPen(QPen(Qt::black, 0.5 * TwipsPerPoint));
            painter.drawRect(rect);
        }
        painter.setPen(Qt::black);
        painter.setFont(ReportFont(page.FontFamily, item.FontSize, item.Bold));
        const QRectF inner = rect.adjusted(PaddingX * TwipsPerPoint, PaddingY * TwipsPerPoint,
                                           -PaddingX * TwipsPerPoint, -PaddingY * TwipsPerPoint);
        const double lineHeight = item.LineHeight * TwipsPerPoint;
        const double textHeight = item.Lines.size() * lineHeight;
        double top = inner.top();
        if (item.Alignment & Qt::AlignBottom)
            top = inner.bottom() - textHeight;
        else if (item.Alignment & Qt::AlignVCenter)
            top = inner.top() + (inner.height() - textHeight) / 2;
        top = std::max(top, rect.top());
        const int horizontal = int(item.Alignment & Qt::AlignHorizontal_Mask);
        for (int i = 0; i < item.Lines.size(); ++i) {
            const QRectF lineRect(inner.left(), top + i * lineHeight, inner.width(), lineHeight);
            if (lineRect.top() >= rect.bottom())
                break;
            painter.drawText(lineRect, horizontal | Qt::AlignTop, item.Lines.at(i));
        }
    }
    painter.restore();
}

bool PaintPages(const std::vector<TfrPage> &pages, const QPageLayout &layout, QPagedPaintDevice &device)
{
    if (pages.empty())
        return false;
    // The items carry page coordinates that include the margins, so the
    // device paints the whole sheet.
    QPageLayout sheet(layout.pageSize(), layout.orientation(), QMarginsF(), QPageLayout::Point);
    sheet.setMode(QPageLayout::FullPageMode);
    device.setPageLayout(sheet);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const int resolution = device.logicalDpiX();
    const QPointF origin = device.pageLayout().paintRectPixels(resolution).topLeft();
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        painter.save();
        painter.translate(-origin);
        painter.scale(resolution / 72.0, resolution / 72.0);
        DrawPage(painter, pages[i]);
        painter.restore();
    }
    return painter.end();
}

bool WritePdf(const std::vector<TfrPage> &pages, const QPageLayout &layout, const QString &fileName)
{
    if (pages.empty())
        return false;
    QPdfWriter writer(fileName);
    writer.setCreator(QStringLiteral("Examora"));
    writer.setResolution(600);
    return PaintPages(pages, layout, writer);
}
