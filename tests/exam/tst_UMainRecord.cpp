#include <QLineEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QTest>

#include "ExamScreenFixture.h"
#include "UExamClock.h"
#include "UExamWidgets.h"
#include "UQuery.h"

// The learning record the exam screen keeps of its paper: written when the
// paper is stored, kept current while it is answered, completed at hand-in;
// and the paper an earlier run left open, taken up again or given up.

namespace {

const QColor KUnanswered(102, 102, 102);
const QColor KUncertain(255, 25, 0);
const QColor KCertain(3, 150, 0);

QColor SheetColour(QPushButton *button)
{
    return button->palette().color(QPalette::ButtonText);
}

} // namespace

class TestUMainRecord : public TExamScreenTest
{
    Q_OBJECT

private slots:
    void MockExamIsRecordedFromStoreToHandIn();
    void ChapterPracticeIsRecorded();
    void ResumeGoesOnWithTheOpenPaper();
    void CancelAbandonsTheOpenPaperAndDrawsAnew();
    void PaperWhoseTimeRanOutIsHandedInOnResume();
    void PaperOfAnotherModeIsNotOffered();
    void BankThatCannotKeepRecordsIsToldOnce();

private:
    // A column of the newest record.
    QVariant Record(const char *column) const;
    QVariant Scalar(const QString &sql) const { return FBank->Scalar(sql); }
    static void Tick(const TExamScreen &ui, int seconds);
    // A mock exam with its first two questions answered, the second as
    // uncertain, let go with secondsLeft on its clock and not handed in, as
    // a program stopped in the middle leaves it.
    void LeaveTwoAnswered(int secondsLeft);
    // The screen opened again on the paper left, the resume question answered with button.
    std::unique_ptr<TFrmMain> OpenAgain(int button);
};

QVariant TestUMainRecord::Record(const char *column) const
{
    return Scalar(QStringLiteral("select %1 from T_KS_ExamRecord order by RecordID desc limit 1").arg(column));
}

void TestUMainRecord::Tick(const TExamScreen &ui, int seconds)
{
    for (int i = 0; i < seconds; ++i)
        emit ui.Clock->Tick();
}

void TestUMainRecord::LeaveTwoAnswered(int secondsLeft)
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    QTest::keyClicks(ui.Edit1, "1");
    QTest::keyClick(ui.Edit1, Qt::Key_Return);
    QTest::keyClicks(ui.Edit1, "2");
    QTest::keyClick(ui.Edit1, Qt::Key_End);
    ui.Clock->SetSecondsLeft(secondsLeft + 10);
    Tick(ui, 10);
    QCOMPARE(Record("Status").toString(), QStringLiteral("open"));
    QCOMPARE(Record("SecondsLeft").toInt(), secondsLeft);
    QTRY_COMPARE(Record("AnsweredCount").toInt(), 2);
}

std::unique_ptr<TFrmMain> TestUMainRecord::OpenAgain(int button)
{
    FMessages->Clear();
    FMessages->Answer(button);
    return OpenExam("3");
}

