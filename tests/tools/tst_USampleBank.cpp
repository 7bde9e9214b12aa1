#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include "app/UDbError.h"
#include "app/UIniFile.h"
#include "app/UJpeg.h"
#include "paper/UPaperDraw.h"
#include "tests/common/TestSupport.h"
#include "tools/UBankFile.h"
#include "tools/USampleBank.h"

namespace {

const QString KSafetyChapters = QStringLiteral("20,21,22,23,24,25,26");

QSqlQuery Run(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        QTest::qFail(qPrintable(query.lastError().text() + QStringLiteral(" in ") + sql), __FILE__, __LINE__);
    return query;
}

int Count(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query = Run(db, sql);
    return query.next() ? query.value(0).toInt() : -1;
}

QByteArray Table(const QString &rows)
{
    return (QStringLiteral("ThemeID\tThemeChapter\tThemeType\tTT\tThemeContent\tThemeSpareA\tThemeSpareB\t"
                           "ThemeSpareC\tThemeSpareD\tThemeSpareE\tThemeResult\tPicture\n") + rows).toUtf8();
}

} // namespace

class TTestSampleBank : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void templatesFollowTheRules_data();
    void templatesFollowTheRules();
    void mockExamDrawFillsThePaper_data();
    void mockExamDrawFillsThePaper();
    void bankHoldsBothChapterGroups();
    void picturesAreWholeJpegs();
    void answersNameOfferedOptionsInOrder();
    void setsHoldTwentyToTwentyFiveQuestionsOfOneGroup();
    void secondWriteFailsAndLeavesTheBankAsItWas();
    void parserRejectsBrokenRows_data();
    void parserRejectsBrokenRows();
    void parserReadsAWellFormedRow();

private:
    QTemporaryDir FDir;
    std::unique_ptr<TTestBank> FBank;
    QSqlDatabase FSample;
    QSqlDatabase FSynthetic;
};

void TTestSampleBank::initTestCase()
{
    QVERIFY(FDir.isValid());
    // The sample bank lives in a program folder, so that the draw can run on it.
    FBank = std::make_unique<TTestBank>();
    FSample = FBank->Db();
    WriteSampleBank(FSample);
    FSynthetic = CreateBankFile(FDir.filePath(QStringLiteral("synthetic.mdb")), QStringLiteral("synthetic"));
    WriteSyntheticBank(FSynthetic, 600, 0.05, 8 * 1024);
}

void TTestSampleBank::cleanupTestCase()
{
    FSynthetic.close();
    FSample = FSynthetic = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("synthetic"));
    FBank.reset();
}

void TTestSampleBank::templatesFollowTheRules_data()
{
    QTest::addColumn<QString>("bank");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("points");
    const QList<QString> banks{QStringLiteral("sample"), QStringLiteral("synthetic")};
    for (const QString &bank : banks) {
        for (const char *code : {"001", "002", "003", "004"})
            QTest::addRow("%s %s", qPrintable(bank), code) << bank << QString::fromLatin1(code) << 45 << 100 << 1;
        for (const char *code : {"005", "101", "102", "103", "104"})
            QTest::addRow("%s %s", qPrintable(bank), code) << bank << QString::fromLatin1(code) << 30 << 50 << 2;
    }
}

