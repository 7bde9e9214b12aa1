#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "ExamScreenFixture.h"
#include "UApplication.h"
#include "UComm.h"
#include "UExamClock.h"
#include "UExamRules.h"
#include "UExamWidgets.h"
#include "UQuery.h"

// Handing the paper in, by the button, the key and the clock, and the
// review and result sheet that follow.

class TestUMainHandIn : public TExamScreenTest
{
    Q_OBJECT

private slots:
    void HandInMockExamAndReview();
    void HandInCancelledGoesOn();
    void HandInSetPracticeShowsResultSheet();
    void HandInChapterPractice();
    void ClockCountsDownAndHandsInAtZero();
    void TimeOutDuringConfirmationHandsInOnce();
    void TimeOutClosesTheOpenConfirmationBox();
    void WholeMockExamThroughTheForms();
};

void TestUMainHandIn::WholeMockExamThroughTheForms()
{
    QVERIFY(QFile::copy(EXAMORA_SOURCE_DIR "/data/TestMn.frf", FBank->AppPath() + "TestMn.frf"));
    auto form = std::make_unique<TFrmMain>();
    QCOMPARE(FAnswerer->LicenceDialogs, 1);
    QCOMPARE(RunContext.DriveTypeCode, QStringLiteral("001"));
    const TExamScreen ui(*form);
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QTRY_VERIFY_WITH_TIMEOUT(ui.Panel3->isEnabled(), 10000);
    QCOMPARE(FBank->Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 4);
    // A sheet button for every question of the paper.
    QCOMPARE(form->findChildren<QPushButton *>(QRegularExpression(QStringLiteral("^AutoBtn"))).size(), 4);
    QVERIFY(ui.Clock->IsRunning());
    QTRY_VERIFY_WITH_TIMEOUT(!ui.LabTime->text().isEmpty(), 3000);
    ui.Clock->Stop();

    QTest::mouseClick(ui.LabA, Qt::LeftButton);
    QCOMPARE(Stored(1, "AnswerResult").toString(), QStringLiteral("1"));
    QTest::keyClick(ui.Edit1, Qt::Key_Return);
    QTest::keyClicks(ui.Edit1, "2");
    QCOMPARE(Stored(2, "AnswerResult").toString(), QStringLiteral("2"));
    QTest::keyClick(ui.Edit1, Qt::Key_End);
    QCOMPARE(Stored(2, "Yxx_St").toString(), QStringLiteral("1"));
    QTest::keyClick(ui.Edit1, Qt::Key_PageDown);
    QTest::keyClicks(ui.Edit1, "4");
    QCOMPARE(Stored(3, "AnswerResult").toString(), QStringLiteral("4"));
    QCOMPARE(Stored(3, "Yxx_St").toString(), QStringLiteral("0"));
    QTest::mouseClick(SheetButton(*form, 4), Qt::LeftButton);
    for (QLabel *label : {ui.LabE, ui.LabC})
        QTest::mouseClick(label, Qt::LeftButton);
    QCOMPARE(Stored(4, "AnswerResult").toString(), QStringLiteral("35"));

    FMessages->SetDefaultAnswer(1);
    QTest::mouseClick(ui.SpeedButton3, Qt::LeftButton);
    QCOMPARE(FMessages->Count(), 2);
    QCOMPARE(FMessages->Last().Text,
             QStringLiteral("本次答题共正确 3 道，错误 1 道，得分 75 分。\r成绩不合格\r是否需要查询答题信息？"));
    QCOMPARE(FAnswerer->Previews, 1);
    QVERIFY(FAnswerer->PreviewPages >= 1);
    QCOMPARE(FBank->Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 0);
    QCOMPARE(ui.Label1->text(), QStringLiteral("正确答案：135"));
    QVERIFY(ui.Label1->isVisible());

    QTest::keyClick(ui.Edit1, Qt::Key_PageUp);
    QCOMPARE(ui.Edit1->text(), QStringLiteral("4"));
    QCOMPARE(ui.Label1->text(), QStringLiteral("正确答案：4"));
    QTest::mouseClick(ui.SpeedButton5, Qt::LeftButton);
    QVERIFY(!form->isVisible());
}

