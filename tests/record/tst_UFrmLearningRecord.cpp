#include <QApplication>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "RecordFixture.h"
#include "UApplication.h"
#include "UDM.h"
#include "UFrmLearningRecord.h"
#include "URecordBook.h"

namespace {

const QString KCaption = QStringLiteral("小型汽车（C1、C2、C3）");

} // namespace

class TestUFrmLearningRecord : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void ListShowsThePapersNewestFirst();
    void NoRecordsYet();
    void DamagedRecordsAreListedAsStored();
    void WrongPracticeByMouseAndByKey();
    void FiveMockExamsPassedEmptyTheBook();
    void EscapeAndCloseButtonClose();
    void TabOrderAndMnemonics();
    void ExportWritesTheListWithBom();
    void Screenshot();

private:
    // Twelve papers: eight mock exams, two set and one chapter practice, one open.
    void WriteTwelvePapers();
    TFrmLearningRecord &ShowDialog();
    void SendKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    std::unique_ptr<TRecordFixture> FFixture;
    std::unique_ptr<TScriptedMessages> FMessages;
    std::unique_ptr<TFrmLearningRecord> FDialog;
};

void TestUFrmLearningRecord::initTestCase()
{
    InstallChineseFonts();
}

void TestUFrmLearningRecord::init()
{
    FFixture = std::make_unique<TRecordFixture>();
    FMessages = std::make_unique<TScriptedMessages>();
    FFixture->Bank().Exec(QStringLiteral("insert into T_KS_CHAPTER values (1, '道路交通安全法律、法规和规章'), "
                                         "(2, '道路交通信号及其含义')"));
}

void TestUFrmLearningRecord::cleanup()
{
    FDialog.reset();
    FMessages.reset();
    FFixture.reset();
}

void TestUFrmLearningRecord::WriteTwelvePapers()
{
    // The book holds only questions of the class's chapters still in the bank.
    for (int themeId = 1; themeId <= 30; ++themeId)
        FFixture->Bank().AddTheme(themeId, {{"ThemeChapter", 1 + themeId % 2}});
    for (const int score : {60, 70, 80, 80})
        FFixture->SitMockExam(score);
    FFixture->SitPaper("1", "03", {{21, "1", "1", 1, 2, 1}, {22, "2", "1", 1, 1, 1}, {23, "13", "13", 2, 3, 1}});
    FFixture->SitPaper("2", "2", {{24, "1", "1", 2, 2, 1}, {25, "", "1", 2, 1, 1}});
    for (const int score : {90, 100, 100, 90})
        FFixture->SitMockExam(score);
    FFixture->SitPaper("1", "04", {{26, "1", "1", 1, 2, 1}});
    FFixture->StorePaper("3", "", 99, {{27, "", "1", 1, 2, 10}});
}

TFrmLearningRecord &TestUFrmLearningRecord::ShowDialog()
{
    FDialog = std::make_unique<TFrmLearningRecord>("001", KCaption, "THEMECHAPTER in (1,2)");
    FDialog->show();
    FDialog->activateWindow();
    if (!QTest::qWaitForWindowActive(FDialog.get()))
        QTest::qFail("the window did not become active", __FILE__, __LINE__);
    return *FDialog;
}

void TestUFrmLearningRecord::SendKey(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    QTest::keyClick(target, key, modifiers);
}