// What the paper generator relies on: one active template per class, points
// adding up to 100, and every row's ThemeCount equal to what the draw's own
// candidate statement returns, with enough candidates for its SelectCount.
void TTestSampleBank::templatesFollowTheRules()
{
    QFETCH(QString, bank);
    QFETCH(QString, code);
    QFETCH(int, minutes);
    QFETCH(int, questions);
    QFETCH(int, points);
    const QSqlDatabase db = bank == QLatin1String("sample") ? FSample : FSynthetic;
    QSqlQuery model = Run(db, QStringLiteral("Select * From T_Ks_Model Where IsUser=1 And DirvesType='%1'").arg(code));
    QVERIFY(model.next());
    const int modelId = model.value(QStringLiteral("ModelID")).toInt();
    QCOMPARE(model.value(QStringLiteral("KSSJ")).toInt(), minutes);
    QVERIFY(!model.value(QStringLiteral("RandomTheme")).isNull());
    QVERIFY2(!model.next(), "more than one active template");

    QSqlQuery rows = Run(db, QStringLiteral("Select * From T_Ks_ThemeModelContent Where ModelID=%1").arg(modelId));
    int bitTotal = 0;
    int selected = 0;
    const QString chapters = code.startsWith(QLatin1Char('1')) ? KSafetyChapters : QStringLiteral("1");
    while (rows.next()) {
        const QString part = rows.value(QStringLiteral("ThemePart")).toString();
        const QString chapter = rows.value(QStringLiteral("ThemeChapter")).toString();
        const QString type = rows.value(QStringLiteral("ThemeType")).toString();
        const int candidates = Count(db, QStringLiteral("Select Count(*) From T_Ks_Theme Where ZT=1 and ThemePart=%1 "
                                                        "And ThemeChapter=%2 And ThemeType=%3").arg(part, chapter, type));
        const int selectCount = rows.value(QStringLiteral("SelectCount")).toInt();
        QCOMPARE(rows.value(QStringLiteral("ThemeCount")).toInt(), candidates);
        QVERIFY(selectCount >= 0 && selectCount <= candidates);
        QCOMPARE(rows.value(QStringLiteral("ThemeBit")).toInt(), points);
        QCOMPARE(rows.value(QStringLiteral("BitCount")).toInt(), selectCount * points);
        QVERIFY2(chapters.split(QLatin1Char(',')).contains(chapter), qPrintable(chapter));
        bitTotal += rows.value(QStringLiteral("BitCount")).toInt();
        selected += selectCount;
    }
    QCOMPARE(bitTotal, 100);
    QCOMPARE(selected, questions);
}

void TTestSampleBank::mockExamDrawFillsThePaper_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("chapters");
    for (const char *code : {"001", "002", "003", "004"})
        QTest::newRow(code) << QString::fromLatin1(code) << 100 << QStringLiteral("1");
    QTest::newRow("005") << QStringLiteral("005") << 50 << QStringLiteral("1");
    for (const char *code : {"101", "102", "103", "104"})
        QTest::newRow(code) << QString::fromLatin1(code) << 50 << KSafetyChapters;
}

// The program's own check and draw on the sample bank: a full paper of
// distinct questions from the class's chapters, worth 100 points.
void TTestSampleBank::mockExamDrawFillsThePaper()
{
    QFETCH(QString, code);
    QFETCH(int, questions);
    QFETCH(QString, chapters);
    const QString modelId = FBank->Scalar(QStringLiteral("select ModelID from T_KS_Model where IsUser=1 and DirvesType='%1'").arg(code)).toString();
    QVERIFY(CheckTemplate(modelId));
    TPaperDraw draw(modelId);
    draw.DrawQuestions();
    const QStringList drawn = draw.DrawnThemeIDs();
    QCOMPARE(drawn.size(), questions);
    QCOMPARE(QSet<QString>(drawn.begin(), drawn.end()).size(), questions);
    QCOMPARE(FBank->Scalar(QStringLiteral("select Count(*) from T_KS_THEME where ThemeID in (%1) and ThemeChapter in (%2)")
                             .arg(drawn.join(QLatin1Char(',')), chapters)).toInt(), questions);
    const TIniFile cfg(ThemeCfgFileName());
    int points = 0;
    for (int n = 1; n <= questions; ++n)
        points += cfg.ReadString(QString::number(n), QStringLiteral("ThemeBit"), QStringLiteral("0")).toInt();
    QCOMPARE(points, 100);
}

