#include <memory>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include "QVAdoQuery.h"
#include "QVPageTool.h"
#include "TestSupport.h"
#include "UApplication.h"
#include "UConnection.h"
#include "UDM.h"
#include "UDbError.h"

namespace {

const QString BaseSql = QStringLiteral("select Xh, Name from T_Page where Name <> 'skip'");
const QString UpperBase = BaseSql.toUpper();

} // namespace

class TestQVPageTool : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { InstallChineseFonts(); }
    void init();
    void cleanup();

    void NewBarLayout();

    void PagesOf45Rows();
    void PagesOf40Rows();
    void GoToPage();
    void FailedLoadKeepsPageAndRows();
    void EmptyTable();
    void BaseWithoutXh();
    void FollowsInsertsAndStopsCapturing();
    void MasterSourceUnlinkedWhileReloading();
    void CountsAgainWhenRowsChange();
    void ShowsThePageOfARow();

private:
    // Rows with Xh 3, 6, 9, …: gaps between the values must not matter.
    void FillRows(int count);
    void OpenPaged(const QString &sql = BaseSql);
    QList<int> LoadedXh();
    QString InfoText() const { return FBar->PageInfo(); }
    QComboBox *PageList() const { return FBar->findChild<QComboBox *>(QStringLiteral("FComboxAutoPage")); }
    void Go(int page);

    std::unique_ptr<TTestBank> FBank;
    std::unique_ptr<QWidget> FForm;
    TQVPageTool *FBar = nullptr;
    TQVAdoQuery *FQuery = nullptr;
};

void TestQVPageTool::init()
{
    FBank = std::make_unique<TTestBank>();
    FBank->Exec(QStringLiteral("create table T_Page (Xh integer, Name text)"));
    FForm = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(FForm.get());
    FBar = new TQVPageTool(FForm.get());
    layout->addStretch();
    layout->addWidget(FBar);
    FForm->resize(700, 80);
    FQuery = new TQVAdoQuery(FForm.get());
    FQuery->SetConnection(DM->ACon);
    FQuery->SetQVPageTool(FBar);
}

void TestQVPageTool::cleanup()
{
    FForm.reset();
    FBank.reset();
}

void TestQVPageTool::FillRows(int count)
{
    FBank->Exec(QStringLiteral("begin"));
    for (int i = count; i >= 1; --i)
        FBank->Exec(QStringLiteral("insert into T_Page values (%1, 'row%1')").arg(i * 3));
    // The base statement reaches the database upper-cased, 'skip' included.
    FBank->Exec(QStringLiteral("insert into T_Page values (1000, 'SKIP')"));
    FBank->Exec(QStringLiteral("commit"));
}

void TestQVPageTool::OpenPaged(const QString &sql)
{
    FQuery->SetSQL(sql);
    FQuery->Open();
}

QList<int> TestQVPageTool::LoadedXh()
{
    QList<int> xh;
    if (!FQuery->Active())
        return xh;
    for (FQuery->First(); !FQuery->Eof(); FQuery->Next())
        xh << FQuery->FieldByName(QStringLiteral("Xh"))->AsInteger();
    return xh;
}

QList<int> XhRange(int firstRow, int lastRow)
{
    QList<int> xh;
    for (int row = firstRow; row <= lastRow; ++row)
        xh << row * 3;
    return xh;
}

void TestQVPageTool::Go(int page)
{
    PageList()->setCurrentIndex(page - 1);
    QTest::mouseClick(FBar->findChild<QToolButton *>(QStringLiteral("FBtnAutoConnect")), Qt::LeftButton);
}

