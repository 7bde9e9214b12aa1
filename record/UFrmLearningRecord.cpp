#include "UFrmLearningRecord.h"

#include <QBoxLayout>
#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTableWidget>
#include <QValueAxis>

#include "UComm.h"
#include "UCsvExport.h"
#include "UDM.h"
#include "UError.h"
#include "UFonts.h"
#include "UFormParts.h"
#include "URecordRules.h"

namespace {

// Columns of the paper list that hold numbers, right-aligned.
constexpr int KFirstCountColumn = 3;
constexpr int KVerdictColumn = 7;

void SetCell(QTableWidget *grid, int row, int column, const QString &text, bool number)
{
    auto *item = new QTableWidgetItem(text);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->setItem(row, column, item);
}

void FillAccuracy(QTableWidget *grid, const std::vector<TAccuracy> &rows)
{
    grid->setRowCount(int(rows.size()));
    for (int row = 0; row < int(rows.size()); ++row) {
        const TAccuracy &accuracy = rows[std::size_t(row)];
        SetCell(grid, row, 0, accuracy.Name, false);
        SetCell(grid, row, 1, QString::number(accuracy.Asked), true);
        SetCell(grid, row, 2, QString::number(accuracy.Right), true);
        SetCell(grid, row, 3, accuracy.PercentText(), true);
    }
    grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < grid->columnCount(); ++column)
        grid->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
}

} // namespace