void TTestSampleBank::bankHoldsBothChapterGroups()
{
    QVERIFY(Count(FSample, QStringLiteral("select Count(*) from T_KS_THEME where THEMECHAPTER in (1)")) >= 200);
    QVERIFY(Count(FSample, QStringLiteral("select Count(*) from T_KS_THEME where THEMECHAPTER in (%1)").arg(KSafetyChapters)) >= 100);
    QCOMPARE(Count(FSample, QStringLiteral("select Count(*) from T_KS_THEME where THEMECHAPTER not in (1,%1)").arg(KSafetyChapters)), 0);
    // Every chapter in the practice list has questions, and every safety
    // chapter offers all three question types.
    QSqlQuery chapters = Run(FSample, QStringLiteral("select ThemeChapter,THEMENAME from T_KS_CHAPTER"));
    int chapterCount = 0;
    while (chapters.next()) {
        ++chapterCount;
        const int chapter = chapters.value(0).toInt();
        QVERIFY(!chapters.value(1).toString().isEmpty());
        const int types = Count(FSample, QStringLiteral("select Count(Distinct ThemeType) from T_KS_THEME where ThemeChapter=%1").arg(chapter));
        QCOMPARE(types, chapter == 1 ? 2 : 3);
    }
    QCOMPARE(chapterCount, 8);
}

void TTestSampleBank::picturesAreWholeJpegs()
{
    QSqlQuery pictures = Run(FSample, QStringLiteral("select ThemeID, ThemeImage from T_KS_THEME where ThemeImage is not null"));
    int count = 0;
    while (pictures.next()) {
        ++count;
        const QImage image = DecodeJpeg(pictures.value(1).toByteArray());
        QVERIFY2(image.width() >= 300 && image.height() >= 200, qPrintable(pictures.value(0).toString()));
    }
    QVERIFY(count >= 20);
}

// The exam screen offers an option only when its text is not empty, and
// answers are stored as ascending digits, so a result must follow both.
void TTestSampleBank::answersNameOfferedOptionsInOrder()
{
    QSqlQuery questions = Run(FSample, QStringLiteral("select * from T_KS_THEME"));
    const QStringList options{QStringLiteral("ThemeSpareA"), QStringLiteral("ThemeSpareB"), QStringLiteral("ThemeSpareC"),
                              QStringLiteral("ThemeSpareD"), QStringLiteral("ThemeSpareE")};
    while (questions.next()) {
        const QString id = questions.value(QStringLiteral("ThemeID")).toString();
        const int type = questions.value(QStringLiteral("ThemeType")).toInt();
        const QString result = questions.value(QStringLiteral("ThemeResult")).toString();
        QStringList texts;
        for (const QString &option : options) {
            QVERIFY2(!questions.value(option).isNull(), qPrintable(id));
            texts << questions.value(option).toString();
        }
        QVERIFY2(questions.value(QStringLiteral("ThemeSpareF")).isNull(), qPrintable(id));
        QCOMPARE(questions.value(QStringLiteral("ZT")).toInt(), 1);
        QVERIFY2(!questions.value(QStringLiteral("ThemeContent")).toString().isEmpty(), qPrintable(id));
        if (type == 1)
            QCOMPARE(texts, QStringList({QStringLiteral("正确"), QStringLiteral("错误"), QString(), QString(), QString()}));
        else
            QVERIFY2(texts.mid(0, 4).count(QString()) == 0 && texts[4].isEmpty(), qPrintable(id));
        QVERIFY2(type == 3 ? result.size() >= 2 : result.size() == 1, qPrintable(id));
        for (int i = 0; i < result.size(); ++i) {
            const int option = result[i].digitValue();
            QVERIFY2(option >= 1 && option <= 5 && !texts[option - 1].isEmpty(), qPrintable(id));
            QVERIFY2(i == 0 || result[i - 1].digitValue() < option, qPrintable(id));
        }
    }
}

