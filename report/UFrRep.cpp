#include "UFrRep.h"

#include "FrmPrew.h"
#include "UApplication.h"
#include "UComm.h"
#include "UFrDBDataSet.h"
#include "UFrReport.h"
#include "UMessageSeam.h"

namespace {

TResultSheetHandler &ResultSheetHandler()
{
    static TResultSheetHandler handler;
    return handler;
}

// The variables every template of the program may use besides the fields.
void SetRunVariables(TfrReport &report)
{
    report.SetVariable(QStringLiteral("DriveTypeCaption"), RunContext.DriveTypeCaption);
    // Defined for every sheet, so that one template serves practice too.
    report.SetVariable(QStringLiteral("Verdict"), QString());
}

} // namespace

TFrRep::TFrRep()
    : FReportDataSet(std::make_unique<TfrDBDataSet>())
{
}

TFrRep::~TFrRep() = default;

void TFrRep::SetSourceQuery(TQuery *query)
{
    FSourceQuery = query;
    FReportDataSet->SetDataSet(query);
}

void TFrRep::ShowReport()
{
    if (FReportFile.isEmpty()) {
        ShowMessageBox(
            {QStringLiteral("Examora"), QStringLiteral("报表文件名不能为空!"), TMsgIcon::None, TMsgButtons::Ok});
        return;
    }
    RunReport(FReportFile, true);
}

void TFrRep::RunReport(const QString &templatePath, bool preview)
{
    TPreForm form;
    form.LoadReport(templatePath);
    if (FSourceQuery)
        form.Report().SetDataSet(FReportDataSet.get());
    SetRunVariables(form.Report());
    for (const auto &[name, value] : FVariables)
        form.Report().SetVariable(name, value);
    if (!form.PrepareReport())
        return;
    if (preview)
        ExecModal(form);
    else
        form.PrintReport();
}

void PrintResultSheet(TQuery *query, const QString &templatePath, const QString &verdict)
{
    if (templatePath.isEmpty())
        return;
    if (ResultSheetHandler()) {
        ResultSheetHandler()(query, templatePath);
        return;
    }
    TFrRep report;
    report.SetReportFile(templatePath);
    report.SetSourceQuery(query);
    report.SetVariable(QStringLiteral("Verdict"), verdict);
    report.ShowReport();
}

bool WriteResultSheetPdf(TQuery *query, const QString &templatePath, const QString &pdfPath, const QString &verdict)
{
    TfrReport report;
    if (!report.LoadFromFile(templatePath))
        return false;
    TfrDBDataSet dataSet;
    dataSet.SetDataSet(query);
    report.SetDataSet(&dataSet);
    SetRunVariables(report);
    report.SetVariable(QStringLiteral("Verdict"), verdict);
    return report.PrepareReport() && WritePdf(report.PreparedPages(), report.PageLayout(), pdfPath);
}

void SetResultSheetHandler(TResultSheetHandler handler)
{
    ResultSheetHandler() = std::move(handler);
}