void TestQVPageTool::NewBarLayout()
{
    QCOMPARE(InfoText(), QStringLiteral("共有        条记录，每页        条，\n共分        页，当前为第        页。"));
    QCOMPARE(FBar->PageRecordCount(), 20);
    QCOMPARE(FBar->height(), 35);
    QVERIFY(FBar->findChild<QLabel *>(QStringLiteral("FLabAutoPageInfo"))->height() <= 33);
    const QStringList buttons{"FBtnAutoFirst", "FBtnAutoPrior", "FBtnAutoNext", "FBtnAutoLast", "FBtnAutoConnect"};
    const QStringList hints{"第一页", "上一页", "下一页", "最后一页", "转到"};
    for (int i = 0; i < buttons.size(); ++i) {
        auto *button = FBar->findChild<QToolButton *>(buttons[i]);
        QVERIFY(button);
        QCOMPARE(button->size(), QSize(25, 25));
        QCOMPARE(button->toolTip(), hints[i]);
        QVERIFY(button->autoRaise());
        QVERIFY(!button->icon().isNull());
    }
    for (const char *glyph : {"FIRST", "PRIOR", "NEXT", "LAST", "CONNECT"}) {
        const QImage image = PageToolGlyph(QLatin1String(glyph)).toImage();
        QVERIFY2(image.pixelColor(8, 8).alpha() > 0 || image.pixelColor(10, 8).alpha() > 0, glyph);
    }
    QCOMPARE(PageList()->width(), 60);

    FForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
    auto *info = FBar->findChild<QLabel *>(QStringLiteral("FLabAutoPageInfo"));
    auto *first = FBar->findChild<QToolButton *>(QStringLiteral("FBtnAutoFirst"));
    auto *prior = FBar->findChild<QToolButton *>(QStringLiteral("FBtnAutoPrior"));
    auto *gotoLabel = FBar->findChild<QLabel *>(QStringLiteral("FLabAutoConnect"));
    auto *pageLabel = FBar->findChild<QLabel *>(QStringLiteral("FLabAutoPage"));
    auto *go = FBar->findChild<QToolButton *>(QStringLiteral("FBtnAutoConnect"));
    const int total = info->width() + 8 * 5 + 5 * 25 + 60 + gotoLabel->width() + pageLabel->width();
    QCOMPARE(info->x(), (FBar->width() - total) / 2);
    QCOMPARE(first->x(), info->x() + info->width() + 15);
    QCOMPARE(prior->x(), first->x() + 30);
    QCOMPARE(gotoLabel->x(), first->x() + 4 * 30);
    QCOMPARE(PageList()->x(), gotoLabel->x() + gotoLabel->width());
    QCOMPARE(pageLabel->x(), PageList()->x() + 60);
    QCOMPARE(go->x(), pageLabel->x() + pageLabel->width() + 5);
    QCOMPARE(first->y(), (FBar->height() - 25) / 2);

    // Too narrow to centre: the parts start 5 pixels in.
    FBar->setFixedWidth(200);
    QCoreApplication::processEvents();
    QCOMPARE(info->x(), 5);
}

