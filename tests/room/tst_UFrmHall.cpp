#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "RoomFixture.h"
#include "UApplication.h"
#include "UDM.h"
#include "UFrmHall.h"

// The room view as a teacher uses it, on records the real store wrote while
// the window is open.
class TestUFrmHall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void ShowsEverySeatAndFollowsTheRecords();
    void RefreshKeepsTheSelectedPaper();
    void AFailedReadIsShownAndTheListStays();
    void TabGoesThroughTheListsAndButtons();
    void ExportWritesTheListAsCsv();
    void PrintsTheListToAPdf();
    void DemoBank();

private:
    TFrmHall &ShowHall();
    QTableWidget *Grid(const char *name) { return FHall->findChild<QTableWidget *>(name); }
    void SeatThreeCandidates();

    std::unique_ptr<TRoomFixture> FRoom;
    std::unique_ptr<TScriptedMessages> FMessages;
    std::unique_ptr<TFrmHall> FHall;
};

void TestUFrmHall::initTestCase()
{
    InstallChineseFonts();
}

void TestUFrmHall::init()
{
    FRoom = std::make_unique<TRoomFixture>();
    FMessages = std::make_unique<TScriptedMessages>();
}

void TestUFrmHall::cleanup()
{
    FHall.reset();
    FMessages.reset();
    FRoom.reset();
}

TFrmHall &TestUFrmHall::ShowHall()
{
    FHall = std::make_unique<TFrmHall>(DM->ACon, QStringLiteral("第一考场"));
    FHall->Clock = [this] { return FRoom->Now; };
    FHall->show();
    FHall->activateWindow();
    if (!QTest::qWaitForWindowActive(FHall.get()))
        qWarning("the room view did not become active");
    return *FHall;
}

void TestUFrmHall::SeatThreeCandidates()
{
    FRoom->Answer(FRoom->SitDown("seat-01", "王芳", "11010519491231002X"), 8, 7, 2400);
    FRoom->Answer(FRoom->SitDown("seat-02", "李雷", "320102198511200012"), 3, 3, 2600);
    const TSeatPaper done = FRoom->SitDown("seat-03", "Anna Li", "E12345678");
    FRoom->Answer(done, 10, 6, 300);
    FRoom->HandIn(done, 300);
}

void TestUFrmHall::ShowsEverySeatAndFollowsTheRecords()
{
    SeatThreeCandidates();
    TFrmHall &hall = ShowHall();
    QCOMPARE(hall.windowTitle(), QStringLiteral("考场监控 - 第一考场"));
    QCOMPARE(Grid("GridOpen")->rowCount(), 2);
    QCOMPARE(Grid("GridOpen")->item(0, 1)->text(), QStringLiteral("王芳"));
    QCOMPARE(Grid("GridOpen")->item(0, 4)->text(), QStringLiteral("8 / 10"));
    QCOMPARE(Grid("GridFinished")->rowCount(), 1);
    QCOMPARE(Grid("GridFinished")->item(0, 6)->text(), QStringLiteral("不合格"));
    QCOMPARE(Grid("GridFinished")->item(0, 6)->foreground().color(), QColor(Qt::red));
    QCOMPARE(hall.findChild<QLabel *>("LabOpen")->text(), QStringLiteral("正在考试(&K)：2 人"));
    QVERIFY(hall.findChild<QLabel *>("LabStatus")->text().startsWith(QStringLiteral("考场：第一考场")));

    // A seat answers on and another hands in: the next refresh shows it.
    const TSeatPaper late = FRoom->SitDown("seat-04", "张伟", "510107200002294564");
    FRoom->Answer(late, 5, 5, 2500);
    QTRY_COMPARE_WITH_TIMEOUT(Grid("GridOpen")->rowCount(), 3, 4 * TFrmHall::KRefreshMilliseconds);
    QCOMPARE(Grid("GridOpen")->item(2, 4)->text(), QStringLiteral("5 / 10"));
    QCOMPARE(FMessages->Count(), 0);
}

void TestUFrmHall::RefreshKeepsTheSelectedPaper()
{
    SeatThreeCandidates();
    ShowHall();
    QTableWidget *grid = Grid("GridOpen");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(grid->item(grid->currentRow(), 1)->text(), QStringLiteral("李雷"));
    // A new seat sorts in before the selected one.
    FRoom->SitDown("seat-00", "赵敏", "320102198511200012");
    FHall->Refresh();
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(grid->item(grid->currentRow(), 1)->text(), QStringLiteral("李雷"));
}