void TestUFrmLearningRecord::ListShowsThePapersNewestFirst()
{
    WriteTwelvePapers();
    TFrmLearningRecord &dialog = ShowDialog();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("学习记录"));
    QCOMPARE(dialog.findChild<QLabel *>("LabClass")->text(), QStringLiteral("驾驶类型：") + KCaption);
    auto *grid = dialog.findChild<QTableWidget *>("GridPapers");
    QCOMPARE(grid->rowCount(), 12);
    QCOMPARE(grid->columnCount(), 9);
    QStringList header;
    for (int column = 0; column < grid->columnCount(); ++column)
        header << grid->horizontalHeaderItem(column)->text();
    QCOMPARE(header.join('|'), QStringLiteral("时间|方式|套题/章节|题数|答对|答错|得分|结论|状态"));
    auto rowText = [grid](int row) {
        QStringList cells;
        for (int column = 0; column < grid->columnCount(); ++column)
            cells << grid->item(row, column)->text();
        return cells.join('|');
    };
    QCOMPARE(rowText(0), QStringLiteral("2026-11-02 09:23|模拟考试||1|||||未交卷"));
    QCOMPARE(rowText(1), QStringLiteral("2026-11-02 09:21|套题练习|04|1|1|0|1||已交卷"));
    QCOMPARE(rowText(2), QStringLiteral("2026-11-02 09:19|模拟考试||10|9|1|90|合格|已交卷"));
    QCOMPARE(rowText(6), QStringLiteral("2026-11-02 09:11|章节练习|道路交通信号及其含义|2|1|1|1||已交卷"));
    QCOMPARE(rowText(11), QStringLiteral("2026-11-02 09:01|模拟考试||10|6|4|60|不合格|已交卷"));
    for (int row = 1; row < grid->rowCount(); ++row)
        QVERIFY(grid->item(row - 1, 0)->text() > grid->item(row, 0)->text());
    QCOMPARE(grid->item(11, 7)->foreground().color(), QColor(Qt::red));

    QCOMPARE(dialog.findChild<QLabel *>("LabReadiness")->text(),
             QStringLiteral("最近 5 次模拟考试平均 92 分，合格 4 次"));
    const std::size_t book = ReadWrongBook(DM->ACon, "001", "THEMECHAPTER in (1,2)").size();
    QVERIFY(book > 0);
    QCOMPARE(dialog.findChild<QLabel *>("LabBook")->text(), QStringLiteral("错题本：%1 题").arg(book));
    QCOMPARE(dialog.WrongBookCount(), int(book));

    // The chart: the pass line and one point per handed-in mock exam.
    QChart *chart = dialog.findChild<QChartView *>("ChartScores")->chart();
    QCOMPARE(chart->series().size(), 2);
    auto *scores = qobject_cast<QLineSeries *>(chart->series().at(1));
    QCOMPARE(scores->count(), 8);
    QCOMPARE(scores->at(0).y(), 60.0);
    QCOMPARE(scores->at(7).y(), 90.0);
    auto *passLine = qobject_cast<QLineSeries *>(chart->series().at(0));
    QCOMPARE(passLine->name(), QStringLiteral("合格线 90 分"));
    QCOMPARE(passLine->at(0).y(), 90.0);

    auto *chapters = dialog.findChild<QTableWidget *>("GridChapters");
    QCOMPARE(chapters->rowCount(), 2);
    QCOMPARE(chapters->item(0, 0)->text(), QStringLiteral("道路交通安全法律、法规和规章"));
    auto *types = dialog.findChild<QTableWidget *>("GridTypes");
    QCOMPARE(types->rowCount(), 3);
    QCOMPARE(types->item(2, 0)->text(), QStringLiteral("多选"));
    QCOMPARE(types->item(2, 3)->text(), QStringLiteral("100%"));
}

void TestUFrmLearningRecord::NoRecordsYet()
{
    TFrmLearningRecord &dialog = ShowDialog();
    QCOMPARE(dialog.findChild<QTableWidget *>("GridPapers")->rowCount(), 0);
    QCOMPARE(dialog.findChild<QLabel *>("LabReadiness")->text(), QStringLiteral("还没有模拟考试记录"));
    QCOMPARE(dialog.findChild<QLabel *>("LabBook")->text(), QStringLiteral("错题本：0 题"));
    QVERIFY(!dialog.findChild<QPushButton *>("BtnWrongPractice")->isEnabled());
    QCOMPARE(FMessages->Count(), 0);
}

void TestUFrmLearningRecord::DamagedRecordsAreListedAsStored()
{
    FFixture->SitMockExam(90);
    FFixture->Bank().Exec("insert into T_KS_ExamRecord (DriveTypeCode, PracticeMode, StartedAt, QuestionCount, Score, "
                          "Passed, Status) values ('001', '7', NULL, 'zehn', -5, 'ja', 'handed-in')");
    TFrmLearningRecord &dialog = ShowDialog();
    auto *grid = dialog.findChild<QTableWidget *>("GridPapers");
    QCOMPARE(grid->rowCount(), 2);
    QStringList cells;
    for (int column = 0; column < grid->columnCount(); ++column)
        cells << grid->item(0, column)->text();
    QCOMPARE(cells.join('|'), QStringLiteral("|7||zehn|||-5|ja|已交卷"));
    QCOMPARE(dialog.findChild<QLabel *>("LabReadiness")->text(),
             QStringLiteral("最近 1 次模拟考试平均 90 分，合格 1 次"));
    QCOMPARE(FMessages->Count(), 0);
}

void TestUFrmLearningRecord::WrongPracticeByMouseAndByKey()
{
    WriteTwelvePapers();
    {
        TFrmLearningRecord &dialog = ShowDialog();
        auto *button = dialog.findChild<QPushButton *>("BtnWrongPractice");
        QVERIFY(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), TFrmLearningRecord::KStartWrongPractice);
    }
    TFrmLearningRecord &dialog = ShowDialog();
    SendKey(Qt::Key_W, Qt::AltModifier);
    QTRY_VERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), TFrmLearningRecord::KStartWrongPractice);
}