void TestQVPageTool::PagesOf45Rows()
{
    FillRows(45);
    OpenPaged();
    QCOMPARE(FBar->BaseSql(), UpperBase);
    QCOMPARE(FQuery->SQL(), QVPageSql::FirstPage(20, UpperBase));
    QCOMPARE(FBar->RecordCount(), 45);
    QCOMPARE(FBar->PageCount(), 3);
    QCOMPARE(FBar->CurrentPage(), 1);
    QCOMPARE(LoadedXh(), XhRange(1, 20));
    QCOMPARE(FBar->FirstXh(), 3);
    QCOMPARE(FBar->LastXh(), 60);
    QCOMPARE(PageList()->count(), 3);
    QCOMPARE(PageList()->itemText(2), QStringLiteral("3"));
    QCOMPARE(PageList()->currentIndex(), 0);
    QCOMPARE(InfoText(), PageInfoText(45, 20, 3, 1));

    // First and prior do nothing on page 1.
    FBar->BtnAutoFirstClick();
    FBar->BtnAutoPriorClick();
    QCOMPARE(FQuery->SQL(), QVPageSql::FirstPage(20, UpperBase));
    QVERIFY(FQuery->PagingArmed());

    FBar->BtnAutoNextClick();
    QCOMPARE(FQuery->SQL(), QVPageSql::NextPage(20, UpperBase, 60));
    QCOMPARE(LoadedXh(), XhRange(21, 40));
    QCOMPARE(FBar->CurrentPage(), 2);
    QVERIFY(!FQuery->PagingArmed());

    FBar->BtnAutoLastClick();
    QCOMPARE(FQuery->SQL(), QVPageSql::LastPage(45, 20, UpperBase));
    QVERIFY(FQuery->SQL().startsWith(QStringLiteral("Select top 5 ")));
    QCOMPARE(LoadedXh(), XhRange(41, 45));
    QCOMPARE(FBar->FirstXh(), 123);
    QCOMPARE(FBar->LastXh(), 135);
    QCOMPARE(InfoText(), PageInfoText(45, 20, 3, 3));
    QCOMPARE(PageList()->currentIndex(), 2);

    // Next and last do nothing on the last page.
    FBar->BtnAutoNextClick();
    FBar->BtnAutoLastClick();
    QCOMPARE(LoadedXh(), XhRange(41, 45));

    FBar->BtnAutoPriorClick();
    QCOMPARE(FQuery->SQL(), QVPageSql::PriorPage(20, UpperBase, 123));
    QCOMPARE(LoadedXh(), XhRange(21, 40));
    QCOMPARE(FBar->CurrentPage(), 2);

    FBar->BtnAutoFirstClick();
    QCOMPARE(LoadedXh(), XhRange(1, 20));
    QCOMPARE(InfoText(), PageInfoText(45, 20, 3, 1));

    QDir().mkpath(QStringLiteral("/work/shots"));
    FBar->BtnAutoLastClick();
    FForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
    FBar->grab().save(QStringLiteral("/work/shots/connect-pagetool.png"));
}

void TestQVPageTool::PagesOf40Rows()
{
    FillRows(40);
    OpenPaged();
    QCOMPARE(FBar->PageCount(), 2);
    QCOMPARE(PageList()->count(), 2);
    QTest::mouseClick(FBar->findChild<QToolButton *>(QStringLiteral("FBtnAutoLast")), Qt::LeftButton);
    QVERIFY(FQuery->SQL().startsWith(QStringLiteral("Select top 20 ")));
    QCOMPARE(LoadedXh(), XhRange(21, 40));
    QCOMPARE(InfoText(), PageInfoText(40, 20, 2, 2));
}

void TestQVPageTool::GoToPage()
{
    FillRows(45);
    OpenPaged();
    Go(3);
    QCOMPARE(FQuery->SQL(), QVPageSql::PageRows(20, UpperBase, QStringLiteral("120")));
    QCOMPARE(LoadedXh(), XhRange(41, 45));
    QCOMPARE(FBar->CurrentPage(), 3);
    QCOMPARE(InfoText(), PageInfoText(45, 20, 3, 3));

    // The chosen page is reloaded even when it is on show.
    FBank->Exec(QStringLiteral("delete from T_Page where Xh = 135"));
    Go(3);
    QCOMPARE(LoadedXh(), XhRange(41, 44));
    QCOMPARE(FBar->RecordCount(), 44);

    Go(1);
    QCOMPARE(FQuery->SQL(), QVPageSql::FirstPage(20, UpperBase));
    QCOMPARE(LoadedXh(), XhRange(1, 20));
    QCOMPARE(FBar->CurrentPage(), 1);

    Go(2);
    QCOMPARE(LoadedXh(), XhRange(21, 40));
    QCOMPARE(FBar->FirstXh(), 63);
    QCOMPARE(FBar->LastXh(), 120);
}