void TestUMainRecord::MockExamIsRecordedFromStoreToHandIn()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    QCOMPARE(Scalar("select count(*) from T_KS_ExamRecord").toInt(), 1);
    QCOMPARE(Record("Status").toString(), QStringLiteral("open"));
    QCOMPARE(Record("ExamineID").toLongLong(), Scalar("select max(ExamineID) from T_KS_ExamineTheme").toLongLong());
    QCOMPARE(Record("PaperTable").toString().toLower(), QStringLiteral("t_ks_examinetheme"));
    QCOMPARE(Record("PracticeMode").toString(), QStringLiteral("3"));
    QCOMPARE(Record("DriveTypeCode").toString(), QStringLiteral("001"));
    QCOMPARE(Record("Seat").toString(), QSysInfo::machineHostName());
    QCOMPARE(Record("ProgramFolder").toString(), FBank->AppPath());
    QCOMPARE(Record("ExamMinutes").toInt(), 45);
    QCOMPARE(Record("QuestionCount").toInt(), 4);
    QCOMPARE(Record("SecondsLeft").toInt(), 45 * 60);
    QCOMPARE(Record("AnsweredCount").toInt(), 0);

    // The answer is committed first; the record follows once the event queue runs.
    QTest::keyClicks(ui.Edit1, "1");
    QCOMPARE(Stored(1, "AnswerResult").toString(), QStringLiteral("1"));
    QCOMPARE(Record("AnsweredCount").toInt(), 0);
    QTRY_COMPARE(Record("AnsweredCount").toInt(), 1);
    QTest::keyClick(ui.Edit1, Qt::Key_Return);
    QTest::keyClicks(ui.Edit1, "2");
    QTRY_COMPARE(Record("AnsweredCount").toInt(), 2);
    // An answer taken back counts as well.
    QTest::keyClick(ui.Edit1, Qt::Key_Backspace);
    QTRY_COMPARE(Record("AnsweredCount").toInt(), 1);

    // The clock's seconds reach the record at least every five.
    Tick(ui, 5);
    QCOMPARE(ui.Clock->SecondsLeft(), 45 * 60 - 5);
    QCOMPARE(Record("SecondsLeft").toInt(), 45 * 60 - 5);

    FMessages->Answer(1);
    FMessages->Answer(2);
    QTest::keyClick(ui.Edit1, Qt::Key_Insert);
    QCOMPARE(Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 0);
    QCOMPARE(Record("Status").toString(), QStringLiteral("handed-in"));
    QVERIFY(!Record("HandedInAt").isNull());
    QCOMPARE(Record("SecondsLeft").toInt(), 45 * 60 - 5);
    QCOMPARE(Record("AnsweredCount").toInt(), 1);
    QCOMPARE(Record("RightCount").toInt(), 1);
    QCOMPARE(Record("WrongCount").toInt(), 3);
    QCOMPARE(Record("Score").toInt(), 25);
    QCOMPARE(Record("Passed").toInt(), 0);
    QCOMPARE(Scalar("select group_concat(ThemeID || ':' || coalesce(AnswerResult, '') || ':' || IsRight, ' ') from "
                    "(select * from T_KS_ExamRecordTheme order by ID)")
                 .toString(),
             QStringLiteral("1:1:1 2::0 3::0 4::0"));

    // The review writes nothing, into the paper or the record.
    QTest::keyClick(ui.Edit1, Qt::Key_PageUp);
    QTest::keyClick(ui.Edit1, Qt::Key_End);
    Tick(ui, 5);
    QCOMPARE(Record("SecondsLeft").toInt(), 45 * 60 - 5);
    QCOMPARE(Scalar("select count(*) from T_KS_ExamRecord").toInt(), 1);
}

void TestUMainRecord::ChapterPracticeIsRecorded()
{
    auto form = OpenExam("2", "1");
    QVERIFY(form);
    const TExamScreen ui(*form);
    QCOMPARE(Record("Status").toString(), QStringLiteral("open"));
    QCOMPARE(Record("PracticeMode").toString(), QStringLiteral("2"));
    QCOMPARE(Record("PracticeScope").toString(), QStringLiteral("1"));
    QCOMPARE(Record("PaperTable").toString().toLower(), QStringLiteral("t_ks_examinetheme_tt"));
    QCOMPARE(Record("ExamMinutes").toInt(), 480);
    QTest::keyClicks(ui.Edit1, "2");

    FMessages->Answer(1);
    QTest::keyClick(ui.Edit1, Qt::Key_Insert);
    QCOMPARE(Scalar("select count(*) from T_KS_ExamineTheme_TT").toInt(), 0);
    QCOMPARE(Record("Status").toString(), QStringLiteral("handed-in"));
    QCOMPARE(Record("AnsweredCount").toInt(), 1);
    QCOMPARE(Record("RightCount").toInt(), 0);
    QVERIFY(Record("Passed").isNull());
    QCOMPARE(Scalar("select count(*) from T_KS_ExamRecordTheme").toInt(), 4);
}

