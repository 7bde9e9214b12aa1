#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "ExamScreenFixture.h"
#include "UAnswerSheetPanel.h"
#include "UComm.h"
#include "UExamClock.h"
#include "UExamRules.h"
#include "UExamWidgets.h"
#include "UQuery.h"

// What the candidate is told around the hand-in, how practice judges and
// explains, and the review that marks the mistakes.

namespace {

const QString KNoteOne = QStringLiteral("黄灯闪烁表示警示，车辆应当减速瞭望，确认安全后通过。");
const QString KNoteFour = QStringLiteral("遇到行人和非机动车时应当停车让行，等他们通过后再起步。");

} // namespace

class TestUMainReview : public TExamScreenTest
{
    Q_OBJECT

private slots:
    void MockExamSummaryNamesTheVerdict_data();
    void MockExamSummaryNamesTheVerdict();
    void HandInQuestionCountsTheUnanswered();
    void ResultSheetStatesVerdictAndUnanswered_data();
    void ResultSheetStatesVerdictAndUnanswered();
    void TimeUpIsToldBeforeTheSummary();
    void ReviewMarksTheSheetButtons();
    void ReviewMarksTheOptions();
    void ExplanationInReviewStaysClearOfPictureAndOptions();
    void PracticeExplainsWithTheVerdict();
    void MultipleChoiceInPracticeIsJudgedOnEnter();
    void MultipleChoiceInPracticeIsJudgedWhenLeft();
    void ReviewScreenshot();

private:
    void AddNotes();
    // Answers question by question through the answer entry.
    void Answer(TFrmMain &form, const QStringList &answers);
    static TSheetButton *Button(TFrmMain &form, int number);
};

void TestUMainReview::AddNotes()
{
    FBank->Exec(QStringLiteral("insert into T_KS_ThemeNote (ThemeID, Explanation) values (1, '%1')").arg(KNoteOne));
    FBank->Exec(QStringLiteral("insert into T_KS_ThemeNote (ThemeID, Explanation) values (4, '%1')").arg(KNoteFour));
}

void TestUMainReview::Answer(TFrmMain &form, const QStringList &answers)
{
    const TExamScreen ui(form);
    for (int i = 0; i < answers.size(); ++i) {
        GoTo(form, i + 1);
        // Typed over whatever the entry held, as a candidate selects and types.
        QTest::keyClick(ui.Edit1, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(ui.Edit1, answers[i]);
        if (answers[i].size() > 1)
            QTest::keyClick(ui.Edit1, Qt::Key_Return);
    }
}

TSheetButton *TestUMainReview::Button(TFrmMain &form, int number)
{
    return qobject_cast<TSheetButton *>(SheetButton(form, number));
}

void TestUMainReview::MockExamSummaryNamesTheVerdict_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("summary");
    QTest::newRow("every answer right") << QStringList{"1", "2", "4", "135"}
                                        << "本次答题共正确 4 道，错误 0 道，得分 100 分。\r成绩合格\r是否需要查询答题信息？";
    QTest::newRow("one wrong") << QStringList{"1", "2", "4", "13"}
                               << "本次答题共正确 3 道，错误 1 道，得分 75 分。\r成绩不合格\r是否需要查询答题信息？";
}

void TestUMainReview::MockExamSummaryNamesTheVerdict()
{
    QFETCH(QStringList, answers);
    QFETCH(QString, summary);
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    Answer(*form, answers);
    FMessages->Answer(1);
    FMessages->Answer(2);
    QTest::keyClick(ui.Edit1, Qt::Key_Insert);
    QCOMPARE(FMessages->Count(), 2);
    QCOMPARE(FMessages->Shown()[0].Text, KConfirm);
    QCOMPARE(FMessages->Shown()[1].Text, summary);
}

