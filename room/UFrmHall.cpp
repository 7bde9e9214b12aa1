#include "UFrmHall.h"

#include <QBoxLayout>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTextDocument>

#include "UApplication.h"
#include "UCsvExport.h"
#include "UError.h"
#include "UFonts.h"
#include "UFormParts.h"

namespace {

// The columns of counts and times, right-aligned: from the fifth on, up to
// the verdict of a finished paper.
constexpr int KFirstNumberColumn = 4;
constexpr int KClassColumn = 3;

QTableWidget *NewGrid(const QString &name, const QString &accessibleName, const QStringList &header, QWidget *parent)
{
    QTableWidget *grid = NewRecordGrid(name, header, parent);
    grid->setAccessibleName(accessibleName);
    grid->verticalHeader()->setDefaultSectionSize(22);
    // The licence class, the longest text, takes the room the others leave.
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid->horizontalHeader()->setSectionResizeMode(KClassColumn, QHeaderView::Stretch);
    return grid;
}

QPushButton *NewButton(const QString &name, const QString &text, const QString &accessibleName, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAccessibleName(accessibleName);
    return button;
}

// Refills a grid in place, keeping the row the teacher has selected by
// its record, so that the two-second refresh does not jump the selection.
void FillGrid(QTableWidget *grid, const std::vector<THallPaper> &papers, QStringList (*cellsOf)(const THallPaper &),
              int lastNumberColumn)
{
    const QTableWidgetItem *current = grid->currentRow() >= 0 ? grid->item(grid->currentRow(), 0) : nullptr;
    const qint64 selected = current ? current->data(Qt::UserRole).toLongLong() : 0;
    grid->setRowCount(int(papers.size()));
    for (int row = 0; row < int(papers.size()); ++row) {
        const THallPaper &paper = papers[std::size_t(row)];
        const QStringList cells = cellsOf(paper);
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells.at(column));
            if (column >= KFirstNumberColumn && column <= lastNumberColumn)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (cells.at(column) == QStringLiteral("不合格"))
                item->setForeground(QColor(Qt::red));
            item->setData(Qt::UserRole, paper.RecordID);
            grid->setItem(row, column, item);
        }
        if (paper.RecordID == selected)
            grid->selectRow(row);
    }
}

} // namespace

TFrmHall::TFrmHall(TConnection *connection, const QString &roomName, QWidget *parent)
    : QWidget(parent, Qt::Window),
      FConnection(connection),
      FRoomName(roomName)
{
    setObjectName(QStringLiteral("FrmHall"));
    setWindowTitle(roomName.isEmpty() ? QStringLiteral("考场监控") : QStringLiteral("考场监控 - ") + roomName);
    setFont(SongFont(13));
    CreateControls();
    ArrangeControls();
    FRefreshTimer.setInterval(KRefreshMilliseconds);
    connect(&FRefreshTimer, &QTimer::timeout, this, &TFrmHall::Refresh);
}

void TFrmHall::CreateControls()
{
    LabStatus = new QLabel(this);
    LabStatus->setObjectName(QStringLiteral("LabStatus"));
    GridOpen = NewGrid(QStringLiteral("GridOpen"), QStringLiteral("正在考试"), OpenPaperHeader(), this);
    LabOpen = NewBuddyLabel(QStringLiteral("LabOpen"), QString(), GridOpen, this);
    GridFinished = NewGrid(QStringLiteral("GridFinished"), QStringLiteral("今日已交卷"), FinishedPaperHeader(), this);
    LabFinished = NewBuddyLabel(QStringLiteral("LabFinished"), QString(), GridFinished, this);
    BtnExport = NewButton(QStringLiteral("BtnExport"), QStringLiteral("导出(&E)"), QStringLiteral("导出"), this);
    BtnPrint = NewButton(QStringLiteral("BtnPrint"), QStringLiteral("打印(&P)"), QStringLiteral("打印"), this);
    BtnClose = NewButton(QStringLiteral("BtnClose"), QStringLiteral("关闭(&C)"), QStringLiteral("关闭"), this);
    connect(BtnExport, &QPushButton::clicked, this, &TFrmHall::BtnExportClick);
    connect(BtnPrint, &QPushButton::clicked, this, &TFrmHall::BtnPrintClick);
    connect(BtnClose, &QPushButton::clicked, this, &QWidget::close);
}

void TFrmHall::ArrangeControls()
{
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnExport);
    buttons->addWidget(BtnPrint);
    buttons->addWidget(BtnClose);

    auto *page = new QVBoxLayout(this);
    page->addWidget(LabStatus);
    page->addWidget(LabOpen);
    page->addWidget(GridOpen, 3);
    page->addWidget(LabFinished);
    page->addWidget(GridFinished, 2);
    page->addLayout(buttons);
    resize(960, 680);

    SetTabChain({GridOpen, GridFinished, BtnExport, BtnPrint, BtnClose});
}

void TFrmHall::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!FRefreshTimer.isActive()) {
        Refresh();
        FRefreshTimer.start();
        GridOpen->setFocus();
    }
}

void TFrmHall::Refresh()
{
    const QDateTime now = Clock();
    const QString room = FRoomName.isEmpty() ? QString() : QStringLiteral("考场：%1　").arg(FRoomName);
    try {
        FList = ReadHallList(FConnection, FRoomName, now.date().startOfDay());
        FReadAt = now;
        LabStatus->setText(room + QStringLiteral("更新于 %1").arg(now.toString(QStringLiteral("HH:mm:ss"))));
        LabStatus->setStyleSheet(QString());
    } catch (const std::exception &error) {
        // Every two seconds a message box would pile up: the status line
        // says it, and the next refresh tries again.
        LabStatus->setText(room
                           + QStringLiteral("读取失败（%1），稍后重试：%2")
                                 .arg(now.toString(QStringLiteral("HH:mm:ss")), ErrorText(error)));
        LabStatus->setStyleSheet(QStringLiteral("color: red"));
    }
    FillGrids();
}

void TFrmHall::FillGrids()
{
    LabOpen->setText(QStringLiteral("正在考试(&K)：%1 人").arg(FList.Open.size()));
    LabFinished->setText(QStringLiteral("今日已交卷(&J)：%1 份").arg(FList.Finished.size()));
    FillGrid(GridOpen, FList.Open, &OpenPaperCells, GridOpen->columnCount() - 1);
    FillGrid(GridFinished, FList.Finished, &FinishedPaperCells, GridFinished->columnCount() - 2);
}

void TFrmHall::PrintTo(QPrinter &printer) const
{
    QTextDocument document;
    document.setDefaultFont(font());
    document.setHtml(HallPrintHtml(FList, FRoomName, FReadAt));
    document.print(&printer);
}

void TFrmHall::BtnPrintClick()
{
    QPrinter printer;
    printer.setDocName(windowTitle());
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    if (ExecModal(dialog) == 1)
        PrintTo(printer);
}

void TFrmHall::BtnExportClick()
{
    const QString name = FRoomName.isEmpty() ? QStringLiteral("考场监控") : QStringLiteral("考场监控-") + FRoomName;
    const QString suggested = QDir(QDir::homePath())
                                  .filePath(QStringLiteral("%1-%2.csv")
                                                .arg(name, Clock().toString(QStringLiteral("yyyyMMdd-HHmm"))));
    ExportCsvFile(this, QStringLiteral("导出考场名单"), suggested, HallCsv(FList), QStringLiteral("考场名单"));
}