void TestUMainRecord::ResumeGoesOnWithTheOpenPaper()
{
    LeaveTwoAnswered(44 * 60 + 50);
    if (QTest::currentTestFailed())
        return;
    const qint64 paper = Scalar("select max(ExamineID) from T_KS_ExamineTheme").toLongLong();
    const qint64 record = Record("RecordID").toLongLong();
    auto form = OpenAgain(1);
    QVERIFY(form);
    const TExamScreen ui(*form);
    QCOMPARE(FMessages->Count(), 1);
    QCOMPARE(FMessages->Last().Text, QStringLiteral("上次的考试尚未交卷（已答 2 题，剩余 44 分 50 秒），是否继续？"));
    QCOMPARE(FMessages->Last().Buttons, TMsgButtons::OkCancel);

    // The same paper and record, its time, its answers and flags, and the first open question.
    QCOMPARE(Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 4);
    QCOMPARE(Scalar("select min(ExamineID) from T_KS_ExamineTheme").toLongLong(), paper);
    QCOMPARE(Scalar("select count(*) from T_KS_ExamRecord").toInt(), 1);
    QCOMPARE(ui.Clock->SecondsLeft(), 44 * 60 + 50);
    QCOMPARE(CurrentId(*form), 3);
    QVERIFY(ui.Edit1->text().isEmpty());
    QCOMPARE(SheetColour(SheetButton(*form, 1)), KCertain);
    QCOMPARE(SheetColour(SheetButton(*form, 2)), KUncertain);
    QCOMPARE(SheetColour(SheetButton(*form, 3)), KUnanswered);
    QCOMPARE(SheetColour(SheetButton(*form, 4)), KUnanswered);
    GoTo(*form, 2);
    QCOMPARE(ui.Edit1->text(), QStringLiteral("2"));
    QCOMPARE(ui.RGYxx->ItemIndex(), 1);

    GoTo(*form, 3);
    QTest::keyClicks(ui.Edit1, "4");
    QTRY_COMPARE(Record("AnsweredCount").toInt(), 3);
    FMessages->Answer(1);
    FMessages->Answer(2);
    QTest::keyClick(ui.Edit1, Qt::Key_Insert);
    QCOMPARE(Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 0);
    QCOMPARE(Record("RecordID").toLongLong(), record);
    QCOMPARE(Record("Status").toString(), QStringLiteral("handed-in"));
    QCOMPARE(Record("ExamineID").toLongLong(), paper);
    QCOMPARE(Record("RightCount").toInt(), 3);
    QCOMPARE(Record("Score").toInt(), 75);
    QCOMPARE(Scalar("select group_concat(coalesce(AnswerResult, '') || '/' || coalesce(Yxx_St, ''), ' ') from "
                    "(select * from T_KS_ExamRecordTheme order by ID)")
                 .toString(),
             QStringLiteral("1/0 2/1 4/0 /"));
}

void TestUMainRecord::CancelAbandonsTheOpenPaperAndDrawsAnew()
{
    LeaveTwoAnswered(30 * 60);
    if (QTest::currentTestFailed())
        return;
    const qint64 abandoned = Record("RecordID").toLongLong();
    auto form = OpenAgain(2);
    QVERIFY(form);
    const TExamScreen ui(*form);
    QCOMPARE(FMessages->Count(), 1);

    const auto old = [this, abandoned](const char *column) {
        return Scalar(QStringLiteral("select %1 from T_KS_ExamRecord where RecordID=%2").arg(column).arg(abandoned));
    };
    QCOMPARE(old("Status").toString(), QStringLiteral("abandoned"));
    QCOMPARE(old("AnsweredCount").toInt(), 2);
    QCOMPARE(old("SecondsLeft").toInt(), 30 * 60);
    QCOMPARE(Scalar(QStringLiteral("select group_concat(coalesce(AnswerResult, ''), ',') from (select AnswerResult from "
                                   "T_KS_ExamRecordTheme where RecordID=%1 order by ID)")
                        .arg(abandoned))
                 .toString(),
             QStringLiteral("1,2,,"));

    // A new paper of its own, unanswered, on the full clock.
    QCOMPARE(Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 4);
    QCOMPARE(Scalar("select count(*) from T_KS_ExamineTheme where AnswerResult<>''").toInt(), 0);
    QVERIFY(Record("RecordID").toLongLong() != abandoned);
    QCOMPARE(Record("Status").toString(), QStringLiteral("open"));
    QCOMPARE(ui.Clock->SecondsLeft(), 45 * 60);
    QCOMPARE(CurrentId(*form), 1);
    QCOMPARE(SheetColour(SheetButton(*form, 1)), KUnanswered);
    QCOMPARE(SheetColour(SheetButton(*form, 2)), KUnanswered);
}

