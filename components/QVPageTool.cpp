#include "QVPageTool.h"

#include <algorithm>

#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <QToolButton>

#include "QVAdoQuery.h"
#include "UQuery.h"

namespace {

constexpr int ButtonSize = 25;
constexpr int Gap = 5;
constexpr int PageListWidth = 60;
constexpr int BarHeight = 35;

} // namespace

QPixmap PageToolGlyph(const QString &name)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 128));
    auto triangle = [&painter](qreal tipX, qreal baseX) {
        QPainterPath path;
        path.moveTo(tipX, 8);
        path.lineTo(baseX, 3);
        path.lineTo(baseX, 13);
        path.closeSubpath();
        painter.drawPath(path);
    };
    const QString key = name.toUpper();
    if (key == QLatin1String("FIRST")) {
        painter.drawRect(QRectF(3, 3, 2, 10));
        triangle(5, 12);
    } else if (key == QLatin1String("PRIOR")) {
        triangle(4, 11);
    } else if (key == QLatin1String("NEXT")) {
        triangle(12, 5);
    } else if (key == QLatin1String("LAST")) {
        triangle(11, 4);
        painter.drawRect(QRectF(11, 3, 2, 10));
    } else if (key == QLatin1String("CONNECT")) {
        // An arrow with a shaft: go to the chosen page.
        painter.setBrush(QColor(0, 128, 0));
        painter.drawRect(QRectF(2, 6.5, 7, 3));
        triangle(14, 8);
    }
    return pixmap;
}

TQVPageTool::TQVPageTool(QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setFont(QFont(QStringLiteral("宋体"), 10));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    FBtnAutoFirst = CreateButton("FBtnAutoFirst", "FIRST", QStringLiteral("第一页"));
    FBtnAutoPrior = CreateButton("FBtnAutoPrior", "PRIOR", QStringLiteral("上一页"));
    FBtnAutoNext = CreateButton("FBtnAutoNext", "NEXT", QStringLiteral("下一页"));
    FBtnAutoLast = CreateButton("FBtnAutoLast", "LAST", QStringLiteral("最后一页"));
    FBtnAutoConnect = CreateButton("FBtnAutoConnect", "CONNECT", QStringLiteral("转到"));
    FLabAutoPageInfo = new QLabel(this);
    FLabAutoPageInfo->setObjectName(QStringLiteral("FLabAutoPageInfo"));
    // Tight lines leave the second line's lowest strokes below the text's
    // own height: the margin keeps them from being cut off.
    FLabAutoPageInfo->setContentsMargins(0, 0, 0, 2);
    ShowPageInfo(EmptyPageInfoText());
    FLabAutoConnect = new QLabel(QStringLiteral("转到第 "), this);
    FLabAutoConnect->setObjectName(QStringLiteral("FLabAutoConnect"));
    FLabAutoPage = new QLabel(QStringLiteral(" 页"), this);
    FLabAutoPage->setObjectName(QStringLiteral("FLabAutoPage"));
    FComboxAutoPage = new QComboBox(this);
    FComboxAutoPage->setObjectName(QStringLiteral("FComboxAutoPage"));
    FComboxAutoPage->setFixedWidth(PageListWidth);
    FComboxAutoPage->setAccessibleName(QStringLiteral("页码"));
    FLabAutoConnect->adjustSize();
    FLabAutoPage->adjustSize();
    // Tab goes along the bar as it reads: the page list before the go button.
    setTabOrder(FBtnAutoLast, FComboxAutoPage);
    setTabOrder(FComboxAutoPage, FBtnAutoConnect);

    connect(FBtnAutoFirst, &QToolButton::clicked, this, &TQVPageTool::BtnAutoFirstClick);
    connect(FBtnAutoPrior, &QToolButton::clicked, this, &TQVPageTool::BtnAutoPriorClick);
    connect(FBtnAutoNext, &QToolButton::clicked, this, &TQVPageTool::BtnAutoNextClick);
    connect(FBtnAutoLast, &QToolButton::clicked, this, &TQVPageTool::BtnAutoLastClick);
    connect(FBtnAutoConnect, &QToolButton::clicked, this, &TQVPageTool::BtnAutoConnectClick);

    resize(640, BarHeight);
    ArrangeParts();
}

TQVPageTool::~TQVPageTool() = default;

QToolButton *TQVPageTool::CreateButton(const char *name, const char *glyph, const QString &hint)
{
    auto *button = new QToolButton(this);
    button->setObjectName(QLatin1String(name));
    button->setAutoRaise(true);
    button->setFixedSize(ButtonSize, ButtonSize);
    button->setIcon(QIcon(PageToolGlyph(QLatin1String(glyph))));
    button->setToolTip(hint);
    // The glyph alone says nothing to a screen reader.
    button->setAccessibleName(hint);
    return button;
}

