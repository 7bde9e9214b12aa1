#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "FrmPrew.h"
#include "TestPaper.h"
#include "UApplication.h"
#include "UComm.h"
#include "UFrDBDataSet.h"
#include "UFrPreview.h"
#include "UFrRep.h"
#include "UFrTemplate.h"

class TestUFrRep : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void EmptyReportFileOnlyShowsTheMessage();
    void ResultSheetRunsModalAndReturnsOnClose();
    void MissingTemplateStillOpensThePreview();
    void BrokenTemplateErrorReachesTheCaller();
    void EmptyPathOrSeamKeepsThePreviewShut();
    void PrintingWithoutPreviewNeedsNoWindow();
    void ResultSheetPdfWithoutAWindow();

private:
    // Runs the action while a timer closes the first preview that opens;
    // returns the pages that preview showed (-1 when none opened).
    int PagesOfPreviewDuring(const std::function<void()> &action, QString *message = nullptr);

    std::unique_ptr<TTestPaper> FPaper;
    TQuery *FQuery = nullptr;
};

void TestUFrRep::initTestCase()
{
    InstallChineseFonts();
}

void TestUFrRep::init()
{
    FPaper = std::make_unique<TTestPaper>();
    FPaper->AddRows(80);
    FQuery = &FPaper->OpenResultQuery();
    RunContext.DriveTypeCaption = QStringLiteral("小型汽车");
}

void TestUFrRep::cleanup()
{
    SetResultSheetHandler(nullptr);
    FQuery = nullptr;
    FPaper.reset();
}

int TestUFrRep::PagesOfPreviewDuring(const std::function<void()> &action, QString *message)
{
    int pages = -1;
    QTimer closer;
    closer.setInterval(50);
    connect(&closer, &QTimer::timeout, this, [&pages, message] {
        if (auto *form = qobject_cast<TPreForm *>(QApplication::activeModalWidget())) {
            pages = form->Preview()->AllPages();
            if (message)
                *message = form->Preview()->Message();
            QTest::keyClick(form, Qt::Key_Escape);
        }
    });
    closer.start();
    action();
    return pages;
}

void TestUFrRep::EmptyReportFileOnlyShowsTheMessage()
{
    TScriptedMessages messages;
    TFrRep report;
    QVERIFY(report.ReportDataSet());
    report.SetSourceQuery(FQuery);
    QCOMPARE(report.SourceQuery(), FQuery);
    QCOMPARE(report.ReportDataSet()->DataSet(), FQuery);
    QCOMPARE(PagesOfPreviewDuring([&report] { report.ShowReport(); }), -1);
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(messages.Last().Text, QStringLiteral("报表文件名不能为空!"));
    QCOMPARE(messages.Last().Icon, TMsgIcon::None);
}

void TestUFrRep::ResultSheetRunsModalAndReturnsOnClose()
{
    QCOMPARE(PagesOfPreviewDuring([this] { PrintResultSheet(FQuery, TTestPaper::TemplatePath()); }), 3);
    // Nothing of the run survives it.
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(QApplication::topLevelWidgets().isEmpty()
            || std::none_of(QApplication::topLevelWidgets().cbegin(), QApplication::topLevelWidgets().cend(),
                            [](QWidget *widget) { return qobject_cast<TPreForm *>(widget); }));
    // A second run starts afresh.
    QCOMPARE(PagesOfPreviewDuring([this] { PrintResultSheet(FQuery, TTestPaper::TemplatePath()); }), 3);
}

void TestUFrRep::MissingTemplateStillOpensThePreview()
{
    QTemporaryDir dir;
    QString message;
    const QString missing = dir.filePath(QStringLiteral("TestMn.frf"));
    QCOMPARE(PagesOfPreviewDuring([this, &missing] { PrintResultSheet(FQuery, missing); }, &message), 0);
    QVERIFY(message.contains(QStringLiteral("找不到报表模板文件")));
}

void TestUFrRep::BrokenTemplateErrorReachesTheCaller()
{
    QTemporaryDir dir;
    const QString broken = dir.filePath(QStringLiteral("TestMn.frf"));
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[MasterData]\nMemo = 1 2 | x\n");
    file.close();
    QVERIFY_THROWS_EXCEPTION(ETemplateError, PrintResultSheet(FQuery, broken));
    QVERIFY(!QApplication::activeModalWidget());
}

void TestUFrRep::EmptyPathOrSeamKeepsThePreviewShut()
{
    QCOMPARE(PagesOfPreviewDuring([this] { PrintResultSheet(FQuery, QString()); }), -1);

    TQuery *seenQuery = nullptr;
    QString seenPath;
    SetResultSheetHandler([&seenQuery, &seenPath](TQuery *query, const QString &path) {
        seenQuery = query;
        seenPath = path;
    });
    QCOMPARE(PagesOfPreviewDuring([this] { PrintResultSheet(FQuery, TTestPaper::TemplatePath()); }), -1);
    QCOMPARE(seenQuery, FQuery);
    QCOMPARE(seenPath, TTestPaper::TemplatePath());
}

void TestUFrRep::PrintingWithoutPreviewNeedsNoWindow()
{
    TFrRep report;
    report.SetSourceQuery(FQuery);
    QCOMPARE(PagesOfPreviewDuring([&report] { report.RunReport(TTestPaper::TemplatePath(), false); }), -1);
}

void TestUFrRep::ResultSheetPdfWithoutAWindow()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    QVERIFY(WriteResultSheetPdf(FQuery, TTestPaper::TemplatePath(), pdf));
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(PdfPageCount(file.readAll()), 3);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());

    QVERIFY(!WriteResultSheetPdf(FQuery, dir.filePath(QStringLiteral("missing.frf")), pdf + ".2"));
    QVERIFY(!QFile::exists(pdf + ".2"));
}

QTEST_MAIN(TestUFrRep)
#include "tst_UFrRep.moc"
