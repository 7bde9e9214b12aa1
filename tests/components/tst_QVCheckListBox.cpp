#include <QTest>

#include "QVCheckListBox.h"
#include "TestSupport.h"

class TestQVCheckListBox : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void SetValue_data();
    void SetValue();
    void GetValueJoinsCodesOrTexts();
    void CountMismatchIsReported();
    void RequiredNeedsOneCheckedItem();

private:
    std::unique_ptr<TQVCheckListBox> FBox;
};

void TestQVCheckListBox::init()
{
    FBox = std::make_unique<TQVCheckListBox>();
    FBox->SetItems({QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")});
    FBox->SetValueItems({QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("03")});
}

void TestQVCheckListBox::SetValue_data()
{
    QTest::addColumn<int>("valueMode");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("checked");
    QTest::newRow("both separators") << 0 << QVariant(QStringLiteral("|01|03|")) << "101";
    QTest::newRow("no leading separator loses the first") << 0 << QVariant(QStringLiteral("01|03|")) << "001";
    QTest::newRow("no trailing separator loses the last") << 0 << QVariant(QStringLiteral("|01|03")) << "100";
    QTest::newRow("neither separator") << 0 << QVariant(QStringLiteral("01|03")) << "000";
    QTest::newRow("blank and unknown entries skipped") << 0 << QVariant(QStringLiteral("| |09|02|")) << "010";
    QTest::newRow("null unchecks all") << 0 << QVariant() << "000";
    QTest::newRow("texts in text mode") << 1 << QVariant(QStringLiteral("|二|三|")) << "011";
    QTest::newRow("codes ignored in text mode") << 1 << QVariant(QStringLiteral("|01|")) << "000";
}

void TestQVCheckListBox::SetValue()
{
    QFETCH(int, valueMode);
    QFETCH(QVariant, value);
    QFETCH(QString, checked);
    FBox->SetValueMode(valueMode);
    FBox->SetChecked(1, true);
    FBox->SetValue(value);
    QString states;
    for (int i = 0; i < FBox->count(); ++i)
        states += FBox->Checked(i) ? QLatin1Char('1') : QLatin1Char('0');
    QCOMPARE(states, checked);
}

void TestQVCheckListBox::GetValueJoinsCodesOrTexts()
{
    QCOMPARE(FBox->GetValue(), QVariant());
    FBox->SetChecked(0, true);
    FBox->SetChecked(2, true);
    QCOMPARE(FBox->GetValue(), QVariant(QStringLiteral("|01|03|")));
    FBox->SetValueMode(1);
    QCOMPARE(FBox->GetValue(), QVariant(QStringLiteral("|一|三|")));
    // What GetValue gives, SetValue takes back.
    FBox->SetValue(FBox->GetValue());
    QVERIFY(FBox->Checked(0) && !FBox->Checked(1) && FBox->Checked(2));
}

void TestQVCheckListBox::CountMismatchIsReported()
{
    TScriptedMessages messages;
    FBox->SetChecked(0, true);
    FBox->ValueItems().removeLast();
    QCOMPARE(FBox->GetValue(), QVariant());
    QCOMPARE(messages.Last().Text, QStringLiteral("TQVCheckListBox 赋值错误！"));
    QCOMPARE(messages.Last().Caption, QStringLiteral("错误"));
    FBox->SetValue(QStringLiteral("|02|"));
    QCOMPARE(messages.Count(), 2);
    QVERIFY(FBox->Checked(0)); // unchanged
    QVERIFY(!FBox->Checked(1));
}

void TestQVCheckListBox::RequiredNeedsOneCheckedItem()
{
    TScriptedMessages messages;
    QVERIFY(FBox->CheckValue());
    FBox->SetIsMust(true);
    // No query at all: still required.
    QVERIFY(!FBox->CheckValue());
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(messages.Last().Text, QStringLiteral("本项是必填项！"));
    FBox->SetChecked(2, true);
    QVERIFY(FBox->CheckValue());
    QCOMPARE(messages.Count(), 1);
}

QTEST_MAIN(TestQVCheckListBox)
#include "tst_QVCheckListBox.moc"
