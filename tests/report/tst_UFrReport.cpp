#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "TestPaper.h"
#include "UFrDBDataSet.h"
#include "UFrReport.h"

namespace {

// A4 with 10 mm margins leaves 277 mm; page header, column header and
// footer take 10 mm each, so a page holds 24 rows of 10 mm.
const char *const GridTemplate = R"(
[Report]
Margins = 10 10 10 10
[PageHeader]
Height = 10
Memo = 0 0 190 10 | | 页眉
[ColumnHeader]
Height = 10
Memo = 0 0 190 10 | Frame | 表头
[MasterData]
Height = 10
Memo = 0 0 20 10 | Frame | [ID]
Memo = 20 0 150 10 | Frame Wrap | [ThemeContent]
Memo = 170 0 20 10 | Frame | [OTZ]
[ReportSummary]
Height = 10
Memo = 0 0 190 10 | | 正确 [COUNT(OTZ=正确)] 错误 [COUNT(OTZ<>正确)] 得分 [SUM(ThemeBit; OTZ=正确)]
[PageFooter]
Height = 10
Memo = 0 0 190 10 | | [Page]/[TotalPages]
)";

QString ItemText(const TfrPageItem &item)
{
    return item.Lines.join(QString());
}

// The texts of a page's items in the order they were placed.
QStringList PageTexts(const TfrPage &page)
{
    QStringList texts;
    for (const TfrPageItem &item : page.Items)
        texts << ItemText(item);
    return texts;
}

} // namespace

class TestUFrReport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void OtzVerdictThroughTheAdapter_data();
    void OtzVerdictThroughTheAdapter();
    void AdapterKeepsTheCurrentRow();
    void RowsFlowAcrossPagesWithPageNumbers();
    void SummaryThatDoesNotFitGetsItsOwnPage();
    void TitleOnlyOnTheFirstPage();
    void LongQuestionWrapsAndTheRowGrows();
    void AggregatesCountAndSumTheVerdicts();
    void UnknownNameIsAnError();
    void EmptyAndTooSmallReports();
    void MissingFileLeavesTheReportAsItWas();
    void PdfHoldsEveryPageWithEmbeddedChineseText();

private:
    TfrReport &GridReport(int rows);

    std::unique_ptr<TTestPaper> FPaper;
    std::unique_ptr<TfrDBDataSet> FDataSet;
    std::unique_ptr<TfrReport> FReport;
};

void TestUFrReport::init()
{
    FPaper = std::make_unique<TTestPaper>();
    FDataSet = std::make_unique<TfrDBDataSet>();
    FReport = std::make_unique<TfrReport>();
}

void TestUFrReport::cleanup()
{
    FReport.reset();
    FDataSet.reset();
    FPaper.reset();
}

TfrReport &TestUFrReport::GridReport(int rows)
{
    for (int i = 1; i <= rows; ++i)
        FPaper->AddRow(QStringLiteral("题%1").arg(i), QStringLiteral("1"), i % 4 == 0 ? "2" : "1", 2);
    FDataSet->SetDataSet(&FPaper->OpenResultQuery());
    FReport->LoadFromTemplate(ParseTemplate(QString::fromUtf8(GridTemplate)));
    FReport->SetDataSet(FDataSet.get());
    return *FReport;
}

void TestUFrReport::OtzVerdictThroughTheAdapter_data()
{
    QTest::addColumn<QVariant>("answer");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("same answer") << QVariant("13") << "13"
                                 << "正确";
    QTest::newRow("digits in another order") << QVariant("13") << "31"
                                             << "错误";
    QTest::newRow("letters in any case") << QVariant("ab") << "AB"
                                         << "正确";
    QTest::newRow("blank around the right answer") << QVariant("1") << " 1"
                                                   << "错误";
    QTest::newRow("unanswered") << QVariant() << "1"
                                << "错误";
    QTest::newRow("unanswered with empty right answer") << QVariant() << ""
                                                        << "正确";
}

void TestUFrReport::OtzVerdictThroughTheAdapter()
{
    QFETCH(QVariant, answer);
    QFETCH(QString, result);
    FPaper->AddRow(QStringLiteral("题"), answer, result);
    FDataSet->SetDataSet(&FPaper->OpenResultQuery());
    const std::vector<QStringList> rows = FDataSet->RowTexts({"otz", "OTZ"});
    QCOMPARE(rows.size(), size_t(1));
    QTEST(rows[0].at(0), "verdict");
    QTEST(rows[0].at(1), "verdict");
}