void TestUMainRecord::PaperWhoseTimeRanOutIsHandedInOnResume()
{
    LeaveTwoAnswered(0);
    if (QTest::currentTestFailed())
        return;
    // Every box after the question is closed: no result sheet.
    FMessages->SetDefaultAnswer(2);
    auto form = OpenAgain(1);
    QVERIFY(form);
    QVERIFY(FMessages->Count() >= 1);
    QCOMPARE(FMessages->Shown().front().Text,
             QStringLiteral("上次的考试尚未交卷（已答 2 题，剩余 0 分 0 秒），是否继续？"));
    for (const TMessageRequest &shown : FMessages->Shown())
        QVERIFY2(shown.Text != KConfirm, "a paper out of time is handed in without asking");
    QCOMPARE(Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 0);
    QCOMPARE(Scalar("select count(*) from T_KS_ExamRecord").toInt(), 1);
    QCOMPARE(Record("Status").toString(), QStringLiteral("handed-in"));
    QCOMPARE(Record("SecondsLeft").toInt(), 0);
    QCOMPARE(Record("RightCount").toInt(), 2);
    QVERIFY(TExamScreen(*form).Edit1->isReadOnly());
}

void TestUMainRecord::PaperOfAnotherModeIsNotOffered()
{
    LeaveTwoAnswered(30 * 60);
    if (QTest::currentTestFailed())
        return;
    const qint64 mockExam = Record("RecordID").toLongLong();
    FMessages->Clear();
    auto form = OpenExam("2", "1");
    QVERIFY(form);
    QCOMPARE(FMessages->Count(), 0);
    QCOMPARE(Scalar(QStringLiteral("select Status from T_KS_ExamRecord where RecordID=%1").arg(mockExam)).toString(),
             QStringLiteral("open"));
    QCOMPARE(Scalar("select count(*) from T_KS_ExamineTheme where AnswerResult<>''").toInt(), 2);
    QCOMPARE(Record("PracticeMode").toString(), QStringLiteral("2"));
    QCOMPARE(CurrentId(*form), 1);
}

void TestUMainRecord::BankThatCannotKeepRecordsIsToldOnce()
{
    // A hand-made table of the record's name that lacks its columns.
    FBank->Exec("create table T_KS_ExamRecord (RecordID integer primary key)");
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    QCOMPARE(FMessages->Count(), 1);
    QCOMPARE(FMessages->Last().Icon, TMsgIcon::Information);
    QVERIFY2(FMessages->Last().Text.contains(QStringLiteral("不会保存")), qPrintable(FMessages->Last().Text));

    // The paper is worked and handed in as ever; nothing is recorded.
    QTest::keyClicks(ui.Edit1, "1");
    QCOMPARE(Stored(1, "AnswerResult").toString(), QStringLiteral("1"));
    Tick(ui, 5);
    FMessages->Answer(1);
    FMessages->Answer(2);
    QTest::keyClick(ui.Edit1, Qt::Key_Insert);
    QCOMPARE(FMessages->Count(), 3);
    QCOMPARE(Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 0);
    QCOMPARE(Scalar("select count(*) from T_KS_ExamRecord").toInt(), 0);
}

QTEST_MAIN(TestUMainRecord)
#include "tst_UMainRecord.moc"