void TestUFrmLearningRecord::FiveMockExamsPassedEmptyTheBook()
{
    FFixture->SitMockExam(60);
    for (int exam = 0; exam < 5; ++exam)
        FFixture->SitMockExam(100);
    TFrmLearningRecord &dialog = ShowDialog();
    QCOMPARE(dialog.findChild<QLabel *>("LabReadiness")->text(),
             QStringLiteral("最近 5 次模拟考试平均 100 分，合格 5 次。最近 5 次模拟考试全部合格，可以参加正式考试了。"));
    QVERIFY(!dialog.findChild<QPushButton *>("BtnWrongPractice")->isEnabled());
    SendKey(Qt::Key_W, Qt::AltModifier);
    QTest::qWait(300); // a mnemonic clicks after a short animation
    QVERIFY(dialog.isVisible());
}

void TestUFrmLearningRecord::EscapeAndCloseButtonClose()
{
    {
        // Shown as the caller shows it: Esc is Cancel.
        TFrmLearningRecord dialog("001", KCaption, QString());
        QTimer::singleShot(0, &dialog, [&] {
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            SendKey(Qt::Key_Escape);
        });
        QCOMPARE(ExecModal(dialog), 2);
    }
    {
        TFrmLearningRecord &dialog = ShowDialog();
        SendKey(Qt::Key_C, Qt::AltModifier);
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), 2);
    }
    TFrmLearningRecord &dialog = ShowDialog();
    QTest::mouseClick(dialog.findChild<QPushButton *>("BtnClose"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), 2);
}

void TestUFrmLearningRecord::TabOrderAndMnemonics()
{
    WriteTwelvePapers();
    TFrmLearningRecord &dialog = ShowDialog();
    QCOMPARE(QApplication::focusWidget(), dialog.findChild<QWidget *>("GridPapers"));
    for (const char *name : {"GridChapters", "GridTypes", "BtnWrongPractice", "BtnExport", "BtnClose", "GridPapers"}) {
        SendKey(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(name));
    }
    SendKey(Qt::Key_H, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("GridChapters"));
    SendKey(Qt::Key_T, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("GridTypes"));
    SendKey(Qt::Key_L, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("GridPapers"));
    // The arrow keys move through the list without leaving it.
    SendKey(Qt::Key_Down);
    QCOMPARE(dialog.findChild<QTableWidget *>("GridPapers")->currentRow(), 1);
}

void TestUFrmLearningRecord::ExportWritesTheListWithBom()
{
    WriteTwelvePapers();
    TFrmLearningRecord &dialog = ShowDialog();
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("record.csv")); // keys type ASCII only
    // Types into the save dialog as a person would: the name, then Enter or Esc.
    auto answerSaveDialog = [&](const QString &typed) {
        QTimer typist;
        connect(&typist, &QTimer::timeout, &dialog, [&] {
            auto *files = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            auto *name = files ? files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")) : nullptr;
            if (!name || !name->hasFocus())
                return;
            typist.stop();
            if (typed.isEmpty()) {
                QTest::keyClick(name, Qt::Key_Escape);
                return;
            }
            name->clear();
            QTest::keyClicks(name, typed);
            QTest::keyClick(name, Qt::Key_Return);
        });
        typist.start(20);
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        SendKey(Qt::Key_E, Qt::AltModifier);
        QTRY_VERIFY(!typist.isActive());
        QTRY_VERIFY(!QApplication::activeModalWidget());
    };

    answerSaveDialog(QString());
    QVERIFY(!QFile::exists(fileName));
    QCOMPARE(FMessages->Count(), 0);

    answerSaveDialog(fileName);
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 13);
    QCOMPARE(lines.at(0), QStringLiteral("时间,方式,套题/章节,题数,答对,答错,得分,结论,状态"));
    QCOMPARE(lines.at(12), QStringLiteral("2026-11-02 09:01,模拟考试,,10,6,4,60,不合格,已交卷"));
    QCOMPARE(FMessages->Count(), 1);
    QVERIFY(FMessages->Last().Text.contains(QDir::toNativeSeparators(fileName)));
    QVERIFY(dialog.isVisible());
}

void TestUFrmLearningRecord::Screenshot()
{
    const QString folder = qEnvironmentVariable("EXAMORA_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("set EXAMORA_SCREENSHOT_DIR to save a picture of the window");
    // Papers half a day apart, as a learner's weeks of practice look.
    QDateTime now(QDate(2026, 11, 2), QTime(8, 30));
    FFixture->Store().Clock = [&now] { return now = now.addSecs(6 * 3600); };
    WriteTwelvePapers();
    TFrmLearningRecord &dialog = ShowDialog();
    QTest::qWait(200);
    const QString fileName = QDir(folder).filePath(QStringLiteral("record-window.png"));
    QVERIFY(dialog.grab().save(fileName));
}

QTEST_MAIN(TestUFrmLearningRecord)
#include "tst_UFrmLearningRecord.moc"