void TestUFrmHall::AFailedReadIsShownAndTheListStays()
{
    SeatThreeCandidates();
    ShowHall();
    FRoom->Bank().Exec(QStringLiteral("ALTER TABLE T_KS_ExamRecord RENAME TO T_KS_ExamRecordAway"));
    FHall->Refresh();
    auto *status = FHall->findChild<QLabel *>("LabStatus");
    QVERIFY2(status->text().contains(QStringLiteral("读取失败")), qPrintable(status->text()));
    QCOMPARE(Grid("GridOpen")->rowCount(), 2);
    QCOMPARE(FMessages->Count(), 0); // no box every two seconds
    FRoom->Bank().Exec(QStringLiteral("ALTER TABLE T_KS_ExamRecordAway RENAME TO T_KS_ExamRecord"));
    FHall->Refresh();
    QVERIFY(status->text().contains(QStringLiteral("更新于")));
}

void TestUFrmHall::TabGoesThroughTheListsAndButtons()
{
    ShowHall();
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("GridOpen"));
    for (const char *name : {"GridFinished", "BtnExport", "BtnPrint", "BtnClose", "GridOpen"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(name));
        QVERIFY(!QApplication::focusWidget()->accessibleName().isEmpty());
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_J, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("GridFinished"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(!FHall->isVisible()); // a mnemonic clicks the button after its press is drawn
}

void TestUFrmHall::ExportWritesTheListAsCsv()
{
    SeatThreeCandidates();
    ShowHall();
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("hall.csv"));
    QTimer typist;
    connect(&typist, &QTimer::timeout, FHall.get(), [&] {
        auto *files = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        auto *name = files ? files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")) : nullptr;
        if (!name || !name->hasFocus())
            return;
        typist.stop();
        name->clear();
        QTest::keyClicks(name, fileName);
        QTest::keyClick(name, Qt::Key_Return);
    });
    typist.start(20);
    QTest::keyClick(FHall.get(), Qt::Key_E, Qt::AltModifier);
    QTRY_VERIFY(!typist.isActive());
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll().mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines.at(1).startsWith(QStringLiteral("seat-01,王芳,")));
    QVERIFY(lines.at(3).endsWith(QStringLiteral(",60,不合格")));
    QCOMPARE(FMessages->Count(), 1);
    QVERIFY(FMessages->Last().Text.contains(QDir::toNativeSeparators(fileName)));
}

void TestUFrmHall::PrintsTheListToAPdf()
{
    SeatThreeCandidates();
    ShowHall();
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("hall.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    FHall->PrintTo(printer);
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");
    QVERIFY(file.size() > 1000);

    // The print button asks through the print dialog; cancelled, nothing is printed.
    bool asked = false;
    QTimer::singleShot(0, FHall.get(), [&asked] {
        QTRY_VERIFY(qobject_cast<QPrintDialog *>(QApplication::activeModalWidget()));
        asked = true;
        QApplication::activeModalWidget()->close();
    });
    QTest::mouseClick(FHall->findChild<QPushButton *>("BtnPrint"), Qt::LeftButton);
    QVERIFY(asked);
    QTRY_VERIFY(!QApplication::activeModalWidget());
}

void TestUFrmHall::DemoBank()
{
    const QString folder = qEnvironmentVariable("EXAMORA_HALL_DEMO_DIR");
    if (folder.isEmpty())
        QSKIP("set EXAMORA_HALL_DEMO_DIR to write a bank of a busy room there (Data/Jsy_Data.mdb)");
    FRoom->Now = QDateTime::currentDateTime().addSecs(-1800);
    const QStringList names{"王芳", "李雷", "张伟", "刘洋", "陈静", "杨帆", "赵敏", "黄磊", "周杰", "吴倩"};
    const QStringList numbers{"11010519491231002X", "320102198511200012", "510107200002294564",
                              "610102199208152349", "44030419900307123X", "E12345678"};
    for (int seat = 0; seat < names.size(); ++seat) {
        const TSeatPaper paper = FRoom->SitDown(QStringLiteral("seat-%1").arg(seat + 1, 2, 10, QLatin1Char('0')),
                                                names.at(seat), numbers.at(seat % numbers.size()),
                                                QStringLiteral("第一考场"), 100);
        FRoom->Now = FRoom->Now.addSecs(47);
        // The first seats are at work, the last ones have handed in.
        const int answered = seat < 6 ? 25 + seat * 11 : 100;
        FRoom->Answer(paper, answered, answered - 2 - seat % 3 * (seat - 2), 2700 - 240 * seat);
        if (seat >= 6)
            FRoom->HandIn(paper, 900 - seat * 50);
    }
    QDir().mkpath(folder + QStringLiteral("/Data"));
    const QString target = folder + QStringLiteral("/Data/Jsy_Data.mdb");
    QFile::remove(target);
    QVERIFY(QFile::copy(FRoom->Bank().DatabaseFile(), target));
}

QTEST_MAIN(TestUFrmHall)
#include "tst_UFrmHall.moc"