void TestUMainHandIn::HandInMockExamAndReview()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    QTest::keyClicks(ui.Edit1, "1");
    QTest::mouseClick(ui.SpeedButton2, Qt::LeftButton);
    QTest::keyClick(ui.Edit1, Qt::Key_End);
    QTest::keyClicks(ui.Edit1, "3");

    // While answering the window refuses to close, by every way.
    QVERIFY(!form->close());
    QTest::keyClick(ui.Edit1, Qt::Key_Escape);
    QTest::mouseClick(ui.SpeedButton5, Qt::LeftButton);
    QVERIFY(form->isVisible());

    FMessages->Answer(1);
    FMessages->Answer(2);
    QTest::keyClick(ui.Edit1, Qt::Key_Insert);
    QCOMPARE(FMessages->Count(), 2);
    QCOMPARE(FMessages->Shown()[0].Text, QStringLiteral("您还有 2 道题未答。\r") + KConfirm);
    QCOMPARE(FMessages->Shown()[0].Buttons, TMsgButtons::OkCancel);
    QCOMPARE(FMessages->Shown()[1].Text,
             QStringLiteral("本次答题共正确 1 道，错误 3 道，得分 25 分。\r成绩不合格\r是否需要查询答题信息？"));
    QCOMPARE(FAnswerer->Previews, 0);
    QCOMPARE(FBank->Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 0);
    QVERIFY(ui.Label1->isVisible());
    QCOMPARE(ui.Label1->text(), QStringLiteral("正确答案：2"));

    // Review: the stored answers are shown, nothing can be changed or written.
    QVERIFY(ui.Edit1->isReadOnly());
    QVERIFY(!ui.RGYxx->isEnabled());
    QTest::mouseClick(ui.LabA, Qt::LeftButton);
    QCOMPARE(ui.Edit1->text(), QStringLiteral("3"));
    QTest::mouseClick(ui.SpeedButton1, Qt::LeftButton);
    QCOMPARE(ui.Edit1->text(), QStringLiteral("1"));
    QCOMPARE(ui.Label1->text(), QStringLiteral("正确答案：1"));
    QTest::keyClick(ui.Edit1, Qt::Key_End);
    QCOMPARE(ui.RGYxx->ItemIndex(), 0);
    GoTo(*form, 2);
    QCOMPARE(ui.RGYxx->ItemIndex(), 1);
    GoTo(*form, 3);
    QCOMPARE(FBank->Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 0);
    QTest::keyClick(ui.Edit1, Qt::Key_Insert);
    QTest::mouseClick(ui.SpeedButton3, Qt::LeftButton);
    QCOMPARE(FMessages->Count(), 2);

    QTest::keyClick(ui.Edit1, Qt::Key_Escape);
    QVERIFY(!form->isVisible());
}

void TestUMainHandIn::HandInCancelledGoesOn()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    FMessages->Answer(2);
    QTest::mouseClick(ui.SpeedButton3, Qt::LeftButton);
    QCOMPARE(FMessages->Count(), 1);
    // Still answering: the window refuses to close.
    QVERIFY(!form->close());
    QVERIFY(!ui.Edit1->isReadOnly());
    QCOMPARE(FBank->Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 4);
    QTest::keyClicks(ui.Edit1, "2");
    QCOMPARE(Stored(1, "AnswerResult").toString(), QStringLiteral("2"));
}

void TestUMainHandIn::HandInSetPracticeShowsResultSheet()
{
    auto form = OpenExam("1", "01");
    QVERIFY(form);
    const TExamScreen ui(*form);
    QTest::keyClicks(ui.Edit1, "1");
    GoTo(*form, 3);
    QTest::keyClicks(ui.Edit1, "2");
    FMessages->SetDefaultAnswer(1);
    QTest::mouseClick(ui.SpeedButton3, Qt::LeftButton);
    QVERIFY(FMessages->Shown()[1].Text.startsWith(QStringLiteral("本次答题共正确 1 道，错误 3 道，得分 ")));
    QCOMPARE(FAnswerer->Previews, 1);
    QCOMPARE(FBank->Scalar("select count(*) from T_KS_ExamineTheme_TT").toInt(), 0);
    // The sheet's rows carry the verdict as their OTZ text.
    TQuery *sheet = ui.Qry_Print;
    QVERIFY(sheet->Active());
    QCOMPARE(sheet->RecordCount(), 4);
    QStringList verdicts;
    for (sheet->First(); verdicts.size() < sheet->RecordCount(); sheet->Next())
        verdicts << sheet->FieldByName("OTZ")->DisplayText();
    QCOMPARE(verdicts, QStringList({"正确", "错误", "错误", "错误"}));
    QVERIFY(ui.Label1->isVisible());
    QCOMPARE(ui.Label1->text(), QStringLiteral("很遗憾，答错了，正确答案：4"));
    QTest::mouseClick(ui.SpeedButton1, Qt::LeftButton);
    QCOMPARE(ui.Label1->text(), QStringLiteral("很遗憾，答错了，正确答案：2"));
}

void TestUMainHandIn::HandInChapterPractice()
{
    auto form = OpenExam("2", "1");
    QVERIFY(form);
    const TExamScreen ui(*form);
    QTest::keyClicks(ui.Edit1, "1");
    QTest::mouseClick(ui.SpeedButton1, Qt::LeftButton);
    QVERIFY(ui.Label1->isVisible());
    QTest::mouseClick(ui.SpeedButton3, Qt::LeftButton);
    QCOMPARE(FMessages->Count(), 2);
    QCOMPARE(FMessages->Last().Text, QStringLiteral("本次答题共正确 1 道。"));
    QCOMPARE(FMessages->Last().Icon, TMsgIcon::Information);
    QCOMPARE(FBank->Scalar("select count(*) from T_KS_ExamineTheme_TT").toInt(), 0);
    QVERIFY(ui.Label1->isVisible());
    QVERIFY(form->close());
}

