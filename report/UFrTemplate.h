#pragma once

#include <vector>

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>

#include "UError.h"

// A report template of our own text format: a [Report] section with the
// page, then one section per band holding its height and its memos.
// Lengths are millimetres, font sizes points. See data/TestMn.frf.

class ETemplateError : public EExamoraError
{
public:
    using EExamoraError::EExamoraError;
};

enum class TfrBandType { PageHeader, ReportTitle, ColumnHeader, MasterData, ReportSummary, PageFooter };

// A row filter of the aggregates: Field = Value or Field <> Value.
struct TfrCondition
{
    QString Field; // empty: every row
    QString Value;
    bool Equal = true;
};

// One bracketed expression of a memo text: a field or variable name,
// COUNT(condition) or SUM(field; condition).
struct TfrExpression
{
    enum TKind { ekName, ekCount, ekSum };
    TKind Kind = ekName;
    QString Name; // field or variable; the summed field for Sum
    TfrCondition Condition;
};

struct TfrTextPart
{
    bool IsExpression = false;
    QString Literal;
    TfrExpression Expression;
};

struct TfrMemo
{
    QRectF Rect; // millimetres, from the band's top left
    std::vector<TfrTextPart> Parts;
    Qt::Alignment Alignment = Qt::AlignLeft | Qt::AlignVCenter;
    double FontSize = 10.5;
    bool Bold = false;
    bool Frame = false;
    bool WordWrap = false; // long text wraps and the band grows
};

struct TfrBand
{
    TfrBandType Type = TfrBandType::MasterData;
    double Height = 0; // millimetres
    std::vector<TfrMemo> Memos;
};

struct TfrTemplate
{
    QPageSize::PageSizeId PaperSize = QPageSize::A4;
    QPageLayout::Orientation Orientation = QPageLayout::Portrait;
    QMarginsF Margins{15, 15, 15, 15}; // millimetres: left, top, right, bottom
    QString FontFamily = QStringLiteral("宋体");
    std::vector<TfrBand> Bands;

    // nullptr when the template has no such band.
    const TfrBand *Band(TfrBandType type) const;
    QPageLayout PageLayout() const;
};

// Throws ETemplateError naming the line of the first mistake.
TfrTemplate ParseTemplate(const QString &text);
// Splits a memo text into literals and bracketed expressions ("[[" is a
// literal bracket); throws ETemplateError on a bad expression.
std::vector<TfrTextPart> ParseMemoText(const QString &text);