// A set is listed under the chapter filter of a licence class, so it must
// not mix chapter 1 with the safety chapters.
void TTestSampleBank::setsHoldTwentyToTwentyFiveQuestionsOfOneGroup()
{
    QCOMPARE(Count(FSample, QStringLiteral("select Count(*) from T_KS_THEME where TT is null or TT=''")), 0);
    QSqlQuery sets = Run(FSample, QStringLiteral("select TT, Count(*), Sum(ThemeChapter=1), Min(length(TT)) from T_KS_THEME group by TT"));
    int setCount = 0;
    while (sets.next()) {
        ++setCount;
        const QString set = sets.value(0).toString();
        const int size = sets.value(1).toInt();
        const int inChapterOne = sets.value(2).toInt();
        QVERIFY2(size >= 20 && size <= 25, qPrintable(set));
        QVERIFY2(inChapterOne == 0 || inChapterOne == size, qPrintable(set));
        QCOMPARE(sets.value(3).toInt(), 2);
    }
    QVERIFY(setCount >= 10);
}

void TTestSampleBank::secondWriteFailsAndLeavesTheBankAsItWas()
{
    const int before = Count(FSample, QStringLiteral("select Count(*) from T_KS_THEME"));
    const int templates = Count(FSample, QStringLiteral("select Count(*) from T_KS_Model"));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, WriteSampleBank(FSample));
    QCOMPARE(Count(FSample, QStringLiteral("select Count(*) from T_KS_THEME")), before);
    QCOMPARE(Count(FSample, QStringLiteral("select Count(*) from T_KS_Model")), templates);
}

void TTestSampleBank::parserRejectsBrokenRows_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::newRow("missing cell") << Table(QStringLiteral("1\t1\t2\t01\t题\t甲\t乙\t丙\t丁\t\t1\n"));
    QTest::newRow("answer not ascending") << Table(QStringLiteral("1\t20\t3\t01\t题\t甲\t乙\t丙\t丁\t\t31\t\n"));
    QTest::newRow("answer names empty option") << Table(QStringLiteral("1\t1\t1\t01\t题\t正确\t错误\t\t\t\t3\t\n"));
    QTest::newRow("single choice with two answers") << Table(QStringLiteral("1\t1\t2\t01\t题\t甲\t乙\t丙\t丁\t\t12\t\n"));
    QTest::newRow("empty answer") << Table(QStringLiteral("1\t1\t2\t01\t题\t甲\t乙\t丙\t丁\t\t\t\n"));
    QTest::newRow("letter answer") << Table(QStringLiteral("1\t1\t2\t01\t题\t甲\t乙\t丙\t丁\t\tA\t\n"));
    QTest::newRow("unknown type") << Table(QStringLiteral("1\t1\t4\t01\t题\t甲\t乙\t丙\t丁\t\t1\t\n"));
    QTest::newRow("id not a number") << Table(QStringLiteral("x\t1\t2\t01\t题\t甲\t乙\t丙\t丁\t\t1\t\n"));
    QTest::newRow("no text") << Table(QStringLiteral("1\t1\t2\t01\t\t甲\t乙\t丙\t丁\t\t1\t\n"));
    QTest::newRow("wrong header") << QByteArray("ThemeID\tThemeChapter\n1\t1\n");
}

void TTestSampleBank::parserRejectsBrokenRows()
{
    QFETCH(QByteArray, table);
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, ParseSampleQuestions(table, QStringLiteral("test")));
}

void TTestSampleBank::parserReadsAWellFormedRow()
{
    const QList<TSampleQuestion> questions =
        ParseSampleQuestions(Table(QStringLiteral("2101\t21\t3\t12\t题目\t甲\t乙\t丙\t丁\t\t134\tmark-stop\r\n\n")),
                             QStringLiteral("test"));
    QCOMPARE(questions.size(), 1);
    const TSampleQuestion &question = questions.first();
    QCOMPARE(question.Id, 2101);
    QCOMPARE(question.Chapter, 21);
    QCOMPARE(question.Type, 3);
    QCOMPARE(question.Set, QStringLiteral("12"));
    QCOMPARE(question.Options, QStringList({QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙"),
                                            QStringLiteral("丁"), QString()}));
    QCOMPARE(question.Result, QStringLiteral("134"));
    QCOMPARE(question.PictureKey, QStringLiteral("mark-stop"));
}

QTEST_MAIN(TTestSampleBank)
#include "tst_USampleBank.moc"
