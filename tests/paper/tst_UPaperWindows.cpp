#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

#include "PaperTestSupport.h"
#include "TestSupport.h"
#include "UApplication.h"
#include "UBarStepper.h"
#include "UComm.h"
#include "UPaperLoad.h"
#include "UPaperStore.h"
#include "UProgess.h"
#include "UQuery.h"

// The paper's logic shown by its windows: the progress bar and window of
// the copying, and a paper loaded as the exam screen loads it.
class TestUPaperWindows : public TPaperBankTest
{
    Q_OBJECT

private slots:
    void initTestCase() { InstallChineseFonts(); }
    void ProgressBarShowsFirstAndLastStep();
    void ProgressWindowShowsWhileCopying();
    void LoadPaperMockExam_data();
    void LoadPaperMockExam();
    void FailuresAreShownInAnErrorBox_data();
    void FailuresAreShownInAnErrorBox();
};

void TestUPaperWindows::ProgressBarShowsFirstAndLastStep()
{
    QProgressBar bar;
    bar.setRange(0, 500);
    bar.setValue(0);
    TBarStepper stepper(&bar);
    stepper.StepIt();
    QCOMPARE(bar.value(), 1);
    for (int step = 2; step <= 499; ++step)
        stepper.StepIt();
    QCOMPARE(stepper.Position(), 499);
    QVERIFY(bar.value() <= 499);
    stepper.StepIt();
    stepper.StepIt(); // beyond the end the bar stays full
    QCOMPARE(bar.value(), 500);
    QCOMPARE(stepper.Position(), 500);
}

void TestUPaperWindows::ProgressWindowShowsWhileCopying()
{
    for (int id = 1; id <= 3; ++id)
        FBank->AddTheme(id);
    WriteThemeCfgText(DrawnPaper({1, 2, 3}));
    bool seen = false;
    QTimer::singleShot(0, this, [&seen] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *progress = qobject_cast<TFrmProgess *>(window);
            if (!progress || !progress->isVisible())
                continue;
            seen = true;
            QCOMPARE(progress->windowTitle(), QStringLiteral("正在保存数据……"));
            QCOMPARE(progress->size(), QSize(540, 31));
            QVERIFY(!progress->isModal());
            QVERIFY(progress->windowFlags() & Qt::WindowStaysOnTopHint);
            QVERIFY(!(progress->windowFlags() & Qt::WindowCloseButtonHint));
            QCOMPARE(progress->ProgressBar1->maximum(), 3);
            QCOMPARE(progress->ProgressBar1->value(), 1);
            progress->close(); // cannot be closed
            QVERIFY(progress->isVisible());
            QDir().mkpath(QStringLiteral("/work/shots"));
            progress->grab().save(QStringLiteral("/work/shots/paper-progess.png"));
        }
    });
    TPaperStore store(TPaperRequest::OfRun());
    TSaveProgressWindow progress;
    QVERIFY(store.SavePaper(progress));
    QVERIFY(seen);
}

void TestUPaperWindows::LoadPaperMockExam_data()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("mode 3") << "3";
    QTest::newRow("empty mode") << "";
    QTest::newRow("mode 0") << "0";
}

