#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "FrmPrew.h"
#include "TestPaper.h"
#include "UApplication.h"
#include "UComm.h"
#include "UFrDBDataSet.h"
#include "UFrPreview.h"

class TestFrmPrew : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void OpensAtHundredPercentOnFirstOfThreePages();
    void PageButtonsTurnPagesWithinTheSheet();
    void KeysTurnPagesAndEscCloses();
    void ZoomMenuKeepsOneItemChecked();
    void MissingTemplateSaysSoInsteadOfAnEmptyPage();
    void PrintingPaintsEveryPageWithoutADialog();
    void PdfButtonWritesTheChosenFile();
    void PageSetupLaysTheSheetOutAgain();

private:
    // A shown preview of a three-page result sheet.
    std::unique_ptr<TPreForm> OpenThreePageSheet();
    QString PageLabel(TPreForm &form) const;
    void Click(TPreForm &form, const char *buttonName) const;

    std::unique_ptr<TTestPaper> FPaper;
    std::unique_ptr<TfrDBDataSet> FDataSet;
};

void TestFrmPrew::initTestCase()
{
    InstallChineseFonts();
}

void TestFrmPrew::init()
{
    FPaper = std::make_unique<TTestPaper>();
    FPaper->AddRows(80);
    FDataSet = std::make_unique<TfrDBDataSet>();
    FDataSet->SetDataSet(&FPaper->OpenResultQuery());
}

void TestFrmPrew::cleanup()
{
    FDataSet.reset();
    FPaper.reset();
}

std::unique_ptr<TPreForm> TestFrmPrew::OpenThreePageSheet()
{
    auto form = std::make_unique<TPreForm>();
    form->LoadReport(TTestPaper::TemplatePath());
    form->Report().SetDataSet(FDataSet.get());
    form->Report().SetVariable(QStringLiteral("DriveTypeCaption"), QStringLiteral("小型汽车"));
    form->Report().SetVariable(QStringLiteral("Verdict"), QString());
    if (!form->PrepareReport())
        return nullptr;
    form->show();
    return form;
}

QString TestFrmPrew::PageLabel(TPreForm &form) const
{
    return form.findChild<QLabel *>(QStringLiteral("Panel2"))->text();
}

void TestFrmPrew::Click(TPreForm &form, const char *buttonName) const
{
    form.findChild<QToolButton *>(QString::fromLatin1(buttonName))->click();
}

void TestFrmPrew::OpensAtHundredPercentOnFirstOfThreePages()
{
    auto form = OpenThreePageSheet();
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("打印预览"));
    QVERIFY(form->windowState() & Qt::WindowMaximized);
    QCOMPARE(form->Preview()->AllPages(), 3);
    QCOMPARE(PageLabel(*form), QStringLiteral(" 第 1 页 ， 共 3 页"));
    QCOMPARE(form->Preview()->ZoomMode(), TfrPreview::zmPercent);
    QCOMPARE(qRound(form->Preview()->ZoomPercent()), 100);
    QVERIFY(form->findChild<QAction *>(QStringLiteral("N100"))->isChecked());
}

void TestFrmPrew::PageButtonsTurnPagesWithinTheSheet()
{
    auto form = OpenThreePageSheet();
    QVERIFY(form);
    Click(*form, "frSpeedButton7");
    QCOMPARE(PageLabel(*form), QStringLiteral(" 第 3 页 ， 共 3 页"));
    Click(*form, "frSpeedButton6");
    QCOMPARE(form->Preview()->Page(), 3);
    Click(*form, "frSpeedButton5");
    QCOMPARE(PageLabel(*form), QStringLiteral(" 第 2 页 ， 共 3 页"));
    Click(*form, "frSpeedButton4");
    QCOMPARE(PageLabel(*form), QStringLiteral(" 第 1 页 ， 共 3 页"));
    Click(*form, "frSpeedButton5");
    QCOMPARE(form->Preview()->Page(), 1);

    // Scrolling the preview itself moves the indicator with it.
    QScrollBar *scroll = form->Preview()->verticalScrollBar();
    scroll->setValue(scroll->maximum());
    QCOMPARE(PageLabel(*form), QStringLiteral(" 第 3 页 ， 共 3 页"));
    scroll->setValue(0);
    QCOMPARE(PageLabel(*form), QStringLiteral(" 第 1 页 ， 共 3 页"));
}

void TestFrmPrew::KeysTurnPagesAndEscCloses()
{
    auto form = OpenThreePageSheet();
    QVERIFY(form);
    // The keys reach the form although the preview area has the focus.
    form->Preview()->setFocus();
    form->activateWindow();
    QWidget *target = form->Preview()->viewport();
    QTest::keyClick(target, Qt::Key_PageDown);
    QCOMPARE(PageLabel(*form), QStringLiteral(" 第 2 页 ， 共 3 页"));
    QTest::keyClick(target, Qt::Key_Down);
    QCOMPARE(form->Preview()->Page(), 3);
    QTest::keyClick(target, Qt::Key_Up);
    QCOMPARE(form->Preview()->Page(), 2);
    QTest::keyClick(target, Qt::Key_PageUp);
    QCOMPARE(PageLabel(*form), QStringLiteral(" 第 1 页 ， 共 3 页"));

    // Inside the open zoom menu the arrows move through the menu, Esc closes only the menu.
    auto *menu = form->findChild<QMenu *>(QStringLiteral("PopupMenu"));
    menu->popup(QPoint(0, 0));
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Escape);
    QCOMPARE(form->Preview()->Page(), 1);
    QVERIFY(form->isVisible());

    QSignalSpy finished(form.get(), &QDialog::finished);
    QTest::keyClick(target, Qt::Key_Escape);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().toInt(), 1);
}

