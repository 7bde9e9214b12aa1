#include <QTest>

#include "UExamRules.h"

class TestUExamRules : public QObject
{
    Q_OBJECT

private slots:
    void PracticeKindOf_data();
    void PracticeKindOf();
    void TrimEntry_data();
    void TrimEntry();
    void NormalAnswer_data();
    void NormalAnswer();
    void IsValidAnswerEntry_data();
    void IsValidAnswerEntry();
    void IsAnswerRight_data();
    void IsAnswerRight();
    void PracticeFeedbackNeedsTheExactAnswer();
    void ValidityFollowsTheStoredAnswer();
    void ClockText_data();
    void ClockText();
    void ClockTurnsRedInTheLastFiveMinutes();
    void QuestionTexts();
    void SummaryTexts();
};

void TestUExamRules::PracticeKindOf_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<TPracticeKind>("expected");
    QTest::newRow("empty is the mock exam") << "" << TPracticeKind::MockExam;
    QTest::newRow("0 is the mock exam") << "0" << TPracticeKind::MockExam;
    QTest::newRow("3 is the mock exam") << "3" << TPracticeKind::MockExam;
    QTest::newRow("1 is set practice") << "1" << TPracticeKind::SetPractice;
    QTest::newRow("2 is chapter practice") << "2" << TPracticeKind::ChapterPractice;
    QTest::newRow("padded 1 is not trimmed") << " 1" << TPracticeKind::MockExam;
    QTest::newRow("01 is no number reading") << "01" << TPracticeKind::MockExam;
    QTest::newRow("12 is no prefix match") << "12" << TPracticeKind::MockExam;
    QTest::newRow("unknown text is the mock exam") << "stale" << TPracticeKind::MockExam;
}

void TestUExamRules::PracticeKindOf()
{
    QFETCH(QString, mode);
    QFETCH(TPracticeKind, expected);
    QCOMPARE(::PracticeKindOf(mode), expected);
}

void TestUExamRules::TrimEntry_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("expected");
    QTest::newRow("blanks off both ends") << "  13 "
                                          << "13";
    QTest::newRow("inner blanks stay") << " 1 3 "
                                       << "1 3";
    QTest::newRow("tabs and line ends go") << "\t2\r\n"
                                           << "2";
    QTest::newRow("other control characters go") << QString(QChar(1)) + "4" + QChar(31) << "4";
    QTest::newRow("ideographic space stays") << QString(QChar(0x3000)) + "1" << QString(QChar(0x3000)) + "1";
    QTest::newRow("only blanks give empty") << " \t "
                                            << "";
}

void TestUExamRules::TrimEntry()
{
    QFETCH(QString, entry);
    QFETCH(QString, expected);
    QCOMPARE(::TrimEntry(entry), expected);
}

void TestUExamRules::NormalAnswer_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty stays empty") << ""
                                       << "";
    QTest::newRow("one digit") << "2"
                               << "2";
    QTest::newRow("digits sorted") << "31"
                                   << "13";
    QTest::newRow("clicks 3 1 5") << "315"
                                  << "135";
    QTest::newRow("all five reversed") << "54321"
                                       << "12345";
    QTest::newRow("only the first five count") << "654321"
                                               << "23456";
    QTest::newRow("zero is dropped") << "301"
                                     << "13";
    QTest::newRow("inner blank is dropped") << "3 1"
                                            << "13";
    QTest::newRow("letters sort by byte value") << "a1"
                                                << "1a";
}

void TestUExamRules::NormalAnswer()
{
    QFETCH(QString, entry);
    QFETCH(QString, expected);
    QCOMPARE(::NormalAnswer(entry), expected);
}

void TestUExamRules::IsValidAnswerEntry_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("offered");
    QTest::addColumn<bool>("valid");
    QTest::newRow("single: offered option") << "2" << 2 << "1234" << true;
    QTest::newRow("single: two digits") << "12" << 2 << "1234" << false;
    QTest::newRow("single: no such option") << "6" << 2 << "1234" << false;
    QTest::newRow("single: hidden option") << "2" << 2 << "134" << false;
    QTest::newRow("true/false: third option") << "3" << 1 << "12" << false;
    QTest::newRow("true/false: second option") << "2" << 1 << "12" << true;
    QTest::newRow("multiple: three distinct") << "315" << 3 << "12345" << true;
    QTest::newRow("multiple: repeated choice") << "131" << 3 << "12345" << false;
    QTest::newRow("multiple: hidden option") << "14" << 3 << "123" << false;
    QTest::newRow("multiple: six characters with repeat") << "123451" << 3 << "12345" << false;
    QTest::newRow("unknown type is not checked") << "xyz" << 7 << "12" << true;
}

