#include "FrmPrew.h"

#include <algorithm>

#include <QActionGroup>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QToolButton>
#include <QVBoxLayout>

#include "UApplication.h"
#include "UComm.h"
#include "UFonts.h"
#include "UFrPictures.h"
#include "UFrPreview.h"

namespace {

constexpr int TopBarHeight = 57;
const QSize ToolButtonSize(47, 46);
const QSize PageButtonSize(24, 24);
const QSize PageLabelSize(129, 25);
const double ZoomPercents[] = {500, 200, 100, 75, 50, 20, 10};
constexpr int WholePageTag = 7;
constexpr int PageWidthTag = 8;

} // namespace

TPreForm::TPreForm(QWidget *parent)
    : QDialog(parent,
              Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                  | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("PreForm"));
    setWindowTitle(QStringLiteral("打印预览"));
    setFont(SongFont(12));
    resize(805, 600);
    setWindowState(Qt::WindowMaximized);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *topBar = new QWidget(this);
    topBar->setFixedHeight(TopBarHeight);
    layout->addWidget(topBar);
    frPrev = new TfrPreview(this);
    frPrev->setObjectName(QStringLiteral("frPrev"));
    layout->addWidget(frPrev, 1);

    CreateZoomMenu();
    CreateToolbar(topBar);

    connect(frPrev, &TfrPreview::PageChanged, this, &TPreForm::frPrevPageChanged);
    // The form sees every key before the focused control does.
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
    UpdatePageLabel();
}

QToolButton *TPreForm::CreateToolButton(QWidget *parent, const QString &name, const QString &caption, const QString &hint)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setIconSize(QSize(24, 24));
    // The caption decides the width where the design width would cut it off.
    const QString plainCaption = QString(caption).remove(QLatin1Char('&'));
    const int captionWidth = button->fontMetrics().horizontalAdvance(plainCaption) + 12;
    button->setFixedSize(std::max(ToolButtonSize.width(), captionWidth), ToolButtonSize.height());
    return button;
}

QToolButton *TPreForm::CreatePageButton(QWidget *parent, const QString &name, const QString &hint)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(PageButtonSize);
    return button;
}

