#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "RecordFixture.h"
#include "UComm.h"
#include "UFrmLearningRecord.h"
#include "USelLxType.h"

// The practice-mode dialog's way into the learning record: the button in
// the band, the window it opens and wrong-answer practice started there.

namespace {

template <typename T>
T *Child(QObject *parent, const char *name)
{
    return parent->findChild<T *>(QString::fromLatin1(name));
}

} // namespace

class TestUSelLxTypeRecord : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void ButtonTakesTheEmptyLeftOfTheBand();
    void ButtonOpensTheRecordOfTheClass();
    void WrongPracticeStartsFromTheRecord();
    void Screenshot();

private:
    void ShowDialog();
    // Clicks the button; inside the modal record window runs what the test does there.
    void OpenRecord(const std::function<void(TFrmLearningRecord &)> &inside);

    std::unique_ptr<TRecordFixture> FRecord;
    std::unique_ptr<TScriptedMessages> FMessages;
    std::unique_ptr<TFrmSelLxType> FDialog;
};

void TestUSelLxTypeRecord::init()
{
    FRecord = std::make_unique<TRecordFixture>();
    FMessages = std::make_unique<TScriptedMessages>();
    RunContext = TRunContext();
    RunContext.DriveTypeCode = QStringLiteral("001");
    RunContext.DriveTypeCaption = QStringLiteral("小型汽车");
    for (int themeId = 1; themeId <= 3; ++themeId)
        FRecord->Bank().AddTheme(themeId);
}

void TestUSelLxTypeRecord::cleanup()
{
    FDialog.reset();
    FMessages.reset();
    FRecord.reset();
    RunContext = TRunContext();
}

void TestUSelLxTypeRecord::ShowDialog()
{
    FDialog = std::make_unique<TFrmSelLxType>();
    FDialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(FDialog.get()));
}

void TestUSelLxTypeRecord::OpenRecord(const std::function<void(TFrmLearningRecord &)> &inside)
{
    bool seen = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        auto *record = qobject_cast<TFrmLearningRecord *>(QApplication::activeModalWidget());
        if (!record || seen)
            return;
        seen = true;
        inside(*record);
    });
    poll.start(20);
    QTest::mouseClick(Child<QPushButton>(FDialog.get(), "BitBtn3"), Qt::LeftButton);
    QVERIFY(seen);
}

void TestUSelLxTypeRecord::ButtonTakesTheEmptyLeftOfTheBand()
{
    ShowDialog();
    auto *record = Child<QPushButton>(FDialog.get(), "BitBtn3");
    QVERIFY(record);
    QCOMPARE(record->text(), QStringLiteral("学习记录(&R)"));
    QVERIFY(record->isVisible());
    auto *ok = Child<QPushButton>(FDialog.get(), "BitBtn1");
    auto *cancel = Child<QPushButton>(FDialog.get(), "BitBtn2");
    auto *band = Child<QFrame>(FDialog.get(), "Panel1");
    QCOMPARE(record->parentWidget(), band);
    // Every control of the dialog stands where it stood before the button came.
    const auto checkPlaces = [&](int bandTop, int height) {
        QCOMPARE(FDialog->size(), QSize(352, height));
        QCOMPARE(band->geometry(), QRect(0, bandTop, 352, height - bandTop));
        QCOMPARE(ok->geometry(), QRect(158, 6, 83, 28));
        QCOMPARE(cancel->geometry(), QRect(251, 6, 83, 28));
        QCOMPARE(Child<QGroupBox>(FDialog.get(), "GroupBox1")->geometry(), QRect(0, 0, 352, 49));
        QCOMPARE(Child<QRadioButton>(FDialog.get(), "RadioButton1")->pos(), QPoint(18, 22));
        QCOMPARE(Child<QRadioButton>(FDialog.get(), "RadioButton2")->pos(), QPoint(125, 22));
        QCOMPARE(Child<QRadioButton>(FDialog.get(), "RadioButton3")->pos(), QPoint(232, 22));
        QVERIFY(record->geometry().right() < ok->geometry().left());
        QVERIFY(band->rect().contains(record->geometry()));
    };
    checkPlaces(49, TFrmSelLxType::KMockExamHeight - 34);
    Child<QRadioButton>(FDialog.get(), "RadioButton1")->click();
    checkPlaces(94, TFrmSelLxType::KPracticeHeight - 34);
    QCOMPARE(Child<QGroupBox>(FDialog.get(), "GroupBox2")->geometry(), QRect(0, 49, 352, 45));
    // Its caption names the whole text of the button.
    QVERIFY(record->sizeHint().width() <= record->width());
    // Enter still confirms the dialog, not the record.
    QVERIFY(ok->isDefault());
    QVERIFY(!record->isDefault());
}

void TestUSelLxTypeRecord::ButtonOpensTheRecordOfTheClass()
{
    FRecord->SitMockExam(80);
    RunContext.DriveTypeCode = QStringLiteral("001");
    ShowDialog();
    QString classLine;
    int papers = -1;
    Qt::WindowModality modality = Qt::NonModal;
    OpenRecord([&](TFrmLearningRecord &record) {
        classLine = Child<QLabel>(&record, "LabClass")->text();
        papers = record.findChild<QWidget *>(QStringLiteral("GridPapers"))->property("rowCount").toInt();
        modality = record.windowModality();
        QTest::keyClick(&record, Qt::Key_Escape);
    });
    QCOMPARE(classLine, QStringLiteral("驾驶类型：小型汽车"));
    QCOMPARE(papers, 1);
    QVERIFY(modality != Qt::NonModal);
    // Closed without a choice, the record leaves the dialog as it was.
    QVERIFY(FDialog->isVisible());
    QCOMPARE(RunContext.PracticeMode, QString());
    QCOMPARE(FMessages->Count(), 0);
}

void TestUSelLxTypeRecord::WrongPracticeStartsFromTheRecord()
{
    FRecord->SitPaper(QStringLiteral("3"), QString(), {{1, QStringLiteral("2")}, {2, QStringLiteral("1")}});
    ShowDialog();
    Child<QRadioButton>(FDialog.get(), "RadioButton1")->click();
    int bookCount = 0;
    OpenRecord([&](TFrmLearningRecord &record) {
        bookCount = record.WrongBookCount();
        auto *start = Child<QPushButton>(&record, "BtnWrongPractice");
        QVERIFY(start->isEnabled());
        QTest::mouseClick(start, Qt::LeftButton);
    });
    QCOMPARE(bookCount, 1);
    QCOMPARE(FDialog->result(), 1);
    QVERIFY(!FDialog->isVisible());
    QCOMPARE(RunContext.PracticeMode, QStringLiteral("4"));
    QCOMPARE(RunContext.PracticeScope, QString());
    QVERIFY(!RunContext.ChapterFilter.isEmpty());
}

void TestUSelLxTypeRecord::Screenshot()
{
    const QString folder = qEnvironmentVariable("EXAMORA_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("set EXAMORA_SCREENSHOT_DIR to save a picture of the dialog");
    ShowDialog();
    QVERIFY(FDialog->grab().save(QDir(folder).filePath(QStringLiteral("practice-dialog-mock.png"))));
    Child<QRadioButton>(FDialog.get(), "RadioButton1")->click();
    QTest::qWait(100);
    QVERIFY(FDialog->grab().save(QDir(folder).filePath(QStringLiteral("practice-dialog.png"))));
}

QTEST_MAIN(TestUSelLxTypeRecord)
#include "tst_USelLxTypeRecord.moc"