TFrmLearningRecord::TFrmLearningRecord(const QString &driveTypeCode, const QString &driveTypeCaption,
                                       const QString &chapterFilter, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      FDriveTypeCode(driveTypeCode),
      FDriveTypeCaption(driveTypeCaption),
      FChapterFilter(chapterFilter)
{
    setObjectName(QStringLiteral("FrmLearningRecord"));
    setWindowTitle(QStringLiteral("学习记录"));
    setFont(SongFont(13));
    CreateWidgets();
    ArrangeWidgets();
    LoadRecord();
    FillPaperList();
    FillScoreChart();
    FillAccuracy(GridChapters, FChapters);
    FillAccuracy(GridTypes, FTypes);
    ShowSummary();
    GridPapers->setFocus();
}

void TFrmLearningRecord::CreateWidgets()
{
    LabClass = new QLabel(QStringLiteral("驾驶类型：") + FDriveTypeCaption, this);
    LabClass->setObjectName(QStringLiteral("LabClass"));
    GridPapers = NewRecordGrid(QStringLiteral("GridPapers"), PastPaperHeader(), this);
    LabPapers = NewBuddyLabel(QStringLiteral("LabPapers"), QStringLiteral("考试与练习记录(&L)"), GridPapers, this);

    ChartScores = new QChartView(this);
    ChartScores->setObjectName(QStringLiteral("ChartScores"));
    ChartScores->setRenderHint(QPainter::Antialiasing);
    ChartScores->setMinimumSize(420, 260);

    GridChapters = NewRecordGrid(QStringLiteral("GridChapters"),
                                 {QStringLiteral("章节"), QStringLiteral("答题"), QStringLiteral("答对"),
                                  QStringLiteral("正确率")},
                                 this);
    LabChapters = NewBuddyLabel(QStringLiteral("LabChapters"), QStringLiteral("分章正确率(&H)"), GridChapters, this);
    GridTypes = NewRecordGrid(QStringLiteral("GridTypes"),
                              {QStringLiteral("题型"), QStringLiteral("答题"), QStringLiteral("答对"),
                               QStringLiteral("正确率")},
                              this);
    // Room for the three question types without a scroll bar.
    GridTypes->setFixedHeight(GridTypes->horizontalHeader()->sizeHint().height()
                              + 4 * GridTypes->verticalHeader()->defaultSectionSize() + 2 * GridTypes->frameWidth());
    LabTypes = NewBuddyLabel(QStringLiteral("LabTypes"), QStringLiteral("题型正确率(&T)"), GridTypes, this);

    LabReadiness = new QLabel(this);
    LabReadiness->setObjectName(QStringLiteral("LabReadiness"));
    LabBook = new QLabel(this);
    LabBook->setObjectName(QStringLiteral("LabBook"));
    BtnWrongPractice = new QPushButton(QStringLiteral("错题练习(&W)"), this);
    BtnWrongPractice->setObjectName(QStringLiteral("BtnWrongPractice"));
    BtnExport = new QPushButton(QStringLiteral("导出(&E)"), this);
    BtnExport->setObjectName(QStringLiteral("BtnExport"));
    BtnClose = new QPushButton(QStringLiteral("关闭(&C)"), this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    BtnClose->setDefault(true);

    connect(BtnWrongPractice, &QPushButton::clicked, this, [this] { done(KStartWrongPractice); });
    connect(BtnExport, &QPushButton::clicked, this, &TFrmLearningRecord::BtnExportClick);
    connect(BtnClose, &QPushButton::clicked, this, [this] { done(2); });
}

void TFrmLearningRecord::ArrangeWidgets()
{
    auto *accuracy = new QVBoxLayout;
    for (QWidget *widget : {static_cast<QWidget *>(LabChapters), static_cast<QWidget *>(GridChapters),
                            static_cast<QWidget *>(LabTypes), static_cast<QWidget *>(GridTypes)})
        accuracy->addWidget(widget);
    auto *charts = new QHBoxLayout;
    charts->addWidget(ChartScores, 3);
    charts->addLayout(accuracy, 2);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(LabBook);
    buttons->addWidget(BtnWrongPractice);
    buttons->addStretch();
    buttons->addWidget(BtnExport);
    buttons->addWidget(BtnClose);

    auto *page = new QVBoxLayout(this);
    page->addWidget(LabClass);
    page->addWidget(LabPapers);
    page->addWidget(GridPapers, 3);
    page->addLayout(charts, 4);
    page->addWidget(LabReadiness);
    page->addLayout(buttons);
    resize(920, 680);

    SetTabChain({GridPapers, GridChapters, GridTypes, BtnWrongPractice, BtnExport, BtnClose});
    ChartScores->setFocusPolicy(Qt::NoFocus);
}

void TFrmLearningRecord::LoadRecord()
{
    TConnection *connection = DM ? DM->ACon : nullptr;
    try {
        FPapers = ReadPastPapers(connection, FDriveTypeCode);
        FChapters = ChapterAccuracy(connection, FDriveTypeCode);
        FTypes = TypeAccuracy(connection, FDriveTypeCode);
        FBook = ReadWrongBook(connection, FDriveTypeCode, FChapterFilter);
    } catch (const std::exception &error) {
        ShowError(QStringLiteral("学习记录读取失败：") + ErrorText(error));
    }
}

void TFrmLearningRecord::FillPaperList()
{
    GridPapers->setRowCount(int(FPapers.size()));
    for (int row = 0; row < int(FPapers.size()); ++row) {
        const QStringList cells = PastPaperCells(FPapers[std::size_t(row)]);
        for (int column = 0; column < cells.size(); ++column)
            SetCell(GridPapers, row, column, cells.at(column), column >= KFirstCountColumn && column < KVerdictColumn);
        if (cells.at(KVerdictColumn) == QStringLiteral("不合格"))
            GridPapers->item(row, KVerdictColumn)->setForeground(QColor(Qt::red));
    }
    GridPapers->resizeColumnsToContents();
    GridPapers->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    if (!FPapers.empty())
        GridPapers->selectRow(0);
}

void TFrmLearningRecord::FillScoreChart()
{
    const std::vector<TScorePoint> scores = MockExamScores(FPapers);
    auto *chart = new QChart;
    chart->setTitle(QStringLiteral("模拟考试成绩"));
    chart->setTitleFont(font());
    chart->legend()->setFont(font());
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));

    auto *scoreLine = new QLineSeries(chart);
    scoreLine->setName(QStringLiteral("得分"));
    scoreLine->setPointsVisible(true);
    for (const TScorePoint &point : scores)
        scoreLine->append(double(point.At.toMSecsSinceEpoch()), point.Score);
    // A little room at both ends keeps the first and last point off the
    // axes; a single exam still needs a span to draw on.
    QDateTime first = scores.empty() ? QDateTime::currentDateTime() : scores.front().At;
    QDateTime last = scores.empty() ? first : scores.back().At;
    const qint64 span = first.secsTo(last);
    const qint64 room = span > 0 ? qMax<qint64>(span / 20, 60) : 1800;
    first = first.addSecs(-room);
    last = last.addSecs(room);
    auto *passLine = new QLineSeries(chart);
    passLine->setName(QStringLiteral("合格线 %1 分").arg(KPassScore));
    passLine->setPen(QPen(Qt::red, 1.5, Qt::DashLine));
    passLine->append(double(first.toMSecsSinceEpoch()), KPassScore);
    passLine->append(double(last.toMSecsSinceEpoch()), KPassScore);
    chart->addSeries(passLine);
    chart->addSeries(scoreLine);

    auto *timeAxis = new QDateTimeAxis(chart);
    timeAxis->setFormat(first.daysTo(last) < 7 ? QStringLiteral("MM-dd HH:mm") : QStringLiteral("MM-dd"));
    timeAxis->setRange(first, last);
    timeAxis->setTickCount(5);
    timeAxis->setLabelsFont(font());
    auto *scoreAxis = new QValueAxis(chart);
    scoreAxis->setRange(0, 100);
    scoreAxis->setTickCount(6);
    scoreAxis->setLabelFormat(QStringLiteral("%d"));
    scoreAxis->setLabelsFont(font());
    chart->addAxis(timeAxis, Qt::AlignBottom);
    chart->addAxis(scoreAxis, Qt::AlignLeft);
    for (QLineSeries *series : {passLine, scoreLine}) {
        series->attachAxis(timeAxis);
        series->attachAxis(scoreAxis);
    }
    ChartScores->setChart(chart);
}

void TFrmLearningRecord::ShowSummary()
{
    const TReadiness readiness = ReadinessOf(MockExamScores(FPapers));
    QString text = readiness.Line();
    if (readiness.Ready())
        text += QStringLiteral("。") + readiness.Verdict();
    LabReadiness->setText(text);
    LabBook->setText(QStringLiteral("错题本：%1 题").arg(FBook.size()));
    BtnWrongPractice->setEnabled(!FBook.empty());
}

void TFrmLearningRecord::BtnExportClick()
{
    const QString suggested = QDir(QDir::homePath())
                                  .filePath(QStringLiteral("学习记录-%1-%2.csv")
                                                .arg(FDriveTypeCaption,
                                                     QDate::currentDate().toString(QStringLiteral("yyyyMMdd"))));
    ExportCsvFile(this, QStringLiteral("导出学习记录"), suggested, PastPapersCsv(FPapers), QStringLiteral("学习记录"));
}