void TestUMainReview::HandInQuestionCountsTheUnanswered()
{
    auto form = OpenExam("1", "01");
    QVERIFY(form);
    const TExamScreen ui(*form);
    QTest::keyClicks(ui.Edit1, "1");
    // An entry emptied again leaves its question unanswered.
    GoTo(*form, 2);
    QTest::keyClicks(ui.Edit1, "2");
    QTest::keyClick(ui.Edit1, Qt::Key_Backspace);
    FMessages->Answer(2);
    QTest::mouseClick(ui.SpeedButton3, Qt::LeftButton);
    QCOMPARE(FMessages->Last().Text, QStringLiteral("您还有 3 道题未答。\r") + KConfirm);
    QCOMPARE(FMessages->Last().Buttons, TMsgButtons::OkCancel);
    // Practice summaries carry no verdict.
    Answer(*form, {"1", "1", "4"});
    FMessages->Answer(1);
    FMessages->Answer(2);
    QTest::mouseClick(ui.SpeedButton3, Qt::LeftButton);
    QCOMPARE(FMessages->Shown()[1].Text, QStringLiteral("您还有 1 道题未答。\r") + KConfirm);
    QVERIFY(FMessages->Last().Text.startsWith(QStringLiteral("本次答题共正确 2 道，错误 2 道，得分 ")));
    QVERIFY(FMessages->Last().Text.endsWith(QStringLiteral("分。\r是否需要查询答题信息？")));
    QVERIFY(!FMessages->Last().Text.contains(QStringLiteral("成绩")));
}

void TestUMainReview::ResultSheetStatesVerdictAndUnanswered_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("scope");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("summary");
    QTest::newRow("mock exam") << "3"
                               << ""
                               << "未答 2 道。成绩不合格"
                               << "共 4 题：正确 1 道，错误 3 道，得分 25 分。";
    // A set paper's questions are worth a point each.
    QTest::newRow("set practice") << "1"
                                  << "01"
                                  << "未答 2 道。"
                                  << "共 4 题：正确 1 道，错误 3 道，得分 1 分。";
}

void TestUMainReview::ResultSheetStatesVerdictAndUnanswered()
{
    QFETCH(QString, mode);
    QFETCH(QString, scope);
    QFETCH(QString, line);
    QFETCH(QString, summary);
    QVERIFY(QFile::copy(EXAMORA_SOURCE_DIR "/data/TestMn.frf", FBank->AppPath() + "TestMn.frf"));
    auto form = OpenExam(mode, scope);
    QVERIFY(form);
    const TExamScreen ui(*form);
    Answer(*form, {"1", "1"});
    FMessages->SetDefaultAnswer(1);
    QTest::mouseClick(ui.SpeedButton3, Qt::LeftButton);
    QCOMPARE(FAnswerer->Previews, 1);
    QVERIFY2(FAnswerer->PreviewLines.contains(line), qPrintable(FAnswerer->PreviewLines.join(u'|')));
    QVERIFY2(FAnswerer->PreviewLines.contains(summary), qPrintable(FAnswerer->PreviewLines.join(u'|')));
}

void TestUMainReview::TimeUpIsToldBeforeTheSummary()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    QTest::keyClicks(ui.Edit1, "1");
    FMessages->Answer(1);
    FMessages->Answer(2);
    ui.Clock->SetSecondsLeft(1);
    emit ui.Clock->Tick();
    QCOMPARE(FMessages->Count(), 0);
    emit ui.Clock->Tick();
    QCOMPARE(FMessages->Count(), 2);
    QCOMPARE(FMessages->Shown()[0].Text, QStringLiteral("考试时间到，系统已自动交卷。"));
    QCOMPARE(FMessages->Shown()[0].Caption, QStringLiteral("提示"));
    QCOMPARE(FMessages->Shown()[0].Icon, TMsgIcon::Information);
    QVERIFY(FMessages->Shown()[1].Text.startsWith(
        QStringLiteral("本次答题共正确 1 道，错误 3 道，得分 25 分。\r成绩不合格")));
    QVERIFY(ui.Edit1->isReadOnly());
}

void TestUMainReview::ReviewMarksTheSheetButtons()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    Answer(*form, {"1", "1", "", "13"});
    // While answering the sheet shows no verdict.
    for (int number = 1; number <= 4; ++number) {
        QVERIFY(Button(*form, number));
        QCOMPARE(Button(*form, number)->Mark(), QString());
        QCOMPARE(Button(*form, number)->accessibleDescription(), QString());
    }
    FMessages->SetDefaultAnswer(2);
    FMessages->Answer(1);
    QTest::mouseClick(ui.SpeedButton3, Qt::LeftButton);
    QCOMPARE(FMessages->Count(), 2);

    const QStringList marks{"✓", "✗", "–", "✗"};
    const QStringList descriptions{"第 1 题：答对", "第 2 题：答错", "第 3 题：未答", "第 4 题：答错"};
    for (int number = 1; number <= 4; ++number) {
        TSheetButton *button = Button(*form, number);
        QCOMPARE(button->Mark(), marks[number - 1]);
        QCOMPARE(button->accessibleDescription(), descriptions[number - 1]);
        QCOMPARE(button->text(), QString::number(number));
    }
    // Colour comes on top of the sign: right and wrong differ in it too.
    QVERIFY(Button(*form, 1)->palette().color(QPalette::ButtonText)
            != Button(*form, 2)->palette().color(QPalette::ButtonText));
    // The review still goes from question to question by the sheet.
    GoTo(*form, 3);
    QCOMPARE(ui.Edit1->text(), QString());
}