void TestFrmPrew::ZoomMenuKeepsOneItemChecked()
{
    auto form = OpenThreePageSheet();
    QVERIFY(form);
    auto *menu = form->findChild<QMenu *>(QStringLiteral("PopupMenu"));
    QCOMPARE(form->findChild<QToolButton *>(QStringLiteral("BtnZoom"))->menu(), menu);
    const QList<QAction *> items = menu->actions();
    QCOMPARE(items.size(), 9);
    auto checkedCount = [&items] {
        return std::count_if(items.begin(), items.end(), [](const QAction *item) { return item->isChecked(); });
    };

    form->findChild<QAction *>(QStringLiteral("N501"))->trigger();
    QCOMPARE(qRound(form->Preview()->ZoomPercent()), 50);
    QCOMPARE(checkedCount(), 1);

    TfrPreview *preview = form->Preview();
    form->findChild<QAction *>(QStringLiteral("N1"))->trigger();
    QCOMPARE(preview->ZoomMode(), TfrPreview::zmWholePage);
    QVERIFY(form->findChild<QAction *>(QStringLiteral("N1"))->isChecked());
    QCOMPARE(checkedCount(), 1);
    const double pageHeight = preview->Pages().front().Size.height() * preview->ZoomPercent() / 100
        * preview->logicalDpiY() / 72.0;
    QVERIFY(pageHeight <= preview->viewport()->height());

    form->findChild<QAction *>(QStringLiteral("NFitWidth"))->trigger();
    QCOMPARE(preview->ZoomMode(), TfrPreview::zmPageWidth);
    const double pageWidth = preview->Pages().front().Size.width() * preview->ZoomPercent() / 100
        * preview->logicalDpiX() / 72.0;
    QVERIFY(qAbs(pageWidth - (preview->viewport()->width() - 2 * TfrPageStrip::Gap)) < 2);
    QCOMPARE(checkedCount(), 1);
    QCOMPARE(form->findChild<QAction *>(QStringLiteral("NZoom"))->text(), QStringLiteral("500%"));
}

void TestFrmPrew::MissingTemplateSaysSoInsteadOfAnEmptyPage()
{
    TPreForm form;
    form.LoadReport(QStringLiteral("/no/such/folder/TestMn.frf"));
    form.Report().SetDataSet(FDataSet.get());
    QVERIFY(form.PrepareReport());
    form.show();
    QCOMPARE(form.Preview()->AllPages(), 0);
    QVERIFY(form.Preview()->Message().contains(QStringLiteral("找不到报表模板文件")));
    QVERIFY(form.Preview()->Message().contains(QStringLiteral("TestMn.frf")));
    QCOMPARE(PageLabel(form), QStringLiteral(" 第 0 页 ， 共 0 页"));

    // The placeholder of an empty template file gives a message too, not a blank page.
    QTemporaryDir dir;
    QFile empty(dir.filePath(QStringLiteral("TestMn.frf")));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    TPreForm emptyForm;
    emptyForm.LoadReport(empty.fileName());
    QVERIFY(emptyForm.PrepareReport());
    QCOMPARE(emptyForm.Preview()->AllPages(), 0);
    QVERIFY(emptyForm.Preview()->Message().contains(QStringLiteral("没有任何内容")));
}

void TestFrmPrew::PrintingPaintsEveryPageWithoutADialog()
{
    auto form = OpenThreePageSheet();
    QVERIFY(form);
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
    QVERIFY(form->PrintTo(printer));
    QFile printed(printer.outputFileName());
    QVERIFY(printed.open(QIODevice::ReadOnly));
    QCOMPARE(PdfPageCount(printed.readAll()), 3);
}

void TestFrmPrew::PdfButtonWritesTheChosenFile()
{
    auto form = OpenThreePageSheet();
    QVERIFY(form);
    QTemporaryDir dir;
    const QString chosen = dir.filePath(QStringLiteral("答题信息"));
    QTimer::singleShot(200, this, [&chosen] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            dialog->selectFile(chosen);
            QMetaObject::invokeMethod(dialog, "accept");
        }
    });
    Click(*form, "BtnPdf");
    QFile written(chosen + QStringLiteral(".pdf"));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(PdfPageCount(written.readAll()), 3);
}

void TestFrmPrew::PageSetupLaysTheSheetOutAgain()
{
    auto form = OpenThreePageSheet();
    QVERIFY(form);
    bool sawDialog = false;
    QTimer::singleShot(200, this, [&sawDialog] {
        auto *dialog = qobject_cast<QPageSetupDialog *>(QApplication::activeModalWidget());
        sawDialog = dialog != nullptr;
        if (!dialog)
            return;
        auto *landscape = dialog->findChild<QRadioButton *>(QStringLiteral("landscape"));
        if (landscape)
            landscape->click();
        dialog->accept();
    });
    Click(*form, "BtnSet");
    QVERIFY(sawDialog);
    QCOMPARE(form->Report().PageLayout().orientation(), QPageLayout::Landscape);
    const QSizeF pageSize = form->Preview()->Pages().front().Size;
    QVERIFY(pageSize.width() > pageSize.height());
    QVERIFY(form->Preview()->AllPages() > 3);
    QCOMPARE(PageLabel(*form), QStringLiteral(" 第 1 页 ， 共 %1 页").arg(form->Preview()->AllPages()));
}

QTEST_MAIN(TestFrmPrew)
#include "tst_FrmPrew.moc"
