#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "ExamScreenFixture.h"
#include "UAnswerSheetPanel.h"
#include "UExamAccessibility.h"
#include "UExamClock.h"
#include "UExamWidgets.h"

// What a screen reader is told of the exam screen, through the accessibility
// interfaces it reads, and how the sheet tells its states apart besides colour.

namespace {

QString Spoken(QWidget *widget, QAccessible::Text text)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(text) : QStringLiteral("<none>");
}

} // namespace

class TestUExamAccessibility : public TExamScreenTest
{
    Q_OBJECT

private slots:
    void EveryControlHasANameAndADescription();
    void QuestionAndOptionsAreReadByWhatTheyShow();
    void SheetButtonsSayNumberAndState();
    void ClockIsToldOnTheMinute();
    void ClockDescription_data();
    void ClockDescription();
};

void TestUExamAccessibility::EveryControlHasANameAndADescription()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    emit ui.Clock->Tick();
    const QList<QWidget *> controls{ui.LabCylb,      ui.LabTime,        ui.LabContent,
                                    ui.LabType,      ui.LabA,           ui.LabB,
                                    ui.Edit1,        ui.RGYxx->Item(0), ui.RGYxx->Item(1),
                                    ui.Label2,       ui.SpeedButton1,   ui.SpeedButton2,
                                    ui.SpeedButton3, ui.SpeedButton5,   SheetButton(*form, 1)};
    for (QWidget *control : controls) {
        const QByteArray name = control->objectName().toUtf8();
        QVERIFY2(!Spoken(control, QAccessible::Name).isEmpty(), name);
        QVERIFY2(!Spoken(control, QAccessible::Description).isEmpty() || control == SheetButton(*form, 1), name);
    }
    QCOMPARE(Spoken(ui.Edit1, QAccessible::Name), QStringLiteral("第 1 题答案"));
    QCOMPARE(Spoken(ui.LabTime, QAccessible::Name), QStringLiteral("剩余时间"));
    QCOMPARE(Spoken(ui.LabTime, QAccessible::Description), QStringLiteral("剩余 44 分钟"));
    QCOMPARE(Spoken(ui.SpeedButton3, QAccessible::Description), QStringLiteral("交卷并评分，Insert 键"));
    QCOMPARE(Spoken(ui.LabCylb, QAccessible::Name), QStringLiteral("小型汽车（C1、C2、C3、C4）"));
    QCOMPARE(Spoken(ui.RGYxx->Item(1), QAccessible::Name), QStringLiteral("不确定"));
}

void TestUExamAccessibility::QuestionAndOptionsAreReadByWhatTheyShow()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    QCOMPARE(Spoken(ui.LabContent, QAccessible::Name), QStringLiteral("    1、路口黄灯闪烁时应减速。"));
    QCOMPARE(Spoken(ui.LabA, QAccessible::Description), QStringLiteral("选项 1：单击本项或在答案框中输入 1 选择"));
    QTest::keyClick(ui.Edit1, Qt::Key_Down);
    QCOMPARE(CurrentId(*form), 2);
    // The focus stays in the entry, whose name goes with the question.
    QCOMPARE(QApplication::focusWidget(), ui.Edit1);
    QCOMPARE(Spoken(ui.Edit1, QAccessible::Name), QStringLiteral("第 2 题答案"));
    QCOMPARE(Spoken(ui.LabContent, QAccessible::Name), ui.LabContent->text());
    QCOMPARE(Spoken(ui.LabB, QAccessible::Name), ui.LabB->text());
    QVERIFY(ui.LabB->text().startsWith(QStringLiteral("2、")));
    // An option not offered is not there for a reader either.
    QAccessibleInterface *hidden = QAccessible::queryAccessibleInterface(ui.LabE);
    QVERIFY(hidden->state().invisible);
}

void TestUExamAccessibility::SheetButtonsSayNumberAndState()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    const auto button = [&](int number) { return qobject_cast<TSheetButton *>(SheetButton(*form, number)); };
    QCOMPARE(Spoken(button(2), QAccessible::Name), QStringLiteral("第 2 题：未答"));
    QCOMPARE(button(2)->StateSign(), QString());

    QTest::keyClicks(ui.Edit1, QStringLiteral("1"));
    QCOMPARE(Spoken(button(1), QAccessible::Name), QStringLiteral("第 1 题：已答"));
    QCOMPARE(button(1)->StateSign(), QStringLiteral("•"));
    QCOMPARE(button(1)->toolTip(), QStringLiteral("第 1 题：已答"));
    const QColor answered = button(1)->palette().color(QPalette::ButtonText);

    // End flags the answer as uncertain: a sign of its own, not only red.
    QTest::keyClick(ui.Edit1, Qt::Key_End);
    QCOMPARE(Spoken(button(1), QAccessible::Name), QStringLiteral("第 1 题：不确定"));
    QCOMPARE(button(1)->StateSign(), QStringLiteral("?"));
    QVERIFY(button(1)->palette().color(QPalette::ButtonText) != answered);
    QCOMPARE(button(1)->palette().color(QPalette::ButtonText), QColor(255, 25, 0));

    QTest::keyClick(ui.Edit1, Qt::Key_Backspace);
    QCOMPARE(Spoken(button(1), QAccessible::Name), QStringLiteral("第 1 题：未答"));
    QCOMPARE(button(1)->StateSign(), QString());
    QCOMPARE(button(1)->Mark(), QString());
    QCOMPARE(button(1)->text(), QStringLiteral("1"));
}

void TestUExamAccessibility::ClockIsToldOnTheMinute()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    ui.Clock->SetSecondsLeft(20 * 60 + 30);
    QStringList told;
    for (int tick = 0; tick < 90; ++tick) {
        emit ui.Clock->Tick();
        QCOMPARE(Spoken(ui.LabTime, QAccessible::Name), QStringLiteral("剩余时间"));
        const QString description = Spoken(ui.LabTime, QAccessible::Description);
        if (told.isEmpty() || told.last() != description)
            told << description;
    }
    QCOMPARE(ui.LabTime->text(), QStringLiteral("00小时19分00秒"));
    // Ninety seconds from 20:30: the description was set at the first tick
    // and changed once, at 19:59, while the clock's text changed every second.
    QCOMPARE(told, QStringList({"剩余 20 分钟", "剩余 19 分钟"}));
}

void TestUExamAccessibility::ClockDescription_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("description");
    QTest::newRow("hours and minutes") << 2 * 3600 + 5 * 60 + 59 << "剩余 2 小时 5 分钟";
    QTest::newRow("a whole hour") << 3600 << "剩余 1 小时 0 分钟";
    QTest::newRow("minutes as the clock shows them") << 3599 << "剩余 59 分钟";
    QTest::newRow("last minute") << 59 << "剩余不到 1 分钟";
    QTest::newRow("time up") << 0 << "时间已到";
}

void TestUExamAccessibility::ClockDescription()
{
    QFETCH(int, seconds);
    QFETCH(QString, description);
    QCOMPARE(::ClockDescription(seconds), description);
}

QTEST_MAIN(TestUExamAccessibility)
#include "tst_UExamAccessibility.moc"
