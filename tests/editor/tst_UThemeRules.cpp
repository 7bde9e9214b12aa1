#include <QTest>

#include "TestSupport.h"
#include "UDM.h"
#include "UQuery.h"
#include "UThemeRules.h"

class TestUThemeRules : public QObject
{
    Q_OBJECT

private slots:
    void NormaliseResult_data();
    void NormaliseResult();
    void CheckThemeDraft_data();
    void CheckThemeDraft();
    void NextThemeIdFollowsLargestNumber();
    void ChaptersInNumberOrder();
    void BlankOptionsBecomeEmptyText();
    void RecountFollowsBankAndReportsShortRows();
    void SearchFindsTypedTextLiterally_data();
    void SearchFindsTypedTextLiterally();
    void EmptySearchListsTheWholeBank();
};

void TestUThemeRules::NormaliseResult_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("already normal") << "134"
                                    << "134";
    QTest::newRow("out of order") << "31"
                                  << "13";
    QTest::newRow("repeated") << "2212"
                              << "12";
    QTest::newRow("separators and blanks") << " 1, 3|4 "
                                           << "134";
    QTest::newRow("empty") << ""
                           << "";
}

void TestUThemeRules::NormaliseResult()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QCOMPARE(::NormaliseResult(typed), expected);
}

void TestUThemeRules::CheckThemeDraft_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("message");
    const QStringList four{"甲", "乙", "丙", "丁", ""};
    QTest::newRow("single choice") << 2 << four << "3"
                                   << "";
    QTest::newRow("true or false") << 1 << QStringList{"正确", "错误", "", "", ""} << "2"
                                   << "";
    QTest::newRow("multiple out of order") << 3 << four << "41"
                                           << "";
    QTest::newRow("one option") << 2 << QStringList{"甲", " ", "", "", ""} << "1"
                                << "至少要有两个选项！";
    QTest::newRow("no answer") << 2 << four << " "
                               << "请输入答案！";
    QTest::newRow("letter answer") << 2 << four << "A"
                                   << "答案只能由选项号 1～5 组成！";
    QTest::newRow("six") << 2 << four << "6"
                         << "答案只能由选项号 1～5 组成！";
    QTest::newRow("answer on empty option") << 2 << four << "5"
                                            << "答案 5 对应的选项没有内容！";
    QTest::newRow("two answers for single") << 2 << four << "12"
                                            << "判断题和单选题只能有一个答案！";
    QTest::newRow("two answers for true or false") << 1 << four << "12"
                                                   << "判断题和单选题只能有一个答案！";
    QTest::newRow("one answer for multiple") << 3 << four << "2"
                                             << "多选题至少要有两个答案！";
}

void TestUThemeRules::CheckThemeDraft()
{
    QFETCH(int, type);
    QFETCH(QStringList, options);
    QFETCH(QString, result);
    QFETCH(QString, message);
    QCOMPARE(::CheckThemeDraft({type, options, result}), message);
}

void TestUThemeRules::NextThemeIdFollowsLargestNumber()
{
    TTestBank bank;
    QCOMPARE(NextThemeId(DM->ACon), 1);
    bank.AddTheme(7);
    bank.AddTheme(3);
    QCOMPARE(NextThemeId(DM->ACon), 8);
}

void TestUThemeRules::ChaptersInNumberOrder()
{
    TTestBank bank;
    bank.Exec("insert into T_KS_CHAPTER values (20, '安全驾驶')");
    bank.Exec("insert into T_KS_CHAPTER values (1, '道路交通安全法律法规')");
    const TChapterList chapters = ReadChapters(DM->ACon);
    QCOMPARE(chapters.Codes, (QStringList{"1", "20"}));
    QCOMPARE(chapters.Names, (QStringList{"道路交通安全法律法规", "安全驾驶"}));
}

void TestUThemeRules::BlankOptionsBecomeEmptyText()
{
    TTestBank bank;
    bank.AddTheme(1);
    TQuery query;
    query.SetConnection(DM->ACon);
    query.SetSQL("select * from T_KS_THEME");
    query.Open();
    query.Edit();
    query.FieldByName("ThemeSpareD")->SetValue(QVariant());
    query.FieldByName("ThemeSpareE")->SetValue(QVariant());
    EmptyTextForBlankOptions(query);
    query.Post();
    QCOMPARE(bank.Scalar("select Count(*) from T_KS_THEME where ThemeSpareD='' and ThemeSpareE=''").toInt(), 1);
    QCOMPARE(bank.Scalar("select ThemeSpareA from T_KS_THEME").toString(), QStringLiteral("甲"));
}