void TPreForm::CreateToolbar(QWidget *topBar)
{
    auto *bar = new QHBoxLayout(topBar);
    bar->setContentsMargins(2, 0, 2, 0);
    bar->setSpacing(0);

    BtnSet = CreateToolButton(topBar, QStringLiteral("BtnSet"), QStringLiteral("设置(&S)"), QStringLiteral("打印设置"));
    BtnSet->setIcon(PreviewPicture(TfrPicture::PageSetup));
    BtnPrint = CreateToolButton(topBar, QStringLiteral("BtnPrint"), QStringLiteral("打印(&P)"), QStringLiteral("打印"));
    BtnPrint->setIcon(PreviewPicture(TfrPicture::Print));
    BtnZoom = CreateToolButton(topBar, QStringLiteral("BtnZoom"), QStringLiteral("缩放(&Z)"), QStringLiteral("预览缩放"));
    BtnZoom->setIcon(PreviewPicture(TfrPicture::Zoom));
    BtnZoom->setFixedWidth(BtnZoom->width() + 12);
    BtnZoom->setMenu(PopupMenu);
    BtnZoom->setPopupMode(QToolButton::InstantPopup);
    BtnPdf = CreateToolButton(topBar, QStringLiteral("BtnPdf"), QStringLiteral("导出PDF"),
                              QStringLiteral("导出为PDF文件"));
    BtnPdf->setIcon(PreviewPicture(TfrPicture::Pdf));
    BtnClose = CreateToolButton(topBar, QStringLiteral("BtnClose"), QStringLiteral("关闭(&C)"),
                                QStringLiteral("关闭预览"));
    BtnClose->setIcon(PreviewPicture(TfrPicture::Close));
    for (QToolButton *button : {BtnSet, BtnPrint, BtnZoom, BtnPdf, BtnClose})
        bar->addWidget(button, 0, Qt::AlignVCenter);
    bar->addSpacing(12);

    frSpeedButton4 = CreatePageButton(topBar, QStringLiteral("frSpeedButton4"), QStringLiteral("第一页"));
    frSpeedButton4->setIcon(PreviewPicture(TfrPicture::FirstPage));
    frSpeedButton5 = CreatePageButton(topBar, QStringLiteral("frSpeedButton5"), QStringLiteral("前一页"));
    frSpeedButton5->setIcon(PreviewPicture(TfrPicture::PriorPage));
    frSpeedButton6 = CreatePageButton(topBar, QStringLiteral("frSpeedButton6"), QStringLiteral("下一页"));
    frSpeedButton6->setIcon(PreviewPicture(TfrPicture::NextPage));
    frSpeedButton7 = CreatePageButton(topBar, QStringLiteral("frSpeedButton7"), QStringLiteral("最后一页"));
    frSpeedButton7->setIcon(PreviewPicture(TfrPicture::LastPage));
    for (QToolButton *button : {frSpeedButton4, frSpeedButton5, frSpeedButton6, frSpeedButton7})
        bar->addWidget(button, 0, Qt::AlignVCenter);
    bar->addSpacing(6);

    Panel2 = new QLabel(QStringLiteral("第1页， 共1页"), topBar);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel2->setAlignment(Qt::AlignCenter);
    Panel2->setFixedSize(PageLabelSize);
    bar->addWidget(Panel2, 0, Qt::AlignVCenter);
    bar->addStretch(1);

    connect(BtnSet, &QToolButton::clicked, this, &TPreForm::BtnSetClick);
    connect(BtnPrint, &QToolButton::clicked, this, &TPreForm::BtnPrintClick);
    connect(BtnPdf, &QToolButton::clicked, this, &TPreForm::BtnPdfClick);
    connect(BtnClose, &QToolButton::clicked, this, &TPreForm::BtnCloseClick);
    connect(frSpeedButton4, &QToolButton::clicked, this, &TPreForm::frSpeedButton4Click);
    connect(frSpeedButton5, &QToolButton::clicked, this, &TPreForm::frSpeedButton5Click);
    connect(frSpeedButton6, &QToolButton::clicked, this, &TPreForm::frSpeedButton6Click);
    connect(frSpeedButton7, &QToolButton::clicked, this, &TPreForm::frSpeedButton7Click);
}

void TPreForm::CreateZoomMenu()
{
    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName(QStringLiteral("PopupMenu"));
    FZoomItems = new QActionGroup(this);
    FZoomItems->setExclusive(true);
    auto addItem = [this](const QString &name, const QString &caption, int tag) {
        QAction *item = PopupMenu->addAction(caption);
        item->setObjectName(name);
        item->setCheckable(true);
        item->setData(tag);
        FZoomItems->addAction(item);
        connect(item, &QAction::triggered, this, [this, item] { NZoomClick(item); });
        return item;
    };
    NZoom = addItem(QStringLiteral("NZoom"), QStringLiteral("500%"), 0);
    N2001 = addItem(QStringLiteral("N2001"), QStringLiteral("200%"), 1);
    N100 = addItem(QStringLiteral("N100"), QStringLiteral("100%"), 2);
    N751 = addItem(QStringLiteral("N751"), QStringLiteral("75%"), 3);
    N501 = addItem(QStringLiteral("N501"), QStringLiteral("50%"), 4);
    N201 = addItem(QStringLiteral("N201"), QStringLiteral("20%"), 5);
    N101 = addItem(QStringLiteral("N101"), QStringLiteral("10%"), 6);
    N1 = addItem(QStringLiteral("N1"), QStringLiteral("整页"), WholePageTag);
    NFitWidth = addItem(QStringLiteral("NFitWidth"), QStringLiteral("合适宽度"), PageWidthTag);
}

void TPreForm::LoadReport(const QString &templatePath)
{
    const QString shownPath = QDir::toNativeSeparators(templatePath);
    if (!frRep.LoadFromFile(templatePath))
        frPrev->SetMessage(QStringLiteral("找不到报表模板文件：\n%1").arg(shownPath));
    else if (!frRep.HasBands())
        frPrev->SetMessage(QStringLiteral("报表模板文件中没有任何内容：\n%1").arg(shownPath));
}

bool TPreForm::PrepareReport()
{
    if (!frRep.PrepareReport())
        return false;
    frPrev->ShowPages(frRep.PreparedPages());
    UpdatePageLabel();
    return true;
}