void TestUFrReport::AdapterKeepsTheCurrentRow()
{
    FPaper->AddRows(5);
    TQuery &query = FPaper->OpenResultQuery();
    FDataSet->SetDataSet(&query);
    query.MoveBy(2);
    const std::vector<QStringList> rows = FDataSet->RowTexts({"ID"});
    QCOMPARE(rows.size(), size_t(5));
    QCOMPARE(rows.front().at(0), QStringLiteral("1"));
    QCOMPARE(rows.back().at(0), QStringLiteral("5"));
    QCOMPARE(query.RecNo(), 3);

    query.Close();
    QVERIFY(!FDataSet->Active());
    QVERIFY(FDataSet->RowTexts({"ID"}).empty());
}

void TestUFrReport::RowsFlowAcrossPagesWithPageNumbers()
{
    TfrReport &report = GridReport(60);
    QVERIFY(report.PrepareReport());
    const std::vector<TfrPage> &pages = report.PreparedPages();
    QCOMPARE(pages.size(), size_t(3));
    // Header, column header, rows, (summary,) footer: 3 items a row.
    QCOMPARE(PageTexts(pages[0]).mid(0, 3), QStringList({"页眉", "表头", "1"}));
    QCOMPARE(PageTexts(pages[0]).at(2 + 3 * 23), QStringLiteral("24"));
    QCOMPARE(PageTexts(pages[0]).last(), QStringLiteral("1/3"));
    QCOMPARE(PageTexts(pages[1]).at(2), QStringLiteral("25"));
    QCOMPARE(PageTexts(pages[1]).last(), QStringLiteral("2/3"));
    QCOMPARE(PageTexts(pages[2]).at(2), QStringLiteral("49"));
    QCOMPARE(PageTexts(pages[2]).at(2 + 3 * 11), QStringLiteral("60"));
    QCOMPARE(PageTexts(pages[2]).last(), QStringLiteral("3/3"));

    // No row reaches into the footer.
    for (const TfrPage &page : pages) {
        const double footerTop = page.Items.back().Rect.top();
        for (size_t i = 0; i + 1 < page.Items.size(); ++i)
            QVERIFY(page.Items[i].Rect.bottom() <= footerTop + 0.01);
    }
}

void TestUFrReport::SummaryThatDoesNotFitGetsItsOwnPage()
{
    // 48 rows fill two pages exactly; the summary then starts page 3 without a column header.
    TfrReport &report = GridReport(48);
    QVERIFY(report.PrepareReport());
    const std::vector<TfrPage> &pages = report.PreparedPages();
    QCOMPARE(pages.size(), size_t(3));
    QCOMPARE(PageTexts(pages[2]), QStringList({"页眉", "正确 36 错误 12 得分 72", "3/3"}));
}

void TestUFrReport::TitleOnlyOnTheFirstPage()
{
    FPaper->AddRows(40);
    FDataSet->SetDataSet(&FPaper->OpenResultQuery());
    FReport->LoadFromTemplate(
        ParseTemplate(QStringLiteral("[ReportTitle]\nHeight = 20\nMemo = 0 0 100 10 | | 车型：[DriveTypeCaption]\n"
                                     "[ColumnHeader]\nHeight = 10\nMemo = 0 0 100 10 | | 表头\n"
                                     "[MasterData]\nHeight = 10\nMemo = 0 0 100 10 | | [Line]\n")));
    FReport->SetDataSet(FDataSet.get());
    FReport->SetVariable(QStringLiteral("drivetypecaption"), QStringLiteral("大型客车"));
    QVERIFY(FReport->PrepareReport());
    const std::vector<TfrPage> &pages = FReport->PreparedPages();
    QCOMPARE(pages.size(), size_t(2));
    QCOMPARE(PageTexts(pages[0]).mid(0, 3), QStringList({"车型：大型客车", "表头", "1"}));
    QCOMPARE(PageTexts(pages[1]).at(0), QStringLiteral("表头"));
    QVERIFY(!PageTexts(pages[1]).join(QString()).contains(QStringLiteral("车型")));
}

void TestUFrReport::LongQuestionWrapsAndTheRowGrows()
{
    FPaper->AddRow(QStringLiteral("短题"), "1", "1");
    FPaper->AddRow(QString(200, QChar(0x9053)), "1", "1");
    FPaper->AddRow(QStringLiteral("短题"), "1", "1");
    FDataSet->SetDataSet(&FPaper->OpenResultQuery());
    FReport->LoadFromTemplate(ParseTemplate(QString::fromUtf8(GridTemplate)));
    FReport->SetDataSet(FDataSet.get());
    QVERIFY(FReport->PrepareReport());
    const std::vector<TfrPageItem> &items = FReport->PreparedPages().at(0).Items;
    const TfrPageItem &question = items.at(6);
    QVERIFY(question.Lines.size() > 1);
    QCOMPARE(question.Lines.join(QString()), QString(200, QChar(0x9053)));
    QVERIFY(question.Rect.height() >= question.Lines.size() * question.LineHeight);
    // The whole row grows with the question, and the next row follows below it.
    QCOMPARE(items.at(5).Rect.height(), question.Rect.height());
    QCOMPARE(items.at(7).Rect.height(), question.Rect.height());
    QCOMPARE(items.at(8).Rect.top(), question.Rect.bottom());
    QCOMPARE(items.at(3).Rect.height(), items.at(8).Rect.height());
}