void TestUThemeRules::RecountFollowsBankAndReportsShortRows()
{
    TTestBank bank;
    bank.AddModel(1, "001", 0, 45);
    bank.AddContent(1, 1, 1, 2, 9, 2, 50, 100);
    bank.AddContent(1, 1, 1, 3, 9, 1, 0, 0);
    bank.AddTheme(1, {{"ThemeType", 2}});
    bank.AddTheme(2, {{"ThemeType", 2}});
    bank.AddTheme(3, {{"ThemeType", 2}, {"ZT", 0}});
    bank.AddTheme(4, {{"ThemeType", 2}, {"ThemeChapter", 20}});
    QCOMPARE(RecountTemplateRows(DM->ACon), 1);
    QCOMPARE(bank.Scalar("select ThemeCount from T_KS_ThemeModelContent where ThemeType=2").toInt(), 2);
    QCOMPARE(bank.Scalar("select ThemeCount from T_KS_ThemeModelContent where ThemeType=3").toInt(), 0);
}

namespace {

// The question numbers the list statement finds for a search, in order.
QList<int> Found(const QString &searchText)
{
    StoreThemeSearch(DM->ACon, searchText);
    TQuery query;
    query.SetConnection(DM->ACon);
    query.SetSQL(ThemeListSql(searchText) + " order by ThemeID");
    query.Open();
    QList<int> found;
    for (; !query.Eof(); query.Next())
        found << query.FieldByName("Xh")->AsInteger();
    return found;
}

void AddSearchThemes(TTestBank &bank)
{
    const QStringList contents{"开启100%的灯光", "开启1000盏灯", "a_b 路口",       "axb 路口", "驾驶人's 车",
                               "他说\"停车\"",   "注意!前方",    "第 12 题的说法", "普通题目"};
    for (int i = 0; i < contents.size(); ++i)
        bank.AddTheme(i + 11, {{"ThemeContent", contents[i]}});
}

} // namespace

void TestUThemeRules::SearchFindsTypedTextLiterally_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("found");
    QTest::newRow("words") << "路口" << QList<int>{13, 14};
    QTest::newRow("percent is no wildcard") << "100%" << QList<int>{11};
    QTest::newRow("underscore is no wildcard") << "a_b" << QList<int>{13};
    QTest::newRow("single quote") << "'s" << QList<int>{15};
    QTest::newRow("double quote") << "\"停车\"" << QList<int>{16};
    QTest::newRow("the escape character") << "!前" << QList<int>{17};
    QTest::newRow("number or text") << "12" << QList<int>{12, 18};
    QTest::newRow("number with blanks") << " 19 " << QList<int>{19};
    QTest::newRow("statement text finds nothing") << "' or 1=1 --" << QList<int>{};
    QTest::newRow("nothing like it") << "隧道" << QList<int>{};
}

void TestUThemeRules::SearchFindsTypedTextLiterally()
{
    QFETCH(QString, typed);
    QFETCH(QList<int>, found);
    TTestBank bank;
    AddSearchThemes(bank);
    QCOMPARE(Found(typed), found);
    // The search table belongs to the connection: the bank itself is unchanged.
    QCOMPARE(bank.Scalar("select Count(*) from sqlite_master where name like 'T_EditorSearch'").toInt(), 0);
}

void TestUThemeRules::EmptySearchListsTheWholeBank()
{
    TTestBank bank;
    AddSearchThemes(bank);
    QCOMPARE(ThemeListSql("  "), KThemePageSql);
    QCOMPARE(Found("路口"), (QList<int>{13, 14}));
    QCOMPARE(Found("").size(), 9);
    // A later search replaces the earlier one.
    QCOMPARE(Found("灯"), (QList<int>{11, 12}));
}

QTEST_GUILESS_MAIN(TestUThemeRules)

#include "tst_UThemeRules.moc"