void TestUMainReview::ReviewMarksTheOptions()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    Answer(*form, {"1", "1", "", "13"});
    const QString optionB = ui.LabB->text();
    FMessages->SetDefaultAnswer(2);
    FMessages->Answer(1);
    QTest::mouseClick(ui.SpeedButton3, Qt::LeftButton);

    // The question on show at hand-in is marked at once.
    QCOMPARE(CurrentId(*form), 4);
    QVERIFY(ui.LabA->text().endsWith(QStringLiteral("  ✓正确答案 · 您的选择")));
    QCOMPARE(ui.LabB->text(), optionB);
    QVERIFY(ui.LabC->text().endsWith(QStringLiteral("  ✓正确答案 · 您的选择")));
    QVERIFY(ui.LabE->text().endsWith(QStringLiteral("  ✓正确答案")));
    QCOMPARE(ui.LabE->accessibleDescription(), QStringLiteral("✓正确答案"));
    QVERIFY(ui.LabA->geometry().bottom() < ui.LabB->geometry().top());

    GoTo(*form, 2);
    QVERIFY(ui.LabA->text().endsWith(QStringLiteral("  ✗您的选择")));
    QVERIFY(ui.LabB->text().endsWith(QStringLiteral("  ✓正确答案")));
    QVERIFY(ui.LabA->palette().color(QPalette::WindowText) != ui.LabB->palette().color(QPalette::WindowText));
    QVERIFY(!ui.LabC->text().contains(QStringLiteral("✓")));
    // An unanswered question shows only where the right answer was.
    GoTo(*form, 3);
    QVERIFY(ui.LabD->text().endsWith(QStringLiteral("  ✓正确答案")));
    for (QLabel *label : {ui.LabA, ui.LabB})
        QVERIFY(!label->text().contains(QStringLiteral("您的选择")));
}

void TestUMainReview::ExplanationInReviewStaysClearOfPictureAndOptions()
{
    AddNotes();
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    auto *note = form->findChild<QLabel *>(QStringLiteral("LabNote"));
    QVERIFY(note);
    // The mock exam explains nothing before hand-in.
    QTest::keyClicks(ui.Edit1, "2");
    QVERIFY(note->isHidden());
    GoTo(*form, 4);
    QTest::keyClicks(ui.Edit1, "135");
    QVERIFY(note->isHidden());
    FMessages->SetDefaultAnswer(2);
    FMessages->Answer(1);
    QTest::mouseClick(ui.SpeedButton3, Qt::LeftButton);

    QVERIFY(note->isVisible());
    QCOMPARE(note->text(), QStringLiteral("解析：") + KNoteFour);
    GoTo(*form, 2);
    QVERIFY(note->isHidden());
    GoTo(*form, 1);
    QVERIFY(note->isVisible());
    QCOMPARE(note->text(), QStringLiteral("解析：") + KNoteOne);
    QVERIFY(!ui.ImgTheme->pixmap().isNull());
    QVERIFY(!note->geometry().intersects(ui.ImgTheme->geometry()));
    for (QLabel *option : {ui.LabA, ui.LabB}) {
        const QRect inArea(ui.Panel5->mapTo(note->parentWidget(), option->pos()), option->size());
        QVERIFY(!note->geometry().intersects(inArea));
    }
    QVERIFY(note->geometry().bottom() < ui.Panel3->geometry().top());
}

