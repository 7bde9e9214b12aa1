#include <QLabel>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QTest>

#include "ExamScreenFixture.h"
#include "TestSupport.h"
#include "UPostgresServer.h"

// An exam in a room whose server goes away in the middle: the answer that
// could not be committed stays on the screen, the candidate is told it is
// not saved, hand-in waits for it, and it is written once the server is back.
class TestUAnswerSaver : public TExamScreenTest
{
    Q_OBJECT

public:
    TestUAnswerSaver() { qputenv("EXAMORA_TEST_ENGINE", "postgres"); }

private slots:
    void init();
    void LostConnectionKeepsTheAnswerUntilTheServerIsBack();

private:
    // The test's own connection went down with the server too.
    void ReopenCheckingConnection() const
    {
        QSqlDatabase db = FBank->Db();
        db.close();
        QVERIFY(db.open());
    }
};

void TestUAnswerSaver::init()
{
    EXAMORA_REQUIRE_TEST_ENGINE();
    TExamScreenTest::init();
}

void TestUAnswerSaver::LostConnectionKeepsTheAnswerUntilTheServerIsBack()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    auto *notice = form->findChild<QLabel *>(QStringLiteral("LabUnsaved"));
    QVERIFY(notice);
    QTest::keyClicks(ui.Edit1, "1");
    QCOMPARE(Stored(1, "AnswerResult").toString(), QStringLiteral("1"));
    QVERIFY(!notice->isVisible());

    TPostgresServer::Shared().Stop();
    GoTo(*form, 2);
    QTest::keyClicks(ui.Edit1, "2");
    QCOMPARE(FMessages->Count(), 0);
    QVERIFY(notice->isVisible());
    QCOMPARE(notice->text(), QStringLiteral("1 题的答案尚未保存，正在重新连接考场服务器……"));
    // The answer stays the candidate's: on the screen and in the paper.
    GoTo(*form, 1);
    GoTo(*form, 2);
    QCOMPARE(ui.Edit1->text(), QStringLiteral("2"));
    // Scoring reads the stored answers: no hand-in while one is missing.
    QTest::keyClick(ui.Edit1, Qt::Key_Insert);
    QCOMPARE(FMessages->Count(), 1);
    QVERIFY(FMessages->Last().Text.contains(QStringLiteral("1 题的答案尚未保存到考场服务器，暂时不能交卷")));
    QVERIFY(ui.Edit1->isEnabled() && !ui.Edit1->isReadOnly());

    TPostgresServer::Shared().Start();
    QTRY_VERIFY_WITH_TIMEOUT(!notice->isVisible(), 30000);
    ReopenCheckingConnection();
    QCOMPARE(Stored(2, "AnswerResult").toString(), QStringLiteral("2"));
    // Answering goes on over the new connection.
    GoTo(*form, 3);
    QTest::keyClicks(ui.Edit1, "1");
    QTRY_VERIFY_WITH_TIMEOUT(!notice->isVisible(), 30000);
    QCOMPARE(Stored(3, "AnswerResult").toString(), QStringLiteral("1"));
    FMessages->Answer(1);
    FMessages->Answer(2);
    QTest::keyClick(ui.Edit1, Qt::Key_Insert);
    QCOMPARE(FMessages->Count(), 3);
    QVERIFY(FMessages->Shown()[2].Text.startsWith(QStringLiteral("本次答题共正确")));
    QCOMPARE(FBank->Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 0);
}

QTEST_MAIN(TestUAnswerSaver)
#include "tst_UAnswerSaver.moc"
