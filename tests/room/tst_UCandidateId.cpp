#include <QTest>

#include "UCandidateId.h"

// The sign-in's rules: resident ID numbers by their check digit and date of
// birth, other documents by their characters, and the name.
class TestUCandidateId : public QObject
{
    Q_OBJECT

private slots:
    void ResidentIdNumbers_data();
    void ResidentIdNumbers();
    void OtherDocumentNumbers_data();
    void OtherDocumentNumbers();
    void Names_data();
    void Names();
    void EntryComesBackTrimmedAndTheCheckLetterUpper();
    void OtherDocumentsSkipTheResidentRules();
};

namespace {

const QDate KToday(2026, 12, 9);

} // namespace

void TestUCandidateId::ResidentIdNumbers_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("problem"); // a word the message must hold; empty: accepted
    QTest::newRow("sound, check digit X") << "11010519491231002X"
                                          << "";
    QTest::newRow("sound, check digit 2") << "320102198511200012"
                                          << "";
    QTest::newRow("born on 29 February of a leap year") << "510107200002294564"
                                                        << "";
    QTest::newRow("lower-case x") << "11010519491231002x"
                                  << "";
    QTest::newRow("check digit off by one") << "320102198511200013"
                                            << "校验位";
    QTest::newRow("X where a digit belongs") << "32010219851120001X"
                                             << "校验位";
    QTest::newRow("two digits swapped") << "320102198511200102"
                                        << "校验位";
    QTest::newRow("empty") << ""
                           << "请输入";
    QTest::newRow("17 characters") << "32010219851120001"
                                   << "18位";
    QTest::newRow("19 characters") << "3201021985112000120"
                                   << "18位";
    QTest::newRow("letter inside") << "3201021985112A0012"
                                   << "数字";
    QTest::newRow("full-width digit") << "32010219851120001２"
                                      << "数字";
    QTest::newRow("30 February") << "320102198502300010"
                                 << "出生日期";
    QTest::newRow("month 13") << "320102198513200010"
                              << "出生日期";
    QTest::newRow("born tomorrow") << "320102202612100010"
                                   << "出生日期";
    QTest::newRow("born before 1900") << "320102189912310010"
                                      << "出生日期";
}

void TestUCandidateId::ResidentIdNumbers()
{
    QFETCH(QString, number);
    QFETCH(QString, problem);
    const QString found = ResidentIdProblem(number, KToday);
    if (problem.isEmpty())
        QVERIFY2(found.isEmpty(), qPrintable(found));
    else
        QVERIFY2(found.contains(problem), qPrintable(found));
}

void TestUCandidateId::OtherDocumentNumbers_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("passport") << "E12345678" << true;
    QTest::newRow("permit with dash") << "C-1234567" << true;
    QTest::newRow("officer's card in Chinese with brackets") << "军字第（2019）12345号" << true;
    QTest::newRow("32 characters") << QString(32, QLatin1Char('A')) << true;
    QTest::newRow("33 characters") << QString(33, QLatin1Char('A')) << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blank inside") << "E123 45678" << false;
    QTest::newRow("quote") << "E12'45678" << false;
    QTest::newRow("control character") << "E123\t5678" << false;
}

void TestUCandidateId::OtherDocumentNumbers()
{
    QFETCH(QString, number);
    QFETCH(bool, accepted);
    QCOMPARE(OtherIdProblem(number).isEmpty(), accepted);
}

void TestUCandidateId::Names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("two characters") << "王芳" << true;
    QTest::newRow("with the middle dot") << "阿依古丽·买买提" << true;
    QTest::newRow("latin letters") << "Anna Li" << true;
    QTest::newRow("blanks only") << "   " << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("41 characters") << QString(41, QChar(0x738B)) << false;
    QTest::newRow("zero-width space") << QStringLiteral("王\u200B芳") << false;
}

void TestUCandidateId::Names()
{
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    const TCandidateCheck check = CheckCandidate(QStringLiteral("11010519491231002X"), name, false, KToday);
    QCOMPARE(check.Accepted(), accepted);
    QCOMPARE(check.ProblemInName, !accepted);
}

void TestUCandidateId::EntryComesBackTrimmedAndTheCheckLetterUpper()
{
    const TCandidateCheck check = CheckCandidate(QStringLiteral(" 11010519491231002x "), QStringLiteral(" 王芳 "),
                                                 false, KToday);
    QVERIFY2(check.Accepted(), qPrintable(check.Problem));
    QCOMPARE(check.Candidate.IdNumber, QStringLiteral("11010519491231002X"));
    QCOMPARE(check.Candidate.Name, QStringLiteral("王芳"));

    // The number is checked before the name, and a wrong number is not the name's fault.
    const TCandidateCheck both = CheckCandidate(QStringLiteral("320102198511200013"), QString(), false, KToday);
    QVERIFY(both.Problem.contains(QStringLiteral("校验位")));
    QVERIFY(!both.ProblemInName);
}

void TestUCandidateId::OtherDocumentsSkipTheResidentRules()
{
    // A passport number is kept as typed: its letters are not the check letter.
    const TCandidateCheck passport = CheckCandidate(QStringLiteral("e12345678"), QStringLiteral("Anna"), true, KToday);
    QVERIFY(passport.Accepted());
    QCOMPARE(passport.Candidate.IdNumber, QStringLiteral("e12345678"));
    // A resident number with a wrong check digit passes as another document:
    // ticking the box is the candidate's statement that it is not one.
    QVERIFY(CheckCandidate(QStringLiteral("320102198511200013"), QStringLiteral("王芳"), true, KToday).Accepted());
    QVERIFY(!CheckCandidate(QStringLiteral("320102198511200013"), QStringLiteral("王芳"), false, KToday).Accepted());
}

QTEST_GUILESS_MAIN(TestUCandidateId)
#include "tst_UCandidateId.moc"
