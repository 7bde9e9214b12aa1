#pragma once

#include <vector>

#include <QDialog>

#include "URecordBook.h"
#include "URecordReport.h"

class QChartView;
class QLabel;
class QPushButton;
class QTableWidget;

// The learning record of one licence class: past papers, the mock-exam
// scores over time, accuracy per chapter and question type, readiness and
// the wrong-answer book, with the export of the list.
class TFrmLearningRecord : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrmLearningRecord)

public:
    // The modal result that asks the caller to start wrong-answer practice;
    // closing gives 2 (Cancel) as every window does.
    static constexpr int KStartWrongPractice = 1;

    TFrmLearningRecord(const QString &driveTypeCode, const QString &driveTypeCaption, const QString &chapterFilter,
                       QWidget *parent = nullptr);

    int WrongBookCount() const { return int(FBook.size()); }

private:
    void CreateWidgets();
    void ArrangeWidgets();
    void LoadRecord();
    void FillPaperList();
    void FillScoreChart();
    void ShowSummary();
    void BtnExportClick();

    QString FDriveTypeCode;
    QString FDriveTypeCaption;
    QString FChapterFilter;
    std::vector<TPastPaper> FPapers;
    std::vector<TAccuracy> FChapters;
    std::vector<TAccuracy> FTypes;
    std::vector<TBookEntry> FBook;

    QLabel *LabClass;
    QLabel *LabPapers;
    QTableWidget *GridPapers;
    QChartView *ChartScores;
    QLabel *LabChapters;
    QTableWidget *GridChapters;
    QLabel *LabTypes;
    QTableWidget *GridTypes;
    QLabel *LabReadiness;
    QLabel *LabBook;
    QPushButton *BtnWrongPractice;
    QPushButton *BtnExport;
    QPushButton *BtnClose;
};
