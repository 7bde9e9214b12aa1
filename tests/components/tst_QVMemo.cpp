#include <QTest>

#include "QVAdoQuery.h"
#include "QVMemo.h"
#include "TestSupport.h"
#include "UDM.h"
#include "UQVControlComm.h"

class TestQVMemo : public QObject
{
    Q_OBJECT

private slots:
    void ValueRules();
    void CheckAndStateFollowTheQuery();
};

void TestQVMemo::ValueRules()
{
    TQVMemo memo;
    memo.SetValue(QStringLiteral("第一行\n第二行"));
    QCOMPARE(memo.GetValue(), QVariant(QStringLiteral("第一行\n第二行")));
    memo.setPlainText(QStringLiteral(" \n "));
    QCOMPARE(memo.GetValue(), QVariant());
    memo.SetValue(QVariant());
    QCOMPARE(memo.toPlainText(), QString());
}

void TestQVMemo::CheckAndStateFollowTheQuery()
{
    TTestBank bank;
    bank.Exec(QStringLiteral("INSERT INTO T_KS_CHAPTER VALUES (1, '总则')"));
    TQVAdoQuery query;
    query.SetConnection(DM->ACon);
    query.SetSQL(QStringLiteral("select * from T_KS_CHAPTER"));
    TQVMemo memo;
    memo.SetIsMust(true);
    TScriptedMessages messages;

    memo.UpdateEditState(); // no query: untouched
    QVERIFY(!memo.isReadOnly());
    QVERIFY(memo.CheckValue());
    memo.SetDataSet(&query);
    query.Open();
    memo.UpdateEditState();
    QVERIFY(memo.isReadOnly());
    QCOMPARE(memo.palette().color(QPalette::Base), KQVReadOnlyColor);
    QVERIFY(memo.CheckValue()); // browsing
    query.Edit();
    memo.UpdateEditState();
    QVERIFY(!memo.isReadOnly());
    QCOMPARE(memo.palette().color(QPalette::Base), KQVEditableColor);
    QVERIFY(!memo.CheckValue());
    QCOMPARE(messages.Last().Text, QStringLiteral("本项是必填项！"));
    memo.setPlainText(QStringLiteral("有内容"));
    QVERIFY(memo.CheckValue());
    QCOMPARE(messages.Count(), 1);

    // Editing without CanEdit leaves the memo as it was (here: read-only).
    query.Cancel();
    memo.UpdateEditState();
    memo.SetCanEdit(false);
    query.Edit();
    memo.UpdateEditState();
    QVERIFY(memo.isReadOnly());
}

QTEST_MAIN(TestQVMemo)
#include "tst_QVMemo.moc"