QSize TQVPageTool::sizeHint() const
{
    // The two lines of page information need more than the usual height
    // in some faces: the bar grows rather than cut them off.
    return QSize(QFrame::sizeHint().width(), qMax(BarHeight, FLabAutoPageInfo->height() + 2 * frameWidth()));
}

QSize TQVPageTool::minimumSizeHint() const
{
    // Narrower than its parts, the bar would cut off the go-to button.
    return QSize(PartsWidth() + 10, sizeHint().height());
}

// The parts' sizes as they are now, so that the bar follows the window's
// scale; the gap keeps its share of a button.
int TQVPageTool::ScaledGap() const
{
    return std::max(1, FBtnAutoFirst->width() * Gap / ButtonSize);
}

int TQVPageTool::PartsWidth() const
{
    return FLabAutoPageInfo->width() + 8 * ScaledGap() + 5 * FBtnAutoFirst->width() + FComboxAutoPage->width()
        + FLabAutoConnect->width() + FLabAutoPage->width();
}

void TQVPageTool::SetPageRecordCount(int count)
{
    // A page of no rows would divide by zero when the pages are counted.
    FPageRecordCount = qMax(1, count);
}

void TQVPageTool::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    ArrangeParts();
}

void TQVPageTool::ArrangeParts()
{
    const int infoWidth = FLabAutoPageInfo->width();
    const int gotoWidth = FLabAutoConnect->width();
    const int pageWidth = FLabAutoPage->width();
    int left = (width() - PartsWidth()) / 2;
    if (left < 0)
        left = 5;
    auto place = [this](QWidget *part, int x) { part->move(x, (height() - part->height()) / 2); };
    place(FLabAutoPageInfo, left);
    const int gap = ScaledGap();
    int x = left + infoWidth + 3 * gap;
    for (QToolButton *button : {FBtnAutoFirst, FBtnAutoPrior, FBtnAutoNext, FBtnAutoLast}) {
        place(button, x);
        x += button->width() + gap;
    }
    place(FLabAutoConnect, x);
    x += gotoWidth;
    place(FComboxAutoPage, x);
    x += FComboxAutoPage->width();
    place(FLabAutoPage, x);
    x += pageWidth + gap;
    place(FBtnAutoConnect, x);
}

bool TQVPageTool::QueryOpen() const
{
    return FQuery && FQuery->Active();
}

TQuery *TQVPageTool::OpenAuxQuery(const QString &sql)
{
    if (!FAuxQuery)
        FAuxQuery = new TQuery(this);
    FAuxQuery->Close();
    FAuxQuery->SetConnection(FQuery->Connection());
    FAuxQuery->SetSQL(sql);
    FAuxQuery->Open();
    return FAuxQuery;
}

void TQVPageTool::Count()
{
    try {
        FRecordCount = OpenAuxQuery(QVPageSql::Count(FBaseSql))->Fields(0)->AsInteger();
        FPageCount = PageCountOf(FRecordCount, FPageRecordCount);
        FComboxAutoPage->clear();
        for (int page = 1; page <= FPageCount; ++page)
            FComboxAutoPage->addItem(QString::number(page));
    } catch (const std::exception &) {
        // A bad base statement or a lost connection: the counts stay as reached.
    }
}

void TQVPageTool::UpdatePageInfo()
{
    const int oldWidth = FLabAutoPageInfo->width();
    ShowPageInfo(PageInfoText(FRecordCount, FPageRecordCount, FPageCount, FCurrentPage));
    // Digits and blanks differ in width in this face: keep the parts clear of the label.
    if (FLabAutoPageInfo->width() != oldWidth)
        ArrangeParts();
    FComboxAutoPage->setCurrentIndex(FCurrentPage - 1);
}

void TQVPageTool::ShowPageInfo(const QString &text)
{
    FPageInfo = text;
    // The face's own line spacing makes two lines taller than the bar:
    // tighter lines keep them inside it. Blanks are kept, they align the numbers.
    QString html = text.toHtmlEscaped();
    html.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    FLabAutoPageInfo->setText(QStringLiteral("<div style=\"white-space:pre; line-height:80%\">") + html
                              + QStringLiteral("</div>"));
    FLabAutoPageInfo->adjustSize();
    updateGeometry();
}

void TQVPageTool::CaptureQuery(TQVAdoQuery *query, const QString &upperSql)
{
    try {
        FQuery = query;
        FBaseSql = upperSql;
        Count();
        query->SetSQL(QVPageSql::FirstPage(FPageRecordCount, FBaseSql));
        FCurrentPage = 1;
        UpdatePageInfo();
    } catch (const std::exception &) {
    }
}