void TestQVPageTool::FailedLoadKeepsPageAndRows()
{
    FillRows(45);
    OpenPaged();
    Go(2);
    const QString shownInfo = InfoText();

    // The page's boundary cannot be read: nothing of page 3 is loaded.
    FBank->Exec(QStringLiteral("alter table T_Page rename to T_Gone"));
    Go(3);
    QCOMPARE(FBar->CurrentPage(), 2);
    QCOMPARE(InfoText(), shownInfo);
    QVERIFY(FQuery->Active());
    QCOMPARE(LoadedXh(), XhRange(21, 40));

    // Stepping on counts from the page really on show.
    FBank->Exec(QStringLiteral("alter table T_Gone rename to T_Page"));
    FBar->BtnAutoPriorClick();
    QCOMPARE(LoadedXh(), XhRange(1, 20));
    QCOMPARE(FBar->CurrentPage(), 1);
    QCOMPARE(InfoText(), PageInfoText(45, 20, 3, 1));
}

void TestQVPageTool::EmptyTable()
{
    OpenPaged();
    QVERIFY(FQuery->Active());
    QCOMPARE(FBar->RecordCount(), 0);
    QCOMPARE(FBar->PageCount(), 0);
    QCOMPARE(PageList()->count(), 0);
    QCOMPARE(FBar->FirstXh(), 0);
    QCOMPARE(FBar->LastXh(), 0);
    const QString firstPage = FQuery->SQL();
    for (const char *name : {"FBtnAutoFirst", "FBtnAutoPrior", "FBtnAutoNext", "FBtnAutoLast", "FBtnAutoConnect"})
        QTest::mouseClick(FBar->findChild<QToolButton *>(QLatin1String(name)), Qt::LeftButton);
    QCOMPARE(FQuery->SQL(), firstPage);
    QVERIFY(FQuery->PagingArmed());
    QCOMPARE(FBar->CurrentPage(), 1);
}

void TestQVPageTool::BaseWithoutXh()
{
    FillRows(45);
    TScriptedMessages messages;
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, OpenPaged(QStringLiteral("select Name from T_Page")));
    QCOMPARE(FBar->RecordCount(), 46);
    QCOMPARE(FBar->PageCount(), 3);
    QVERIFY(!FQuery->Active());

    // The bar's own reloads fail without a message and leave the query closed.
    Go(2);
    FBar->BtnAutoNextClick();
    FBar->BtnAutoFirstClick();
    QVERIFY(!FQuery->Active());
    QCOMPARE(messages.Count(), 0);

    // Open but without Xh: a reload fails inside and the query stays closed.
    FQuery->SetPagingArmed(false);
    FQuery->SetSQL(QStringLiteral("select Name from T_Page"));
    FQuery->Open();
    FBar->BtnAutoNextClick();
    QVERIFY(!FQuery->Active());
    QCOMPARE(FBar->CurrentPage(), 1);
    QCOMPARE(messages.Count(), 0);
}

void TestQVPageTool::FollowsInsertsAndStopsCapturing()
{
    FillRows(40);
    OpenPaged();
    QCOMPARE(FBar->PageCount(), 2);
    FBank->Exec(QStringLiteral("insert into T_Page values (500, 'late')"));
    FBar->BtnAutoNextClick();
    QCOMPARE(FBar->RecordCount(), 41);
    QCOMPARE(FBar->PageCount(), 3);
    QCOMPARE(PageList()->count(), 3);

    // After the bar's own reload, the application's opens run unpaged.
    FQuery->Close();
    FQuery->SetSQL(QStringLiteral("select Xh from T_Page where Xh < 10 order by Xh"));
    FQuery->Open();
    QCOMPARE(FQuery->SQL(), QStringLiteral("select Xh from T_Page where Xh < 10 order by Xh"));
    QCOMPARE(LoadedXh(), (QList<int>{3, 6, 9}));
    QCOMPARE(FBar->BaseSql(), UpperBase);

    // Upper-casing reaches string constants too: 'row3' becomes 'ROW3'.
    TQVAdoQuery other(FForm.get());
    other.SetConnection(DM->ACon);
    other.SetQVPageTool(FBar);
    other.SetSQL(QStringLiteral("select Xh from T_Page where Name = 'row3'"));
    other.Open();
    QCOMPARE(FBar->RecordCount(), 0);
}

