#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "ExamScreenFixture.h"
#include "UExamClock.h"
#include "UExamWidgets.h"

// Answering on the exam screen: option clicks, typed entries, the validity
// selector and what each of them stores and shows.

class TestUMainAnswering : public TExamScreenTest
{
    Q_OBJECT

private slots:
    void AnswersByClickAndTyping();
    void ValiditySelectorAndSheetColours();
    void PracticeFeedback();
    void ChapterPracticeHasNoSheet();
    void ClearedAnswerIsStoredAsEmptyText();
};

void TestUMainAnswering::AnswersByClickAndTyping()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    GoTo(*form, 4);
    const QList<std::pair<QLabel *, QString>> clicks{{ui.LabC, "3"}, {ui.LabA, "13"}, {ui.LabE, "135"}};
    for (const auto &[label, expected] : clicks) {
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(Stored(4, "AnswerResult").toString(), expected);
    }
    QCOMPARE(ui.Edit1->text(), QStringLiteral("315"));
    QCOMPARE(Stored(4, "Yxx_St").toString(), QStringLiteral("0"));
    QVERIFY(SheetButton(*form, 4)->font().bold());
    QCOMPARE(SheetButton(*form, 4)->palette().color(QPalette::ButtonText), QColor(3, 150, 0));
    // A repeated choice clears the whole answer.
    QTest::mouseClick(ui.LabA, Qt::LeftButton);
    QCOMPARE(ui.Edit1->text(), QString());
    QCOMPARE(Stored(4, "AnswerResult").toString(), QString());
    QCOMPARE(Stored(4, "Yxx_St").toString(), QString());
    QVERIFY(!SheetButton(*form, 4)->font().bold());
    QCOMPARE(SheetButton(*form, 4)->palette().color(QPalette::ButtonText), QColor(102, 102, 102));

    GoTo(*form, 2);
    QTest::keyClick(ui.Edit1, Qt::Key_1);
    QCOMPARE(Stored(2, "AnswerResult").toString(), QStringLiteral("1"));
    QTest::keyClick(ui.Edit1, Qt::Key_2);
    QCOMPARE(ui.Edit1->text(), QString());
    QCOMPARE(Stored(2, "AnswerResult").toString(), QString());
    QTest::keyClick(ui.Edit1, Qt::Key_2);
    QCOMPARE(Stored(2, "AnswerResult").toString(), QStringLiteral("2"));
    ui.Edit1->clear();
    QTest::keyClicks(ui.Edit1, "6");
    QCOMPARE(Stored(2, "AnswerResult").toString(), QString());
    // A click on a single choice replaces the entry.
    QTest::mouseClick(ui.LabD, Qt::LeftButton);
    QTest::mouseClick(ui.LabB, Qt::LeftButton);
    QCOMPARE(ui.Edit1->text(), QStringLiteral("2"));
    QCOMPARE(Stored(2, "AnswerResult").toString(), QStringLiteral("2"));

    GoTo(*form, 3);
    QTest::keyClicks(ui.Edit1, "3");
    QCOMPARE(ui.Edit1->text(), QString());
    QTest::keyClicks(ui.Edit1, "4");
    QCOMPARE(Stored(3, "AnswerResult").toString(), QStringLiteral("4"));

    GoTo(*form, 1);
    QTest::keyClicks(ui.Edit1, "3");
    QCOMPARE(Stored(1, "AnswerResult").toString(), QString());
    QTest::keyClicks(ui.Edit1, " 1 ");
    QCOMPARE(Stored(1, "AnswerResult").toString(), QStringLiteral("1"));
    QCOMPARE(ui.Edit1->cursorPosition(), 1);

    // At most five characters can be typed.
    GoTo(*form, 4);
    QTest::keyClicks(ui.Edit1, "543217");
    QCOMPARE(ui.Edit1->text(), QStringLiteral("54321"));
    QCOMPARE(Stored(4, "AnswerResult").toString(), QStringLiteral("12345"));
}

void TestUMainAnswering::ValiditySelectorAndSheetColours()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    GoTo(*form, 2);
    QTest::keyClick(ui.Edit1, Qt::Key_End);
    QCOMPARE(ui.RGYxx->ItemIndex(), 1);
    QCOMPARE(Stored(2, "Yxx_St").toString(), QString());
    QCOMPARE(SheetButton(*form, 2)->palette().color(QPalette::ButtonText), QColor(102, 102, 102));
    QTest::keyClicks(ui.Edit1, "2");
    QCOMPARE(Stored(2, "Yxx_St").toString(), QStringLiteral("1"));
    QCOMPARE(SheetButton(*form, 2)->palette().color(QPalette::ButtonText), QColor(255, 25, 0));
    QTest::keyClick(ui.Edit1, Qt::Key_Home);
    QCOMPARE(Stored(2, "Yxx_St").toString(), QStringLiteral("0"));
    QCOMPARE(SheetButton(*form, 2)->palette().color(QPalette::ButtonText), QColor(3, 150, 0));
    QTest::mouseClick(ui.RGYxx->Item(1), Qt::LeftButton);
    QCOMPARE(Stored(2, "Yxx_St").toString(), QStringLiteral("1"));

    // To an unanswered row: the selector returns to certain and writes the empty flag.
    QVERIFY(Stored(3, "Yxx_St").isNull());
    GoTo(*form, 3);
    QCOMPARE(ui.RGYxx->ItemIndex(), 0);
    QCOMPARE(Stored(3, "Yxx_St"), QVariant(QString()));
    QCOMPARE(ui.Edit1->text(), QString());
    GoTo(*form, 2);
    QCOMPARE(ui.RGYxx->ItemIndex(), 1);
    QCOMPARE(ui.Edit1->text(), QStringLiteral("2"));
    QCOMPARE(Stored(2, "AnswerResult").toString(), QStringLiteral("2"));
}