void TestUMainHandIn::ClockCountsDownAndHandsInAtZero()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    // The template gives the paper 45 minutes.
    QCOMPARE(ui.Clock->SecondsLeft(), 45 * 60);
    emit ui.Clock->Tick();
    QCOMPARE(ui.LabTime->text(), ClockText(45 * 60 - 1));
    ui.Clock->SetSecondsLeft(301);
    emit ui.Clock->Tick();
    QCOMPARE(ui.LabTime->text(), QStringLiteral("00小时05分00秒"));
    QCOMPARE(ui.LabTime->palette().color(QPalette::WindowText), QColor(51, 51, 51));
    emit ui.Clock->Tick();
    QCOMPARE(ui.LabTime->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    ui.Clock->SetSecondsLeft(1);
    emit ui.Clock->Tick();
    QCOMPARE(ui.LabTime->text(), QStringLiteral("00小时00分00秒"));
    QCOMPARE(FMessages->Count(), 0);
    FMessages->Answer(1);
    FMessages->Answer(2);
    emit ui.Clock->Tick();
    QCOMPARE(FMessages->Count(), 2);
    QCOMPARE(FMessages->Shown()[0].Text, TimeUpText());
    QVERIFY(FMessages->Last().Text.startsWith(QStringLiteral("本次答题共正确 0 道")));
    QVERIFY(ui.Edit1->isReadOnly());
    QVERIFY(!ui.Clock->IsRunning());
    QCOMPARE(ui.LabTime->text(), QStringLiteral("00小时00分00秒"));
    QCOMPARE(ui.LabTime->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    emit ui.Clock->Tick();
    QCOMPARE(FMessages->Count(), 2);
    // Answering is over: the window closes.
    QVERIFY(form->close());
}

void TestUMainHandIn::TimeOutDuringConfirmationHandsInOnce()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    QTest::keyClicks(ui.Edit1, "1");
    ui.Clock->SetSecondsLeft(1);
    TExamClock *clock = ui.Clock;
    FMessages->WhileOpen = [clock](const TMessageRequest &request) {
        if (!request.Text.endsWith(KConfirm))
            return;
        // The last second passes and the next tick finds no time left.
        emit clock->Tick();
        emit clock->Tick();
    };
    // Every box is answered OK: the summary inside the confirmation, then
    // the confirmation itself, which must not start a second hand-in.
    FMessages->SetDefaultAnswer(1);
    QTest::mouseClick(ui.SpeedButton3, Qt::LeftButton);
    QStringList texts;
    for (const TMessageRequest &request : FMessages->Shown())
        texts << request.Text;
    QCOMPARE(texts.size(), 3);
    QCOMPARE(texts[0], QStringLiteral("您还有 3 道题未答。\r") + KConfirm);
    QCOMPARE(texts[1], TimeUpText());
    QVERIFY(texts[2].startsWith(QStringLiteral("本次答题共正确 1 道，错误 3 道")));
    QCOMPARE(FBank->Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 0);
    // Answering is over: the window closes.
    QVERIFY(form->close());
}

void TestUMainHandIn::TimeOutClosesTheOpenConfirmationBox()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    InstallQtMessageBoxes();
    const auto visibleBox = [](const QString &text) -> QMessageBox * {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(window);
            if (box && box->isVisible() && box->text().contains(text))
                return box;
        }
        return nullptr;
    };
    // The candidate leaves the confirmation open while the time runs out;
    // the summary that follows is closed with Cancel (no result sheet).
    bool confirmationOpenUnderSummary = true;
    bool timedOut = false;
    bool summaryClosed = false;
    TFrmMain *screen = form.get();
    // Two timers: a timer does not fire again while its own slot still runs,
    // and the time-out runs the summary box inside the first one.
    QTimer timeOut;
    connect(&timeOut, &QTimer::timeout, screen, [&] {
        if (!timedOut && visibleBox(KConfirm)) {
            timedOut = true;
            emit ui.Clock->Tick();
            emit ui.Clock->Tick();
        }
    });
    QTimer closeSummary;
    connect(&closeSummary, &QTimer::timeout, screen, [&] {
        if (QMessageBox *timeUp = visibleBox(TimeUpText())) {
            timeUp->accept();
        } else if (QMessageBox *summary = visibleBox(QStringLiteral("本次答题共正确"))) {
            confirmationOpenUnderSummary = visibleBox(KConfirm) != nullptr;
            summaryClosed = true;
            summary->reject();
        } else if (QMessageBox *stale = summaryClosed ? visibleBox(KConfirm) : nullptr) {
            stale->reject(); // a stale box would otherwise hold the test
        }
    });
    timeOut.start(10);
    closeSummary.start(10);
    ui.Clock->SetSecondsLeft(1);
    QTest::mouseClick(ui.SpeedButton3, Qt::LeftButton);
    QVERIFY(timedOut);
    QVERIFY(!confirmationOpenUnderSummary);
    QVERIFY(!visibleBox(KConfirm));
    // Answering is over: the window closes.
    QVERIFY(form->close());
}

QTEST_MAIN(TestUMainHandIn)
#include "tst_UMainHandIn.moc"
