#pragma once

#include <map>
#include <vector>

#include <QFont>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include "UError.h"
#include "UFrTemplate.h"

class QPagedPaintDevice;
class QPainter;
class TfrDBDataSet;

// An error of a loaded template met while preparing (an unknown name).
class EReportError : public EExamoraError
{
public:
    using EExamoraError::EExamoraError;
};

// One laid-out text box of a prepared page. Lengths are points; the
// lines are already broken to the box's width.
struct TfrPageItem
{
    QRectF Rect;
    QStringList Lines;
    double LineHeight = 0;
    double FontSize = 10.5;
    bool Bold = false;
    Qt::Alignment Alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool Frame = false;
};

struct TfrPage
{
    QSizeF Size; // points
    QString FontFamily;
    std::vector<TfrPageItem> Items;
};

// The report object: a loaded template, the rows it is bound to, its
// variables and, once prepared, the laid-out pages.
class TfrReport
{
public:
    // False, leaving the report as it was, when the file does not exist.
    // Throws ETemplateError when the file is not a valid template.
    bool LoadFromFile(const QString &fileName);
    void LoadFromTemplate(const TfrTemplate &reportTemplate);
    bool Loaded() const { return FLoaded; }
    // A loaded template without any band prepares to no pages.
    bool HasBands() const { return !FTemplate.Bands.empty(); }
    QString FileName() const { return FFileName; }

    TfrDBDataSet *DataSet() const { return FDataSet; }
    void SetDataSet(TfrDBDataSet *dataSet) { FDataSet = dataSet; }
    // Names a template can use besides the fields (any letter case).
    void SetVariable(const QString &name, const QString &value);

    // The template's page until a page setup replaces it.
    QPageLayout PageLayout() const { return FPageLayout; }
    void SetPageLayout(const QPageLayout &layout) { FPageLayout = layout; }

    // Lays out every page. A report without bands prepares to no pages. False when
    // the page leaves no room for the bands; throws EReportError on a name
    // that is neither a field nor a variable.
    bool PrepareReport();
    const std::vector<TfrPage> &PreparedPages() const { return FPages; }

private:
    bool FLoaded = false;
    QString FFileName;
    TfrTemplate FTemplate;
    TfrDBDataSet *FDataSet = nullptr;
    std::map<QString, QString> FVariables; // keys in lower case
    QPageLayout FPageLayout;
    std::vector<TfrPage> FPages;
};

// The font of a memo; family "宋体" unless the template names another.
QFont ReportFont(const QString &family, double pointSize, bool bold);
// Breaks text into lines no wider than width points (at '\n' and, with
// wordWrap, wherever the width ends); lineHeight receives the line pitch.
QStringList BreakLines(const QFont &font, const QString &text, double width, bool wordWrap, double &lineHeight);

// Draws the items of a page; the painter's unit must be one point.
void DrawPage(QPainter &painter, const TfrPage &page);
// Paints the pages on a printer or PDF writer, one sheet each. False when
// there is no page or the device cannot be painted on.
bool PaintPages(const std::vector<TfrPage> &pages, const QPageLayout &layout, QPagedPaintDevice &device);
// False when there is no page or the file cannot be written.
bool WritePdf(const std::vector<TfrPage> &pages, const QPageLayout &layout, const QString &fileName);
