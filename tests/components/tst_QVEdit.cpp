#include <QDateTime>
#include <QTest>

#include "QVAdoQuery.h"
#include "QVEdit.h"
#include "TestSupport.h"
#include "UDM.h"
#include "UQVControlComm.h"

namespace {

const QString KRequired = QStringLiteral("本项是必填项！");
const QString KBadDate = QStringLiteral("请输入正确的日期！");
const QString KRange = QStringLiteral("日期范围应在\"1753-01-01\"至\"9999-12-31\"之间！");

} // namespace

class TestQVEdit : public QObject
{
    Q_OBJECT

private slots:
    void TextValue_data();
    void TextValue();
    void CheckMessage_data();
    void CheckMessage();
    void ValueText_data();
    void ValueText();
    void MaskedEditsKeepBlanks();
    void CheckOnlyWhileTheQueryEdits();
    void EditStateFollowsQueryAndCanEdit();
};

void TestQVEdit::TextValue_data()
{
    QTest::addColumn<int>("editType");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("text unchanged") << int(etText) << " ab " << QVariant(QStringLiteral(" ab "));
    QTest::newRow("blank text is null") << int(etText) << "   " << QVariant();
    QTest::newRow("number") << int(etNumber) << "12.5" << QVariant(12.5);
    QTest::newRow("blank number is null") << int(etNumber) << "  " << QVariant();
    QTest::newRow("bad number is null") << int(etNumber) << "12a" << QVariant();
    QTest::newRow("date") << int(etDate) << QStringLiteral("2024年03月05日") << QVariant(QDate(2024, 3, 5));
    QTest::newRow("empty date is null") << int(etDate) << QStringLiteral("    年  月  日") << QVariant();
    QTest::newRow("impossible date is null") << int(etDate) << QStringLiteral("2024年02月30日") << QVariant();
    QTest::newRow("time") << int(etTime) << "08:30" << QVariant(QTime(8, 30));
    QTest::newRow("empty time is null") << int(etTime) << "  :  " << QVariant();
    QTest::newRow("date-time") << int(etDateTime) << QStringLiteral("2024年03月05日 08:30")
                               << QVariant(QDateTime(QDate(2024, 3, 5), QTime(8, 30)));
    QTest::newRow("empty date-time is null") << int(etDateTime) << QStringLiteral("    年  月  日   :  ") << QVariant();
    QTest::newRow("unknown type is null") << 9 << "x" << QVariant();
}

void TestQVEdit::TextValue()
{
    QFETCH(int, editType);
    QFETCH(QString, text);
    QFETCH(QVariant, expected);
    QCOMPARE(QVEditTextValue(text, editType), expected);
}

void TestQVEdit::CheckMessage_data()
{
    QTest::addColumn<int>("editType");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isMust");
    QTest::addColumn<QString>("message");
    QTest::newRow("required text empty") << int(etText) << "  " << true << KRequired;
    QTest::newRow("optional text empty") << int(etText) << "" << false << "";
    QTest::newRow("number 12a") << int(etNumber) << "12a" << false << QStringLiteral("请输入正确的数字！");
    QTest::newRow("blank number optional") << int(etNumber) << "   " << false << "";
    QTest::newRow("blank number required") << int(etNumber) << "   " << true << KRequired;
    QTest::newRow("first allowed date") << int(etDate) << QStringLiteral("1753年01月01日") << true << "";
    QTest::newRow("last allowed date") << int(etDate) << QStringLiteral("9999年12月31日") << true << "";
    QTest::newRow("date before range") << int(etDate) << QStringLiteral("1752年12月31日") << false << KRange;
    QTest::newRow("date with only the year") << int(etDate) << QStringLiteral("2024年  月  日") << false << KBadDate;
    QTest::newRow("empty date optional") << int(etDate) << QStringLiteral("    年  月  日") << false << "";
    QTest::newRow("empty date required") << int(etDate) << QStringLiteral("    年  月  日") << true << KRequired;
    QTest::newRow("bad time") << int(etTime) << "25:10" << false << QStringLiteral("请输入正确的时间！");
    QTest::newRow("empty time required") << int(etTime) << "  :  " << true << KRequired;
    QTest::newRow("date-time with impossible date")
        << int(etDateTime) << QStringLiteral("2024年13月01日 10:00") << false << KBadDate;
    QTest::newRow("date-time with bad time says date")
        << int(etDateTime) << QStringLiteral("2024年01月01日 29:00") << false << KBadDate;
    QTest::newRow("date-time has no range check")
        << int(etDateTime) << QStringLiteral("1700年01月01日 10:00") << false << "";
    QTest::newRow("empty date-time required")
        << int(etDateTime) << QStringLiteral("    年  月  日   :  ") << true << KRequired;
    QTest::newRow("unknown type passes") << 7 << "" << true << "";
}