void TestQVPageTool::MasterSourceUnlinkedWhileReloading()
{
    FillRows(45);
    OpenPaged();
    QObject master;
    FQuery->SetMasterSource(&master);
    QObject *seenWhileOpening = &master;
    connect(FQuery, &TQuery::BeforeOpen, this,
            [&seenWhileOpening](TQuery *query) { seenWhileOpening = query->MasterSource(); });
    FBar->BtnAutoNextClick();
    QCOMPARE(seenWhileOpening, nullptr);
    QCOMPARE(FQuery->MasterSource(), &master);

    // Guard not holding: given back at once.
    FBar->BtnAutoLastClick();
    FBar->BtnAutoNextClick();
    QCOMPARE(FQuery->MasterSource(), &master);

    // A failing reload gives it back too.
    FBank->Exec(QStringLiteral("drop table T_Page"));
    FBar->BtnAutoFirstClick();
    QVERIFY(!FQuery->Active());
    QCOMPARE(FQuery->MasterSource(), &master);
}

void TestQVPageTool::CountsAgainWhenRowsChange()
{
    FillRows(40);
    OpenPaged();
    FQuery->Append();
    FQuery->FieldByName(QStringLiteral("Xh"))->SetAsInteger(500);
    FQuery->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("new"));
    FQuery->Post();
    QCOMPARE(FBar->RecordCount(), 41);
    QCOMPARE(FBar->PageCount(), 3);
    QCOMPARE(PageList()->count(), 3);
    QCOMPARE(InfoText(), PageInfoText(41, 20, 3, 1));
    // The rows on show stay as they are.
    QCOMPARE(FQuery->RecordCount(), 21);

    // The last page loses its only row while on show: the page before is current.
    FBar->BtnAutoLastClick();
    QCOMPARE(LoadedXh(), QList<int>{500});
    FQuery->Delete();
    QCOMPARE(FBar->RecordCount(), 40);
    QCOMPARE(FBar->CurrentPage(), 2);
    QCOMPARE(InfoText(), PageInfoText(40, 20, 2, 2));

    // Another query's rows are not the bar's to count.
    TQVAdoQuery other(FForm.get());
    other.SetConnection(DM->ACon);
    other.SetQVPageTool(FBar);
    other.SetPagingArmed(false);
    other.SetSQL(QStringLiteral("select * from T_Page"));
    other.Open();
    other.Delete();
    QCOMPARE(FBar->RecordCount(), 40);
}

void TestQVPageTool::ShowsThePageOfARow()
{
    FillRows(45);
    OpenPaged();
    FBar->ShowPageOf(66);
    QCOMPARE(FBar->CurrentPage(), 2);
    QCOMPARE(LoadedXh(), XhRange(21, 40));
    QCOMPARE(InfoText(), PageInfoText(45, 20, 3, 2));
    QCOMPARE(PageList()->currentIndex(), 1);
    // The last row of a page, a number between rows, one before all rows.
    FBar->ShowPageOf(60);
    QCOMPARE(LoadedXh(), XhRange(1, 20));
    FBar->ShowPageOf(124);
    QCOMPARE(FBar->CurrentPage(), 3);
    QCOMPARE(LoadedXh(), XhRange(41, 45));
    FBar->ShowPageOf(1);
    QCOMPARE(FBar->CurrentPage(), 1);

    // A page that cannot be found leaves the page on show.
    FBank->Exec(QStringLiteral("alter table T_Page rename to T_Gone"));
    FBar->ShowPageOf(130);
    QCOMPARE(FBar->CurrentPage(), 1);
    QCOMPARE(LoadedXh(), XhRange(1, 20));
}

QTEST_MAIN(TestQVPageTool)
#include "tst_QVPageTool.moc"
