#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "QVComboBox.h"
#include "TestSupport.h"
#include "UComm.h"
#include "UConnection.h"
#include "UDM.h"
#include "USelLxType.h"

namespace {

template <typename T>
T *Child(QObject *parent, const char *name)
{
    return parent->findChild<T *>(QString::fromLatin1(name));
}

} // namespace

class TestUSelLxType : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void ConfirmAtOnceGivesTheMockExam();
    void ModeRuleSetsBandAndHeight();
    void SetListOfTheLicenceClass();
    void ChosenSetIsStoredWithLeadingZero();
    void SwitchingModesLosesTheChoice();
    void EmptySetList();
    void ChapterListShowsNamesStoresNumbers();
    void ManySetsShowTheSelectionButton();
    void FailingStatementLeavesTheDialogUsable();
    void CancelLeavesTheRunValuesEmpty();
    void RestoredAfterMinimisingKeepsTheChoice();
    void ControlsStayInsideTheirFrames_data();
    void ControlsStayInsideTheirFrames();

private:
    void ShowDialog();
    void AddSet(int themeId, const QVariant &tt, int chapter = 1);

    std::unique_ptr<TTestBank> FBank;
    std::unique_ptr<TFrmSelLxType> FDialog;
    std::unique_ptr<TScriptedMessages> FMessages;
    TQVComboBox *FCombo = nullptr;
};

void TestUSelLxType::init()
{
    FBank = std::make_unique<TTestBank>();
    FMessages = std::make_unique<TScriptedMessages>();
    RunContext = TRunContext();
    RunContext.DriveTypeCode = QStringLiteral("001");
    RunContext.ChapterFilter = QStringLiteral("THEMECHAPTER in (1)");
    RunContext.PracticeMode = QStringLiteral("stale");
    RunContext.PracticeScope = QStringLiteral("stale");
}

void TestUSelLxType::cleanup()
{
    FDialog.reset();
    FMessages.reset();
    FBank.reset();
    RunContext = TRunContext();
}

void TestUSelLxType::ShowDialog()
{
    FDialog = std::make_unique<TFrmSelLxType>();
    FDialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(FDialog.get()));
    FCombo = Child<TQVComboBox>(FDialog.get(), "QVComboBox1");
}

void TestUSelLxType::AddSet(int themeId, const QVariant &tt, int chapter)
{
    FBank->AddTheme(themeId, {{QStringLiteral("TT"), tt}, {QStringLiteral("ThemeChapter"), chapter}});
}

void TestUSelLxType::ConfirmAtOnceGivesTheMockExam()
{
    // No database is needed for the mock exam.
    DM->ACon->Close();
    ShowDialog();
    QVERIFY(RunContext.PracticeMode.isEmpty());
    QVERIFY(Child<QRadioButton>(FDialog.get(), "RadioButton3")->isChecked());
    Child<QPushButton>(FDialog.get(), "BitBtn1")->click();
    QCOMPARE(FDialog->result(), 1);
    QCOMPARE(RunContext.PracticeMode, QStringLiteral("3"));
    QCOMPARE(RunContext.PracticeScope, QString());
    QCOMPARE(FMessages->Count(), 0);
}

void TestUSelLxType::ModeRuleSetsBandAndHeight()
{
    ShowDialog();
    auto *band = Child<QGroupBox>(FDialog.get(), "GroupBox2");
    const int nonClient = TFrmSelLxType::KPracticeHeight - TFrmSelLxType::KMockExamHeight;
    QVERIFY(band->isHidden());
    const int mockHeight = FDialog->height();
    QCOMPARE(FDialog->width(), 352);
    Child<QRadioButton>(FDialog.get(), "RadioButton1")->click();
    QVERIFY(band->isVisible());
    QCOMPARE(band->title(), QStringLiteral(" 套题信息 "));
    QCOMPARE(Child<QLabel>(FDialog.get(), "Label1")->text(), QStringLiteral("选择套题："));
    QCOMPARE(FDialog->height() - mockHeight, nonClient);
    QCOMPARE(FDialog->height(), TFrmSelLxType::KPracticeHeight - 34);
    Child<QRadioButton>(FDialog.get(), "RadioButton2")->click();
    QCOMPARE(band->title(), QStringLiteral(" 章节信息 "));
    QCOMPARE(Child<QLabel>(FDialog.get(), "Label1")->text(), QStringLiteral("选择章节："));
    Child<QRadioButton>(FDialog.get(), "RadioButton3")->click();
    QVERIFY(band->isHidden());
    QCOMPARE(FDialog->height(), mockHeight);
}