void TestUFrReport::AggregatesCountAndSumTheVerdicts()
{
    TfrReport &report = GridReport(10);
    QVERIFY(report.PrepareReport());
    const QStringList texts = PageTexts(report.PreparedPages().at(0));
    QCOMPARE(texts.at(texts.size() - 2), QStringLiteral("正确 8 错误 2 得分 16"));
}

void TestUFrReport::UnknownNameIsAnError()
{
    FPaper->AddRows(1);
    FDataSet->SetDataSet(&FPaper->OpenResultQuery());
    FReport->LoadFromTemplate(
        ParseTemplate(QStringLiteral("[MasterData]\nHeight = 5\nMemo = 0 0 9 5 | | [ThemeContnt]\n")));
    FReport->SetDataSet(FDataSet.get());
    QVERIFY_THROWS_EXCEPTION(EReportError, FReport->PrepareReport());
}

void TestUFrReport::EmptyAndTooSmallReports()
{
    TfrReport empty;
    QVERIFY(empty.PrepareReport());
    QVERIFY(empty.PreparedPages().empty());

    TfrReport &report = GridReport(3);
    report.SetPageLayout(QPageLayout(QPageSize(QSizeF(100, 30), QPageSize::Millimeter), QPageLayout::Portrait,
                                     QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter));
    QVERIFY(!report.PrepareReport());
    QVERIFY(report.PreparedPages().empty());
}

void TestUFrReport::MissingFileLeavesTheReportAsItWas()
{
    TfrReport &report = GridReport(3);
    QVERIFY(!report.LoadFromFile(QStringLiteral("/no/such/TestMn.frf")));
    QVERIFY(report.Loaded());
    QVERIFY(report.PrepareReport());
    QCOMPARE(report.PreparedPages().size(), size_t(1));

    TfrReport fresh;
    QVERIFY(!fresh.LoadFromFile(QStringLiteral("/no/such/TestMn.frf")));
    QVERIFY(!fresh.Loaded());
    QVERIFY(fresh.LoadFromFile(TTestPaper::TemplatePath()));
    QCOMPARE(fresh.FileName(), TTestPaper::TemplatePath());
}

void TestUFrReport::PdfHoldsEveryPageWithEmbeddedChineseText()
{
    TfrReport &report = GridReport(60);
    QVERIFY(report.PrepareReport());
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("sheet.pdf"));
    QVERIFY(WritePdf(report.PreparedPages(), report.PageLayout(), fileName));
    QVERIFY(!WritePdf(report.PreparedPages(), report.PageLayout(), dir.filePath(QStringLiteral("no/folder.pdf"))));
    QVERIFY(!WritePdf({}, report.PageLayout(), dir.filePath(QStringLiteral("empty.pdf"))));

    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(PdfPageCount(bytes), 3);
    QVERIFY(bytes.contains("/FontFile2"));

    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    const QString pdffonts = QStandardPaths::findExecutable(QStringLiteral("pdffonts"));
    if (pdftotext.isEmpty() || pdffonts.isEmpty())
        QSKIP("poppler's pdftotext and pdffonts are not installed; the page count was checked in the bytes");
    QProcess text;
    text.start(pdftotext, {QStringLiteral("-f"), QStringLiteral("3"), fileName, QStringLiteral("-")});
    QVERIFY(text.waitForFinished());
    const QString lastPage = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(lastPage.contains(QStringLiteral("正确 45 错误 15 得分 90")), qPrintable(lastPage));
    QVERIFY(lastPage.contains(QStringLiteral("3/3")));

    QProcess fonts;
    fonts.start(pdffonts, {fileName});
    QVERIFY(fonts.waitForFinished());
    const QStringList rows = QString::fromUtf8(fonts.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts).mid(2);
    QVERIFY(!rows.isEmpty());
    for (const QString &row : rows) {
        // Columns: name type encoding emb sub uni; every font is embedded.
        const QStringList columns = row.split(' ', Qt::SkipEmptyParts);
        QVERIFY2(columns.size() >= 6 && columns.at(columns.size() - 5) == QStringLiteral("yes"), qPrintable(row));
    }
}

QTEST_MAIN(TestUFrReport)
#include "tst_UFrReport.moc"