void TestQVEdit::CheckMessage()
{
    QFETCH(int, editType);
    QFETCH(QString, text);
    QFETCH(bool, isMust);
    QFETCH(QString, message);
    QCOMPARE(QVEditCheckMessage(text, editType, isMust), message);
}

void TestQVEdit::ValueText_data()
{
    QTest::addColumn<int>("editType");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("null empties") << int(etDate) << QVariant() << "";
    QTest::newRow("empty text empties") << int(etText) << QVariant(QString()) << "";
    QTest::newRow("number as text") << int(etNumber) << QVariant(3.5) << "3.5";
    QTest::newRow("date value") << int(etDate) << QVariant(QDate(2023, 1, 9)) << QStringLiteral("2023年01月09日");
    QTest::newRow("date stored as text") << int(etDate) << QVariant(QStringLiteral("2023-01-09"))
                                         << QStringLiteral("2023年01月09日");
    QTest::newRow("time stored as text") << int(etTime) << QVariant(QStringLiteral("07:05:00")) << "07:05";
    QTest::newRow("date-time stored as text")
        << int(etDateTime) << QVariant(QStringLiteral("2023-01-09T07:05:00")) << QStringLiteral("2023年01月09日 07:05");
}

void TestQVEdit::ValueText()
{
    QFETCH(int, editType);
    QFETCH(QVariant, value);
    QFETCH(QString, text);
    QString shown = QStringLiteral("old");
    QVERIFY(QVEditValueText(value, editType, shown));
    QCOMPARE(shown, text);
    QString unchanged = QStringLiteral("old");
    QVERIFY(!QVEditValueText(QVariant(QStringLiteral("x")), 5, unchanged));
    QCOMPARE(unchanged, QStringLiteral("old"));
}

void TestQVEdit::MaskedEditsKeepBlanks()
{
    TQVEdit edit;
    edit.SetEditType(etDate);
    QTest::keyClicks(&edit, QStringLiteral("2024"));
    QCOMPARE(edit.GetValue(), QVariant());
    QCOMPARE(QVEditCheckMessage(edit.displayText(), etDate, false), KBadDate);
    edit.SetValue(QDate(2020, 2, 29));
    QCOMPARE(edit.displayText(), QStringLiteral("2020年02月29日"));
    QCOMPARE(edit.GetValue(), QVariant(QDate(2020, 2, 29)));

    edit.SetEditType(etDateTime);
    edit.SetValue(QDateTime(QDate(2021, 5, 6), QTime(7, 8)));
    QCOMPARE(edit.GetValue(), QVariant(QDateTime(QDate(2021, 5, 6), QTime(7, 8))));
    edit.SetValue(QVariant());
    QCOMPARE(edit.GetValue(), QVariant());
}

void TestQVEdit::CheckOnlyWhileTheQueryEdits()
{
    TTestBank bank;
    bank.Exec(QStringLiteral("INSERT INTO T_KS_CHAPTER VALUES (1, '总则')"));
    QWidget form;
    TQVAdoQuery query(&form);
    query.SetConnection(DM->ACon);
    query.SetSQL(QStringLiteral("select * from T_KS_CHAPTER"));
    auto *edit = new TQVEdit(&form);
    edit->SetEditType(etNumber);
    edit->SetIsMust(true);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));

    TScriptedMessages messages;
    QVERIFY(edit->CheckValue()); // no query
    edit->SetDataSet(&query);
    query.Open();
    QVERIFY(edit->CheckValue()); // browsing
    query.Edit();
    QVERIFY(!edit->CheckValue());
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(messages.Last().Caption, QStringLiteral("错误"));
    QCOMPARE(messages.Last().Icon, TMsgIcon::Error);
    QCOMPARE(messages.Last().Text, KRequired);
    QVERIFY(edit->hasFocus());
}

void TestQVEdit::EditStateFollowsQueryAndCanEdit()
{
    TTestBank bank;
    bank.Exec(QStringLiteral("INSERT INTO T_KS_CHAPTER VALUES (1, '总则')"));
    TQVAdoQuery query;
    query.SetConnection(DM->ACon);
    query.SetSQL(QStringLiteral("select * from T_KS_CHAPTER"));
    TQVEdit edit;
    const auto base = [&edit] { return edit.palette().color(QPalette::Base); };

    edit.UpdateEditState(); // no query: left alone
    QVERIFY(!edit.isReadOnly());
    edit.SetDataSet(&query);
    query.Open();
    edit.UpdateEditState();
    QVERIFY(edit.isReadOnly());
    QCOMPARE(base(), KQVReadOnlyColor);
    query.Edit();
    edit.UpdateEditState();
    QVERIFY(!edit.isReadOnly());
    QCOMPARE(base(), KQVEditableColor);
    edit.SetCanEdit(false);
    edit.UpdateEditState();
    QVERIFY(edit.isReadOnly());
    QCOMPARE(base(), KQVReadOnlyColor);
}

QTEST_MAIN(TestQVEdit)
#include "tst_QVEdit.moc"