void TestUSelLxType::SetListOfTheLicenceClass()
{
    AddSet(1, QStringLiteral("2"));
    AddSet(2, QStringLiteral("12"));
    AddSet(3, QStringLiteral("1"));
    AddSet(4, QStringLiteral("2"));
    AddSet(5, QVariant());
    AddSet(6, QStringLiteral(""));      // lets the statement through, but is no set
    AddSet(7, QStringLiteral("9"), 20); // a safety chapter
    ShowDialog();
    Child<QRadioButton>(FDialog.get(), "RadioButton1")->click();
    QCOMPARE(FCombo->Items(), (QStringList{"1", "12", "2"}));
    QCOMPARE(FCombo->ValueItems(), (QStringList{"1", "12", "2"}));
    QCOMPARE(FCombo->ItemIndex(), -1);

    RunContext.DriveTypeCode = QStringLiteral("103");
    Child<QRadioButton>(FDialog.get(), "RadioButton3")->click();
    Child<QRadioButton>(FDialog.get(), "RadioButton1")->click();
    QCOMPARE(RunContext.ChapterFilter, QStringLiteral("THEMECHAPTER in (20,21,22,23,24,25,26)"));
    QCOMPARE(FCombo->Items(), QStringList{"9"});
}

void TestUSelLxType::ChosenSetIsStoredWithLeadingZero()
{
    AddSet(1, QStringLiteral("5"));
    AddSet(2, QStringLiteral("12"));
    ShowDialog();
    Child<QRadioButton>(FDialog.get(), "RadioButton1")->click();
    FCombo->SetItemIndex(int(FCombo->Items().indexOf(QStringLiteral("5"))));
    Child<QPushButton>(FDialog.get(), "BitBtn1")->click();
    QCOMPARE(FDialog->result(), 1);
    QCOMPARE(RunContext.PracticeMode, QStringLiteral("1"));
    QCOMPARE(RunContext.PracticeScope, QStringLiteral("05"));

    ShowDialog();
    Child<QRadioButton>(FDialog.get(), "RadioButton1")->click();
    FCombo->SetItemIndex(int(FCombo->Items().indexOf(QStringLiteral("12"))));
    Child<QPushButton>(FDialog.get(), "BitBtn1")->click();
    QCOMPARE(RunContext.PracticeScope, QStringLiteral("12"));
}

void TestUSelLxType::SwitchingModesLosesTheChoice()
{
    AddSet(1, QStringLiteral("3"));
    ShowDialog();
    Child<QRadioButton>(FDialog.get(), "RadioButton1")->click();
    FCombo->SetItemIndex(0);
    Child<QRadioButton>(FDialog.get(), "RadioButton2")->click();
    Child<QRadioButton>(FDialog.get(), "RadioButton1")->click();
    Child<QPushButton>(FDialog.get(), "BitBtn1")->click();
    QCOMPARE(FMessages->Count(), 1);
    QCOMPARE(FMessages->Last().Text, QStringLiteral("请选择套题！"));
    QCOMPARE(FMessages->Last().Caption, QStringLiteral("提示"));
    QVERIFY(FDialog->isVisible());
    QVERIFY(RunContext.PracticeMode.isEmpty());
}

void TestUSelLxType::EmptySetList()
{
    AddSet(1, QVariant());
    ShowDialog();
    Child<QRadioButton>(FDialog.get(), "RadioButton1")->click();
    QCOMPARE(FCombo->count(), 0);
    Child<QPushButton>(FDialog.get(), "BitBtn1")->click();
    QCOMPARE(FMessages->Last().Text, QStringLiteral("请选择套题！"));
    QVERIFY(FDialog->isVisible());
}

void TestUSelLxType::ChapterListShowsNamesStoresNumbers()
{
    FBank->Exec(QStringLiteral("INSERT INTO T_KS_CHAPTER VALUES (1, '道路交通安全法律法规')"));
    FBank->Exec(QStringLiteral("INSERT INTO T_KS_CHAPTER VALUES (21, '安全文明驾驶')"));
    ShowDialog();
    Child<QRadioButton>(FDialog.get(), "RadioButton2")->click();
    QCOMPARE(FCombo->Items(), QStringList{QStringLiteral("道路交通安全法律法规")});
    Child<QPushButton>(FDialog.get(), "BitBtn1")->click();
    QCOMPARE(FMessages->Last().Text, QStringLiteral("请选择章节！"));
    FCombo->SetItemIndex(0);
    Child<QPushButton>(FDialog.get(), "BitBtn1")->click();
    QCOMPARE(RunContext.PracticeMode, QStringLiteral("2"));
    QCOMPARE(RunContext.PracticeScope, QStringLiteral("1"));
}

void TestUSelLxType::ManySetsShowTheSelectionButton()
{
    for (int i = 1; i <= 21; ++i)
        AddSet(i, QString::number(i));
    ShowDialog();
    Child<QRadioButton>(FDialog.get(), "RadioButton1")->click();
    QCOMPARE(FCombo->count(), 21);
    QTRY_VERIFY(FCombo->EditShowing());
    QVERIFY(Child<QLineEdit>(FDialog.get(), "QVComboBox1Edit")->isVisible());
    // Back to a short list: the plain drop-down list again.
    FBank->Exec(QStringLiteral("DELETE FROM T_KS_THEME WHERE ThemeID > 3"));
    Child<QRadioButton>(FDialog.get(), "RadioButton3")->click();
    Child<QRadioButton>(FDialog.get(), "RadioButton1")->click();
    QTRY_VERIFY(!FCombo->EditShowing());
}