void TQVPageTool::CapturedOpenDone(TQVAdoQuery *query)
{
    if (query != FQuery)
        return;
    try {
        StoreBounds();
    } catch (const std::exception &) {
    }
}

void TQVPageTool::StoreBounds()
{
    if (FQuery->IsEmpty()) {
        FFirstXh = 0;
        FLastXh = 0;
        return;
    }
    FQuery->Last();
    FLastXh = FQuery->FieldByName(QStringLiteral("Xh"))->AsInteger();
    FQuery->First();
    FFirstXh = FQuery->FieldByName(QStringLiteral("Xh"))->AsInteger();
}

void TQVPageTool::SaveMasterSource()
{
    if (FQuery && FQuery->MasterSource()) {
        FSavedMasterSource = FQuery->MasterSource();
        FQuery->SetMasterSource(nullptr);
    }
}

void TQVPageTool::RestoreMasterSource()
{
    if (FQuery && FSavedMasterSource) {
        FQuery->SetMasterSource(FSavedMasterSource);
        FSavedMasterSource = nullptr;
    }
}

void TQVPageTool::Reload(const QString &sql)
{
    FQuery->SetPagingArmed(false);
    Count();
    FQuery->Close();
    FQuery->SetSQL(sql);
    FQuery->Open();
    // The previous and last pages come in descending order.
    FQuery->SortBy(QStringLiteral("Xh"));
    StoreBounds();
    RestoreMasterSource();
}

void TQVPageTool::Navigate(bool guardHolds, const std::function<void()> &load)
{
    if (!FQuery)
        return;
    SaveMasterSource();
    if (!guardHolds) {
        RestoreMasterSource();
        return;
    }
    try {
        load();
        UpdatePageInfo();
    } catch (const std::exception &) {
        // The bar shows no message; a detail query gets its master back.
        RestoreMasterSource();
    }
}

void TQVPageTool::BtnAutoFirstClick()
{
    Navigate(FCurrentPage != 1 && FRecordCount != 0, [this] {
        Reload(QVPageSql::FirstPage(FPageRecordCount, FBaseSql));
        FCurrentPage = 1;
    });
}

void TQVPageTool::BtnAutoPriorClick()
{
    Navigate(QueryOpen() && FCurrentPage != 1 && FRecordCount != 0, [this] {
        Reload(QVPageSql::PriorPage(FPageRecordCount, FBaseSql, FFirstXh));
        FCurrentPage = FCurrentPage - 1;
    });
}

void TQVPageTool::BtnAutoNextClick()
{
    Navigate(QueryOpen() && FCurrentPage != FPageCount && FRecordCount != 0, [this] {
        Reload(QVPageSql::NextPage(FPageRecordCount, FBaseSql, FLastXh));
        FCurrentPage = FCurrentPage + 1;
    });
}

void TQVPageTool::BtnAutoLastClick()
{
    Navigate(QueryOpen() && FCurrentPage != FPageCount && FRecordCount != 0, [this] {
        // The size of the last page comes from the count before this reload's own.
        Reload(QVPageSql::LastPage(FRecordCount, FPageRecordCount, FBaseSql));
        FCurrentPage = FPageCount;
    });
}

void TQVPageTool::BtnAutoConnectClick()
{
    Navigate(QueryOpen() && FComboxAutoPage->currentIndex() >= 0 && FRecordCount != 0,
             [this] { LoadPage(FComboxAutoPage->currentText().toInt()); });
}

void TQVPageTool::LoadPage(int page)
{
    if (page == 1) {
        Reload(QVPageSql::FirstPage(FPageRecordCount, FBaseSql));
    } else {
        TQuery *boundary = OpenAuxQuery(QVPageSql::PageBoundary(page, FPageRecordCount, FBaseSql));
        Reload(QVPageSql::PageRows(FPageRecordCount, FBaseSql, boundary->Fields(0)->AsString()));
    }
    // Only a page that loaded is the current one; a failed load keeps the old number.
    FCurrentPage = page;
}

void TQVPageTool::ShowPageOf(int xh)
{
    Navigate(QueryOpen(), [this, xh] {
        const int rowsUpTo = OpenAuxQuery(QVPageSql::CountUpTo(FBaseSql, xh))->Fields(0)->AsInteger();
        LoadPage(qMax(1, PageCountOf(rowsUpTo, FPageRecordCount)));
    });
}

void TQVPageTool::RowsChanged(TQVAdoQuery *query)
{
    if (query != FQuery)
        return;
    Count();
    // The last page may have gone with its last row.
    FCurrentPage = qMax(1, qMin(FCurrentPage, FPageCount));
    UpdatePageInfo();
}
