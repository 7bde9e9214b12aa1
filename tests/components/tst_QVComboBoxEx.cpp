#include <QTest>

#include "QVAdoQuery.h"
#include "QVComboBoxEx.h"
#include "TestSupport.h"
#include "UDM.h"
#include "UQVControlComm.h"

class TestQVComboBoxEx : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void SetValueSelectsByCode();
    void DefaultCodeOnlyForNewRecords();
    void CountMismatchClearsStateButNotText();
    void RequiredWhileEditing();
    void StateColours();

private:
    std::unique_ptr<TTestBank> FBank;
    std::unique_ptr<TQVAdoQuery> FQuery;
    std::unique_ptr<TQVComboBoxEx> FCombo;
};

void TestQVComboBoxEx::init()
{
    FBank = std::make_unique<TTestBank>();
    FBank->Exec(QStringLiteral("INSERT INTO T_KS_CHAPTER VALUES (1, '总则')"));
    FQuery = std::make_unique<TQVAdoQuery>();
    FQuery->SetConnection(DM->ACon);
    FQuery->SetSQL(QStringLiteral("select * from T_KS_CHAPTER"));
    FCombo = std::make_unique<TQVComboBoxEx>();
    FCombo->addItems({QStringLiteral("北京"), QStringLiteral("上海"), QStringLiteral("广州")});
    FCombo->SetValueItems({QStringLiteral("11"), QStringLiteral("31"), QStringLiteral("44")});
}

void TestQVComboBoxEx::cleanup()
{
    FCombo.reset();
    FQuery.reset();
    FBank.reset();
}

void TestQVComboBoxEx::SetValueSelectsByCode()
{
    FCombo->SetValue(QStringLiteral("31"));
    QCOMPARE(FCombo->SelectedIndex(), 1);
    QCOMPARE(FCombo->SelectedName(), QStringLiteral("上海"));
    QCOMPARE(FCombo->currentText(), QStringLiteral("上海"));
    QCOMPARE(FCombo->GetValue(), QVariant(QStringLiteral("31")));
    FCombo->SetValue(QStringLiteral("99"));
    QCOMPARE(FCombo->SelectedIndex(), -1);
    QCOMPARE(FCombo->SelectedCode(), QStringLiteral("99"));
    QCOMPARE(FCombo->SelectedName(), QString());
    QCOMPARE(FCombo->currentText(), QString());
    QCOMPARE(FCombo->GetValue(), QVariant());
    FCombo->SetValue(QVariant());
    QCOMPARE(FCombo->SelectedCode(), QString());
}

void TestQVComboBoxEx::DefaultCodeOnlyForNewRecords()
{
    FCombo->SetDefaultCode(QStringLiteral("44"));
    FCombo->SetDataSet(FQuery.get());
    FQuery->Open();
    FQuery->Edit();
    FCombo->SetValue(QVariant());
    QCOMPARE(FCombo->SelectedIndex(), -1);
    FQuery->Cancel();
    FQuery->Append();
    FCombo->SetValue(QStringLiteral("11"));
    QCOMPARE(FCombo->SelectedCode(), QStringLiteral("44"));
    QCOMPARE(FCombo->currentText(), QStringLiteral("广州"));
}

void TestQVComboBoxEx::CountMismatchClearsStateButNotText()
{
    TScriptedMessages messages;
    FCombo->SetValue(QStringLiteral("31"));
    FCombo->ValueItems().removeLast();
    FCombo->SetValue(QStringLiteral("11"));
    QCOMPARE(messages.Last().Text, QStringLiteral("TComboBox 赋值错误！"));
    QCOMPARE(FCombo->SelectedIndex(), -1);
    QCOMPARE(FCombo->SelectedCode(), QString());
    QCOMPARE(FCombo->currentText(), QStringLiteral("上海"));
}

void TestQVComboBoxEx::RequiredWhileEditing()
{
    TScriptedMessages messages;
    FCombo->SetIsMust(true);
    QVERIFY(FCombo->CheckValue()); // no query
    FCombo->SetDataSet(FQuery.get());
    FQuery->Open();
    QVERIFY(FCombo->CheckValue()); // browsing
    FQuery->Edit();
    QVERIFY(!FCombo->CheckValue());
    QCOMPARE(messages.Last().Text, QStringLiteral("本项是必填项！"));
    FCombo->SetValue(QStringLiteral("11"));
    QVERIFY(FCombo->CheckValue());
    QCOMPARE(messages.Count(), 1);
}

void TestQVComboBoxEx::StateColours()
{
    FCombo->SetDataSet(FQuery.get());
    FQuery->Open();
    FCombo->UpdateEditState();
    QCOMPARE(FCombo->palette().color(QPalette::Base), KQVReadOnlyColor);
    FQuery->Edit();
    FCombo->UpdateEditState();
    QCOMPARE(FCombo->palette().color(QPalette::Base), KQVEditableColor);
    FQuery->Cancel();
    FCombo->UpdateEditState();
    FCombo->SetCanEdit(false);
    FQuery->Edit();
    FCombo->UpdateEditState();
    QCOMPARE(FCombo->palette().color(QPalette::Base), KQVReadOnlyColor); // without CanEdit: left as it was
}

QTEST_MAIN(TestQVComboBoxEx)
#include "tst_QVComboBoxEx.moc"
