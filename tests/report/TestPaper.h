#pragma once

#include <memory>

#include <QString>
#include <QVariant>

#include "TestSupport.h"
#include "UQuery.h"

// A handed-in paper in the mock-exam paper table of a test bank and the
// result-sheet query over it, with the OTZ verdict the exam screen gives.
class TTestPaper
{
public:
    static constexpr int ExamineID = 7;

    // A null answer is an unanswered question.
    void AddRow(const QString &content, const QVariant &answer, const QString &result, int themeBit = 1);
    void AddRows(int count);
    TQuery &OpenResultQuery();
    TTestBank &Bank() { return FBank; }

    static QString TemplatePath();

private:
    TTestBank FBank;
    std::unique_ptr<TQuery> FQuery;
    int FNextId = 1;
};

// The number of page objects in the bytes of a PDF file.
int PdfPageCount(const QByteArray &pdf);