void TestUExamRules::IsValidAnswerEntry()
{
    QFETCH(QString, entry);
    QFETCH(int, type);
    QFETCH(QString, offered);
    QFETCH(bool, valid);
    QCOMPARE(::IsValidAnswerEntry(entry, type, offered), valid);
}

void TestUExamRules::IsAnswerRight_data()
{
    QTest::addColumn<QString>("themeResult");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("right");
    QTest::newRow("same digits") << "13"
                                 << "13" << true;
    QTest::newRow("stored out of order never matches") << "31"
                                                       << "13" << false;
    QTest::newRow("blank before the digits") << " 13"
                                             << "13" << false;
    QTest::newRow("blank after the digits") << "13 "
                                            << "13" << false;
    QTest::newRow("letters regardless of case") << "ab"
                                                << "AB" << true;
    QTest::newRow("unanswered against an answer") << "1"
                                                  << "" << false;
    QTest::newRow("unanswered against empty result") << ""
                                                     << "" << true;
    QTest::newRow("non-ASCII letters keep their case") << "ä"
                                                       << "Ä" << false;
}

void TestUExamRules::IsAnswerRight()
{
    QFETCH(QString, themeResult);
    QFETCH(QString, answer);
    QFETCH(bool, right);
    QCOMPARE(::IsAnswerRight(themeResult, answer), right);
}

void TestUExamRules::PracticeFeedbackNeedsTheExactAnswer()
{
    QCOMPARE(PracticeFeedback("135", "135"), QStringLiteral("恭喜你答对了，正确答案：135"));
    QCOMPARE(PracticeFeedback("13", "135"), QStringLiteral("很遗憾，答错了，正确答案：135"));
    QCOMPARE(PracticeFeedback("ab", "AB"), QStringLiteral("很遗憾，答错了，正确答案：AB"));
    QCOMPARE(PracticeFeedback("", ""), QStringLiteral("恭喜你答对了，正确答案："));
    QCOMPARE(CorrectAnswerLine("24"), QStringLiteral("正确答案：24"));
}

void TestUExamRules::ValidityFollowsTheStoredAnswer()
{
    QCOMPARE(ValidityFlag("2", 1), QStringLiteral("1"));
    QCOMPARE(ValidityFlag("2", 0), QStringLiteral("0"));
    QCOMPARE(ValidityFlag("", 1), QString());
    QCOMPARE(ValidityIndexOf("1", "2"), 1);
    QCOMPARE(ValidityIndexOf("1", ""), 0);
    QCOMPARE(ValidityIndexOf("0", "2"), 0);
    QCOMPARE(ValidityIndexOf("", ""), 0);
    QCOMPARE(AnswerStateOf("", 1), asUnanswered);
    QCOMPARE(AnswerStateOf("2", 1), asUncertain);
    QCOMPARE(AnswerStateOf("2", 0), asCertain);
}

void TestUExamRules::ClockText_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << 0 << "00小时00分00秒";
    QTest::newRow("last second of an hour") << 3599 << "00小时59分59秒";
    QTest::newRow("one hour") << 3600 << "01小时00分00秒";
    QTest::newRow("chapter practice start") << 480 * 60 - 1 << "07小时59分59秒";
    QTest::newRow("three-digit hours") << 100 * 3600 + 61 << "100小时01分01秒";
}

void TestUExamRules::ClockText()
{
    QFETCH(int, seconds);
    QFETCH(QString, expected);
    QCOMPARE(::ClockText(seconds), expected);
}

void TestUExamRules::ClockTurnsRedInTheLastFiveMinutes()
{
    QCOMPARE(ClockColor(300), QColor(51, 51, 51));
    QCOMPARE(ClockColor(299), QColor(255, 0, 0));
    QCOMPARE(ClockColor(5), QColor(255, 0, 0));
    QCOMPARE(ClockColor(0), QColor(255, 0, 0));
}

void TestUExamRules::QuestionTexts()
{
    QCOMPARE(TypeLine(1), QStringLiteral("（本题为 判断）"));
    QCOMPARE(TypeLine(2), QStringLiteral("（本题为 单选）"));
    QCOMPARE(TypeLine(3), QStringLiteral("（本题为 多选）"));
    QCOMPARE(TypeLine(4), QStringLiteral("（本题为 ）"));
    QCOMPARE(QuestionLine("7", "题"), QStringLiteral("    7、题"));
}

void TestUExamRules::SummaryTexts()
{
    QCOMPARE(HandInSummary(90, 10, 90),
             QStringLiteral("本次答题共正确 90 道，错误 10 道，得分 90 分。\r是否需要查询答题信息？"));
    QCOMPARE(ChapterSummary(12), QStringLiteral("本次答题共正确 12 道。"));
}

QTEST_GUILESS_MAIN(TestUExamRules)
#include "tst_UExamRules.moc"