bool TPreForm::PrintTo(QPrinter &printer)
{
    printer.setDocName(windowTitle());
    return PaintPages(frPrev->Pages(), frRep.PageLayout(), printer);
}

bool TPreForm::ExportPdf(const QString &fileName)
{
    return WritePdf(frPrev->Pages(), frRep.PageLayout(), fileName);
}

void TPreForm::UpdatePageLabel()
{
    Panel2->setText(QStringLiteral(" 第 %1 页 ， 共 %2 页").arg(frPrev->Page()).arg(frPrev->AllPages()));
}

void TPreForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!FShown) {
        FShown = true;
        FormShow();
    }
}

void TPreForm::FormShow()
{
    N100->setChecked(true);
    frPrev->OnePage();
    UpdatePageLabel();
    NZoomClick(N100);
}

void TPreForm::keyPressEvent(QKeyEvent *event)
{
    if (!FormKeyDown(event->key()))
        QDialog::keyPressEvent(event);
}

bool TPreForm::eventFilter(QObject *watched, QEvent *event)
{
    // Keys of the zoom menu (a window of its own) stay with the menu.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == this) {
        if (FormKeyDown(static_cast<QKeyEvent *>(event)->key()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool TPreForm::FormKeyDown(int key)
{
    switch (key) {
    case Qt::Key_Escape: BtnCloseClick(); return true;
    case Qt::Key_PageUp:
    case Qt::Key_Up: frSpeedButton5Click(); return true;
    case Qt::Key_PageDown:
    case Qt::Key_Down: frSpeedButton6Click(); return true;
    default: return false;
    }
}

void TPreForm::NZoomClick(QAction *item)
{
    item->setChecked(true);
    const int tag = item->data().toInt();
    if (tag == WholePageTag)
        frPrev->OnePage();
    else if (tag == PageWidthTag)
        frPrev->PageWidth();
    else if (tag >= 0 && tag < WholePageTag)
        frPrev->SetZoom(ZoomPercents[tag]);
}

void TPreForm::BtnSetClick()
{
    FPrinter.setPageLayout(frRep.PageLayout());
    QPageSetupDialog dialog(&FPrinter, this);
    if (ExecModal(dialog) != 1)
        return;
    const QPageLayout previous = frRep.PageLayout();
    frRep.SetPageLayout(FPrinter.pageLayout());
    if (!PrepareReport()) {
        frRep.SetPageLayout(previous);
        PrepareReport();
        ShowError(QStringLiteral("纸张太小，放不下报表的内容。"));
    }
}

void TPreForm::BtnPrintClick()
{
    PrintReport();
}

void TPreForm::PrintReport()
{
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty() || frPrev->Pages().empty())
        return;
    QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull())
        target = printers.first();
    QPrinter printer(target, QPrinter::HighResolution);
    if (!PrintTo(printer))
        ShowError(QStringLiteral("打印失败：%1").arg(target.printerName()));
}

void TPreForm::BtnPdfClick()
{
    if (frPrev->Pages().empty())
        return;
    QFileDialog dialog(this, QStringLiteral("导出PDF"),
                       QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                           + QStringLiteral("/答题信息.pdf"),
                       QStringLiteral("PDF 文件 (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (ExecModal(dialog) != 1 || dialog.selectedFiles().isEmpty())
        return;
    const QString fileName = dialog.selectedFiles().first();
    if (!ExportPdf(fileName))
        ShowError(QStringLiteral("无法写入文件：%1").arg(QDir::toNativeSeparators(fileName)));
}

void TPreForm::BtnCloseClick()
{
    done(1);
}

void TPreForm::frSpeedButton4Click()
{
    frPrev->First();
    UpdatePageLabel();
}

void TPreForm::frSpeedButton5Click()
{
    frPrev->Prev();
    UpdatePageLabel();
}

void TPreForm::frSpeedButton6Click()
{
    frPrev->Next();
    UpdatePageLabel();
}

void TPreForm::frSpeedButton7Click()
{
    frPrev->Last();
    UpdatePageLabel();
}

void TPreForm::frPrevPageChanged()
{
    UpdatePageLabel();
}