void TestUMainAnswering::PracticeFeedback()
{
    auto form = OpenExam("1", "01");
    QVERIFY(form);
    const TExamScreen ui(*form);
    QVERIFY(SheetButton(*form, 4));
    QVERIFY(ui.Label2->isHidden());
    QVERIFY(ui.Panel9->isHidden());
    QVERIFY(ui.Label1->isHidden());
    QCOMPARE(ui.Label1->text(), QStringLiteral("很遗憾，答错了，正确答案：1"));
    GoTo(*form, 4);
    for (QLabel *label : {ui.LabC, ui.LabA, ui.LabE})
        QTest::mouseClick(label, Qt::LeftButton);
    // A multiple choice is judged when confirmed.
    QTest::keyClick(ui.Edit1, Qt::Key_Return);
    QVERIFY(ui.Label1->isVisible());
    QCOMPARE(ui.Label1->text(), QStringLiteral("恭喜你答对了，正确答案：135"));
    QCOMPARE(Stored(4, "AnswerResult").toString(), QStringLiteral("135"));
    QTest::mouseClick(ui.LabB, Qt::LeftButton);
    QCOMPARE(ui.Label1->text(), QStringLiteral("很遗憾，答错了，正确答案：135"));
    QTest::mouseClick(ui.SpeedButton1, Qt::LeftButton);
    QVERIFY(ui.Label1->isHidden());
}

void TestUMainAnswering::ChapterPracticeHasNoSheet()
{
    auto form = OpenExam("2", "1");
    QVERIFY(form);
    const TExamScreen ui(*form);
    QVERIFY(!SheetButton(*form, 1));
    QVERIFY(ui.Label2->isHidden());
    QVERIFY(ui.Panel9->isHidden());
    QTest::keyClicks(ui.Edit1, "1");
    QCOMPARE(Stored(1, "AnswerResult").toString(), QStringLiteral("1"));
    QCOMPARE(ui.Label1->text(), QStringLiteral("恭喜你答对了，正确答案：1"));
    // Chapter practice runs for 480 minutes.
    QCOMPARE(ui.Clock->SecondsLeft(), 480 * 60);
}

void TestUMainAnswering::ClearedAnswerIsStoredAsEmptyText()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    const auto storedType = [this](int id, const char *column) {
        return Stored(id, qPrintable(QStringLiteral("typeof(%1)").arg(QString::fromLatin1(column)))).toString();
    };
    QCOMPARE(storedType(2, "AnswerResult"), QStringLiteral("null"));
    GoTo(*form, 2);
    QTest::keyClicks(ui.Edit1, "1");
    QCOMPARE(storedType(2, "AnswerResult"), QStringLiteral("text"));
    // An invalid entry clears the answer and its flag.
    QTest::keyClicks(ui.Edit1, "2");
    QCOMPARE(Stored(2, "AnswerResult").toString(), QString());
    QCOMPARE(storedType(2, "AnswerResult"), QStringLiteral("text"));
    QCOMPARE(storedType(2, "Yxx_St"), QStringLiteral("text"));
    // Emptied by hand.
    GoTo(*form, 3);
    QTest::keyClicks(ui.Edit1, "4");
    QTest::keyClick(ui.Edit1, Qt::Key_Backspace);
    QCOMPARE(storedType(3, "AnswerResult"), QStringLiteral("text"));
    QCOMPARE(Stored(3, "Yxx_St").toString(), QString());
    QCOMPARE(storedType(3, "Yxx_St"), QStringLiteral("text"));
    // The flag written when the selector follows an unanswered row.
    GoTo(*form, 1);
    QTest::keyClick(ui.Edit1, Qt::Key_End);
    QCOMPARE(storedType(1, "Yxx_St"), QStringLiteral("text"));
    GoTo(*form, 4);
    QCOMPARE(ui.RGYxx->ItemIndex(), 0);
    QCOMPARE(Stored(4, "Yxx_St").toString(), QString());
    QCOMPARE(storedType(4, "Yxx_St"), QStringLiteral("text"));
}

QTEST_MAIN(TestUMainAnswering)
#include "tst_UMainAnswering.moc"
