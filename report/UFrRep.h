#pragma once

#include <functional>
#include <map>
#include <memory>

#include <QString>

class TQuery;
class TfrDBDataSet;

// Runs one report: loads the template, binds the rows of the source query
// and shows the prepared pages in the print preview (or prints them).
class TFrRep
{
public:
    TFrRep();
    ~TFrRep();
    TFrRep(const TFrRep &) = delete;
    TFrRep &operator=(const TFrRep &) = delete;

    QString ReportFile() const { return FReportFile; }
    void SetReportFile(const QString &path) { FReportFile = path; }
    // Not owned.
    TQuery *SourceQuery() const { return FSourceQuery; }
    TfrDBDataSet *ReportDataSet() const { return FReportDataSet.get(); }

    void SetSourceQuery(TQuery *query);
    // A variable of this report, beside those of the run.
    void SetVariable(const QString &name, const QString &value) { FVariables[name] = value; }
    // Previews ReportFile; an empty ReportFile only says so in a message box.
    void ShowReport();
    // Shows the prepared report in a modal preview, or prints it on the
    // current printer without asking when preview is false. Errors of the
    // template or the data pass on to the caller.
    void RunReport(const QString &templatePath, bool preview);

private:
    QString FReportFile;
    TQuery *FSourceQuery = nullptr;
    std::map<QString, QString> FVariables;
    std::unique_ptr<TfrDBDataSet> FReportDataSet;
};

// Shows the result sheet of the query's rows in a modal preview and returns
// when the candidate closes it. An empty template path does nothing. The
// sheet's Verdict is the mock exam's "成绩合格" or "成绩不合格", empty for practice.
void PrintResultSheet(TQuery *query, const QString &templatePath, const QString &verdict = QString());

// Writes the result sheet of the query's rows to a PDF file without any
// window. False when the template is missing or the file cannot be written;
// template and data errors throw like in the preview.
bool WriteResultSheetPdf(TQuery *query, const QString &templatePath, const QString &pdfPath,
                         const QString &verdict = QString());

// Test seam: while a handler is set, PrintResultSheet calls it instead of
// opening the modal preview. Pass nullptr to restore the preview.
using TResultSheetHandler = std::function<void(TQuery *query, const QString &templatePath)>;
void SetResultSheetHandler(TResultSheetHandler handler);