void TestUPaperWindows::LoadPaperMockExam()
{
    QFETCH(QString, mode);
    const QByteArray picture(2000, '\x33');
    for (int id = 1; id <= 12; ++id)
        FBank->AddTheme(id,
                        {{QStringLiteral("ThemeType"), 1 + id % 2},
                         {QStringLiteral("ThemeImage"), id == 4 ? QVariant(picture) : QVariant()}});
    FBank->AddModel(3, QStringLiteral("001"), 0, 30);
    FBank->AddContent(3, 1, 1, 2, 6, 4, 10, 40);
    FBank->AddContent(3, 1, 1, 1, 6, 6, 10, 60);
    FBank->Exec(QStringLiteral("insert into T_KS_ExamineTheme_TT (ID, ExamineID) values (1, 4)"));
    SetRun(mode);

    TScriptedMessages messages;
    TQuery paper;
    TPaperStore store(TPaperRequest::OfRun());
    int openRows = -1;
    store.OnPaperOpened = [&] { openRows = paper.RecordCount(); };
    QVERIFY(LoadExamPaper(store, &paper, QString(), QStringLiteral("001")));
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(store.FExamineID, 1);
    QCOMPARE(store.FExamMinutes, 30);
    QCOMPARE(store.FQuestionCount, 10);
    QCOMPARE(openRows, 10);
    QCOMPARE(paper.RecNo(), 1);
    QCOMPARE(paper.FieldByName(QStringLiteral("ID"))->AsInteger(), 1);
    // Type 1 first: the first six rows are the even-numbered questions.
    for (int k = 0; k < 10; ++k, paper.Next()) {
        QCOMPARE(paper.FieldByName(QStringLiteral("ThemeType"))->AsInteger(), k < 6 ? 1 : 2);
        QCOMPARE(paper.FieldByName(QStringLiteral("ThemeBit"))->AsInteger(), 10);
    }
    // Hand-in deletes the rows; the review still shows every question.
    QCOMPARE(ExecSql(QStringLiteral("Delete from T_KS_ExamineTheme where ExamineID=1")), 10);
    QVERIFY(paper.Locate(QStringLiteral("ThemeID"), 4));
    QCOMPARE(paper.FieldByName(QStringLiteral("ThemeImage"))->AsBytes(), picture);
    paper.Last();
    QCOMPARE(paper.FieldByName(QStringLiteral("ThemeContent"))->AsString().isEmpty(), false);
}

void TestUPaperWindows::FailuresAreShownInAnErrorBox_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("scope");
    QTest::addColumn<QString>("message");
    QTest::newRow("no template for the class") << "3"
                                               << ""
                                               << "模板不存在或存在多个，请与管理员联系！";
    QTest::newRow("set not found") << "1"
                                   << "02" << QStringLiteral("类别为%1，试卷编号为02的试卷未找到。").arg(KCaption);
    QTest::newRow("copy refused") << "1"
                                  << "01"
                                  << "32保存试题出错！";
}

// Every failure shows its text once in an error box, with the save-progress
// window already gone: it stays on top and would cover the box.
void TestUPaperWindows::FailuresAreShownInAnErrorBox()
{
    QFETCH(QString, mode);
    QFETCH(QString, scope);
    QFETCH(QString, message);
    for (int id = 31; id <= 33; ++id)
        FBank->AddTheme(id, {{QStringLiteral("TT"), QStringLiteral("01")}});
    FBank->RefuseRows("RefuseSecond", "insert", "T_KS_ExamineTheme_TT", "NEW.ID = 2", "refused");
    SetRun(mode, scope);
    TScriptedMessages messages;
    bool progressWindowLeft = false;
    messages.WhileOpen = [&progressWindowLeft](const TMessageRequest &) {
        for (QWidget *window : QApplication::topLevelWidgets())
            progressWindowLeft = progressWindowLeft || qobject_cast<TFrmProgess *>(window);
    };
    TQuery paper;
    TPaperStore store(TPaperRequest::OfRun());
    QVERIFY(!LoadExamPaper(store, &paper, QString(), QStringLiteral("001")));
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(messages.Last().Text, message);
    QCOMPARE(messages.Last().Caption, QStringLiteral("错误"));
    QCOMPARE(messages.Last().Icon, TMsgIcon::Error);
    QVERIFY(!progressWindowLeft);
    QVERIFY(!paper.Active());
    QCOMPARE(FBank->Scalar(QStringLiteral("select count(*) from T_KS_ExamineTheme_TT")).toInt(), 0);
}

QTEST_MAIN(TestUPaperWindows)
#include "tst_UPaperWindows.moc"