void TestUMainReview::PracticeExplainsWithTheVerdict()
{
    AddNotes();
    auto form = OpenExam("1", "01");
    QVERIFY(form);
    const TExamScreen ui(*form);
    auto *note = form->findChild<QLabel *>(QStringLiteral("LabNote"));
    QVERIFY(note->isHidden());
    QTest::mouseClick(ui.LabB, Qt::LeftButton);
    QVERIFY(ui.Label1->isVisible());
    QVERIFY(note->isVisible());
    QCOMPARE(note->text(), QStringLiteral("解析：") + KNoteOne);
    QVERIFY(!note->geometry().intersects(ui.ImgTheme->geometry()));
    // On to a question without an explanation, and back: it goes with the verdict.
    QTest::keyClick(ui.Edit1, Qt::Key_Return);
    QCOMPARE(CurrentId(*form), 2);
    QVERIFY(note->isHidden());
    QTest::keyClicks(ui.Edit1, "3");
    QVERIFY(ui.Label1->isVisible());
    QVERIFY(note->isHidden());
    QTest::keyClick(ui.Edit1, Qt::Key_Up);
    QVERIFY(ui.Label1->isHidden());
    QVERIFY(note->isHidden());
}

void TestUMainReview::MultipleChoiceInPracticeIsJudgedOnEnter()
{
    AddNotes();
    auto form = OpenExam("1", "01");
    QVERIFY(form);
    const TExamScreen ui(*form);
    auto *note = form->findChild<QLabel *>(QStringLiteral("LabNote"));
    GoTo(*form, 4);
    for (QLabel *label : {ui.LabC, ui.LabA})
        QTest::mouseClick(label, Qt::LeftButton);
    // Stored at once, judged only when confirmed.
    QCOMPARE(Stored(4, "AnswerResult").toString(), QStringLiteral("13"));
    QVERIFY(ui.Label1->isHidden());
    QVERIFY(note->isHidden());
    QTest::keyClick(ui.Edit1, Qt::Key_Return);
    QCOMPARE(CurrentId(*form), 4);
    QVERIFY(ui.Label1->isVisible());
    QCOMPARE(ui.Label1->text(), QStringLiteral("很遗憾，答错了，正确答案：135"));
    QVERIFY(note->isVisible());
    QCOMPARE(note->text(), QStringLiteral("解析：") + KNoteFour);
    // Once judged, a changed answer is judged at once.
    QTest::mouseClick(ui.LabE, Qt::LeftButton);
    QCOMPARE(ui.Label1->text(), QStringLiteral("恭喜你答对了，正确答案：135"));
    // Single choice is judged at its answer, and Enter goes on from it.
    QTest::keyClick(ui.Edit1, Qt::Key_Up);
    QTest::keyClicks(ui.Edit1, "4");
    QVERIFY(ui.Label1->isVisible());
    QTest::keyClick(ui.Edit1, Qt::Key_Return);
    QCOMPARE(CurrentId(*form), 4);
}

void TestUMainReview::MultipleChoiceInPracticeIsJudgedWhenLeft()
{
    auto form = OpenExam("1", "01");
    QVERIFY(form);
    const TExamScreen ui(*form);
    GoTo(*form, 4);
    QTest::mouseClick(ui.LabA, Qt::LeftButton);
    QVERIFY(ui.Label1->isHidden());
    QTest::keyClick(ui.Edit1, Qt::Key_Up);
    QTest::keyClick(ui.Edit1, Qt::Key_Down);
    QCOMPARE(CurrentId(*form), 4);
    QVERIFY(ui.Label1->isHidden());
    // Left once, the question counts as judged: the next choice is judged at once.
    QTest::mouseClick(ui.LabC, Qt::LeftButton);
    QVERIFY(ui.Label1->isVisible());
    QCOMPARE(ui.Label1->text(), QStringLiteral("很遗憾，答错了，正确答案：135"));
    // A true/false question is judged at its click, as ever.
    GoTo(*form, 1);
    QTest::mouseClick(ui.LabA, Qt::LeftButton);
    QCOMPARE(ui.Label1->text(), QStringLiteral("恭喜你答对了，正确答案：1"));
}

void TestUMainReview::ReviewScreenshot()
{
    const QString folder = qEnvironmentVariable("EXAMORA_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("set EXAMORA_SCREENSHOT_DIR to save a picture of the review");
    AddNotes();
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    Answer(*form, {"2", "2", "", "13"});
    FMessages->SetDefaultAnswer(2);
    FMessages->Answer(1);
    QTest::mouseClick(ui.SpeedButton3, Qt::LeftButton);
    GoTo(*form, 1);
    QTest::qWait(200);
    QVERIFY(form->grab().save(QDir(folder).filePath(QStringLiteral("review.png"))));
}

QTEST_MAIN(TestUMainReview)
#include "tst_UMainReview.moc"