void TestUSelLxType::FailingStatementLeavesTheDialogUsable()
{
    FBank->Exec(QStringLiteral("DROP TABLE T_KS_CHAPTER"));
    ShowDialog();
    Child<QRadioButton>(FDialog.get(), "RadioButton2")->click();
    QCOMPARE(FMessages->Count(), 1);
    QCOMPARE(FMessages->Last().Caption, QStringLiteral("Examora"));
    QCOMPARE(FCombo->count(), 0);
    Child<QRadioButton>(FDialog.get(), "RadioButton3")->click();
    Child<QPushButton>(FDialog.get(), "BitBtn1")->click();
    QCOMPARE(FDialog->result(), 1);
    QCOMPARE(RunContext.PracticeMode, QStringLiteral("3"));
}

void TestUSelLxType::CancelLeavesTheRunValuesEmpty()
{
    AddSet(1, QStringLiteral("4"));
    ShowDialog();
    Child<QRadioButton>(FDialog.get(), "RadioButton1")->click();
    FCombo->SetItemIndex(0);
    Child<QPushButton>(FDialog.get(), "BitBtn2")->click();
    QCOMPARE(FDialog->result(), 2);
    QVERIFY(RunContext.PracticeMode.isEmpty());
    QVERIFY(RunContext.PracticeScope.isEmpty());
}

void TestUSelLxType::RestoredAfterMinimisingKeepsTheChoice()
{
    AddSet(1, QStringLiteral("3"));
    AddSet(2, QStringLiteral("7"));
    ShowDialog();
    QTest::mouseClick(Child<QRadioButton>(FDialog.get(), "RadioButton1"), Qt::LeftButton);
    FCombo->SetItemIndex(1);
    const int practiceHeight = FDialog->height();
    FDialog->hide();
    FDialog->showMinimized();
    FDialog->showNormal();
    QVERIFY(QTest::qWaitForWindowExposed(FDialog.get()));
    QVERIFY(Child<QRadioButton>(FDialog.get(), "RadioButton1")->isChecked());
    QVERIFY(Child<QGroupBox>(FDialog.get(), "GroupBox2")->isVisible());
    QCOMPARE(FDialog->height(), practiceHeight);
    QCOMPARE(FCombo->Items(), (QStringList{"3", "7"}));
    QCOMPARE(FCombo->ItemIndex(), 1);
    QTest::mouseClick(Child<QPushButton>(FDialog.get(), "BitBtn1"), Qt::LeftButton);
    QCOMPARE(FMessages->Count(), 0);
    QCOMPARE(FDialog->result(), 1);
    QCOMPARE(RunContext.PracticeMode, QStringLiteral("1"));
    QCOMPARE(RunContext.PracticeScope, QStringLiteral("07"));
}

void TestUSelLxType::ControlsStayInsideTheirFrames_data()
{
    QTest::addColumn<int>("sets");
    QTest::newRow("plain list") << 3;
    QTest::newRow("selection edit of a long list") << 25;
}

void TestUSelLxType::ControlsStayInsideTheirFrames()
{
    QFETCH(int, sets);
    for (int set = 1; set <= sets; ++set)
        AddSet(set, set);
    ShowDialog();
    QTest::mouseClick(Child<QRadioButton>(FDialog.get(), "RadioButton1"), Qt::LeftButton);
    QTRY_COMPARE(FCombo->EditShowing(), sets > 20);
    const auto inside = [](QGroupBox *box, QWidget *control) {
        const QRect place(control->mapTo(box, QPoint(0, 0)), control->size());
        return box->contentsRect().contains(place);
    };
    auto *modes = Child<QGroupBox>(FDialog.get(), "GroupBox1");
    for (const char *name : {"RadioButton1", "RadioButton2", "RadioButton3"})
        QVERIFY2(inside(modes, Child<QWidget>(FDialog.get(), name)), name);
    auto *band = Child<QGroupBox>(FDialog.get(), "GroupBox2");
    QVERIFY(inside(band, Child<QLabel>(FDialog.get(), "Label1")));
    QVERIFY(inside(band, sets > 20 ? static_cast<QWidget *>(FCombo->OverlayEdit()) : FCombo));
    // The design's places are kept: only the frame moved.
    QCOMPARE(FCombo->geometry(), QRect(94, 14, 243, 21));
    QCOMPARE(Child<QLabel>(FDialog.get(), "Label1")->pos(), QPoint(32, 18));
}

QTEST_MAIN(TestUSelLxType)
#include "tst_USelLxType.moc"
