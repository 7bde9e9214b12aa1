#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include "TestSupport.h"
#include "UBankCheck.h"
#include "UBankFile.h"
#include "UDbError.h"
#include "UIniFile.h"
#include "UJpeg.h"
#include "UPaperDraw.h"
#include "USampleBank.h"

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

const QString KHeader = QStringLiteral(
    "ThemeID\tThemeChapter\tThemePart\tThemeType\tTT\tThemeContent\tThemeSpareA\t"
    "ThemeSpareB\tThemeSpareC\tThemeSpareD\tThemeSpareE\tThemeResult\tPicture\tExplanation\n");

enum TColumn { CId, CChapter, CPart, CType, CSet, CContent, CA, CB, CC, CD, CE, CResult, CPicture, CExplanation };

// A sound question of k1-road.tsv of each type, to be broken cell by cell.
QStringList GoodRow(int type)
{
    if (type == 1)
        return {QStringLiteral("2001"),
                QStringLiteral("1"),
                QStringLiteral("3"),
                QStringLiteral("1"),
                QStringLiteral("13"),
                QStringLiteral("机动车应当在规定的车道内行驶。"),
                QStringLiteral("正确"),
                QStringLiteral("错误"),
                QString(),
                QString(),
                QString(),
                QStringLiteral("1"),
                QString(),
                QStringLiteral("《道路交通安全法》规定机动车在规定车道内行驶。")};
    QStringList row{QStringLiteral("2002"),
                    QStringLiteral("1"),
                    QStringLiteral("3"),
                    QString::number(type),
                    QStringLiteral("14"),
                    QStringLiteral("这是什么规定？"),
                    QStringLiteral("甲"),
                    QStringLiteral("乙"),
                    QStringLiteral("丙"),
                    QStringLiteral("丁"),
                    QString(),
                    type == 2 ? QStringLiteral("3") : QStringLiteral("124"),
                    QString(),
                    QStringLiteral("依据。")};
    return row;
}

QStringList With(QStringList row, TColumn column, const QString &value)
{
    row[column] = value;
    return row;
}

QByteArray Table(const QList<QStringList> &rows)
{
    QString text = KHeader;
    for (const QStringList &row : rows)
        text += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
    return text.toUtf8();
}

QString FaultOf(const QList<TQuestionFile> &files)
{
    try {
        ParseSampleQuestionFiles(files);
    } catch (const EDatabaseError &error) {
        return error.Message();
    }
    return QString();
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
    void classTopicsHoldSixtyQuestions();
    void everyQuestionHasANoteAndANamedTopic();
    void bankPassesTheCheckWithoutBalanceWarnings();
    void picturesAreWholeJpegs();
    void answersNameOfferedOptionsInOrder();
    void setsHoldThirtyToFiftyQuestionsOfOneGroup();
    void secondWriteFailsAndLeavesTheBankAsItWas();
    void parserRejectsBrokenRows_data();
    void parserRejectsBrokenRows();
    void parserReportsEveryFaultWithFileAndLine();
    void parserKeepsEachFileToItsRange();
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
    QTest::addColumn<int>("points");
    QTest::addColumn<QList<int>>("types"); // questions of type 1, 2 and 3
    QTest::addColumn<int>("ownPart");      // the class's own topic, 0 for none
    QTest::addColumn<int>("own");          // questions drawn from it
    struct TClass
    {
        const char *Code;
        int Minutes, Points;
        QList<int> Types;
        int OwnPart, Own;
    };
    const QList<TClass> classes{
        {"001", 45, 1, {40, 60, 0}, 0, 0},    {"002", 45, 1, {40, 60, 0}, 11, 25},  {"003", 45, 1, {40, 60, 0}, 12, 25},
        {"004", 45, 1, {40, 60, 0}, 13, 15},  {"005", 30, 2, {20, 30, 0}, 14, 15},  {"101", 30, 2, {20, 20, 10}, 0, 0},
        {"102", 30, 2, {20, 20, 10}, 21, 15}, {"103", 30, 2, {20, 20, 10}, 21, 15}, {"104", 30, 2, {20, 20, 10}, 0, 0},
    };
    // The synthetic bank has no topics of a class's own: all is general.
    for (const TClass &c : classes) {
        QTest::addRow("sample %s", c.Code) << QStringLiteral("sample") << QString::fromLatin1(c.Code) << c.Minutes
                                           << c.Points << c.Types << c.OwnPart << c.Own;
        QTest::addRow("synthetic %s", c.Code) << QStringLiteral("synthetic") << QString::fromLatin1(c.Code) << c.Minutes
                                              << c.Points << c.Types << c.OwnPart << 0;
    }
}

// What the paper generator relies on: one active template per class, points
// adding up to 100, and every row's ThemeCount equal to what the draw's own
// candidate statement returns, with enough candidates for its SelectCount;
// the paper's type mix, and the class's own topic in its share, no other's.
void TTestSampleBank::templatesFollowTheRules()
{
    QFETCH(QString, bank);
    QFETCH(QString, code);
    QFETCH(int, minutes);
    QFETCH(int, points);
    QFETCH(QList<int>, types);
    QFETCH(int, ownPart);
    QFETCH(int, own);
    const QSqlDatabase db = bank == QLatin1String("sample") ? FSample : FSynthetic;
    QSqlQuery model = Run(db, QStringLiteral("Select * From T_Ks_Model Where IsUser=1 And DirvesType='%1'").arg(code));
    QVERIFY(model.next());
    const int modelId = model.value(QStringLiteral("ModelID")).toInt();
    QCOMPARE(model.value(QStringLiteral("KSSJ")).toInt(), minutes);
    QCOMPARE(model.value(QStringLiteral("RandomTheme")).toInt(), 0);
    QVERIFY2(!model.next(), "more than one active template");

    QSqlQuery rows = Run(db, QStringLiteral("Select * From T_Ks_ThemeModelContent Where ModelID=%1").arg(modelId));
    int bitTotal = 0;
    QList<int> selectedByType{0, 0, 0};
    int fromOwn = 0;
    const QString chapters = code.startsWith(QLatin1Char('1')) ? KSafetyChapters : QStringLiteral("1");
    const QList<int> classParts{11, 12, 13, 14, 21};
    while (rows.next()) {
        const QString part = rows.value(QStringLiteral("ThemePart")).toString();
        const QString chapter = rows.value(QStringLiteral("ThemeChapter")).toString();
        const QString type = rows.value(QStringLiteral("ThemeType")).toString();
        const int candidates = Count(db,
                                     QStringLiteral("Select Count(*) From T_Ks_Theme Where ZT=1 and ThemePart=%1 "
                                                    "And ThemeChapter=%2 And ThemeType=%3")
                                         .arg(part, chapter, type));
        const int selectCount = rows.value(QStringLiteral("SelectCount")).toInt();
        QCOMPARE(rows.value(QStringLiteral("ThemeCount")).toInt(), candidates);
        QVERIFY(selectCount >= 0 && selectCount <= candidates);
        QCOMPARE(rows.value(QStringLiteral("ThemeBit")).toInt(), points);
        QCOMPARE(rows.value(QStringLiteral("BitCount")).toInt(), selectCount * points);
        QVERIFY2(chapters.split(QLatin1Char(',')).contains(chapter), qPrintable(chapter));
        QVERIFY2(part.toInt() == ownPart || !classParts.contains(part.toInt()), qPrintable(part));
        bitTotal += rows.value(QStringLiteral("BitCount")).toInt();
        selectedByType[type.toInt() - 1] += selectCount;
        if (part.toInt() == ownPart)
            fromOwn += selectCount;
    }
    QCOMPARE(bitTotal, 100);
    QCOMPARE(selectedByType, types);
    QCOMPARE(fromOwn, own);
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
    const QString modelId =
        FBank->Scalar(QStringLiteral("select ModelID from T_KS_Model where IsUser=1 and DirvesType='%1'").arg(code))
            .toString();
    QVERIFY(CheckTemplate(modelId));
    TPaperDraw draw(modelId);
    draw.DrawQuestions();
    const QStringList drawn = draw.DrawnThemeIDs();
    QCOMPARE(drawn.size(), questions);
    QCOMPARE(QSet<QString>(drawn.begin(), drawn.end()).size(), questions);
    QCOMPARE(FBank
                 ->Scalar(QStringLiteral("select Count(*) from T_KS_THEME where ThemeID in (%1) and ThemeChapter in (%2)")
                              .arg(drawn.join(QLatin1Char(',')), chapters))
                 .toInt(),
             questions);
    const TIniFile cfg(ThemeCfgFileName());
    int points = 0;
    for (int n = 1; n <= questions; ++n)
        points += cfg.ReadString(QString::number(n), QStringLiteral("ThemeBit"), QStringLiteral("0")).toInt();
    QCOMPARE(points, 100);
}

void TTestSampleBank::bankHoldsBothChapterGroups()
{
    QVERIFY(Count(FSample, QStringLiteral("select Count(*) from T_KS_THEME where THEMECHAPTER in (1)")) >= 900);
    QVERIFY(Count(FSample,
                  QStringLiteral("select Count(*) from T_KS_THEME where THEMECHAPTER in (%1)").arg(KSafetyChapters))
            >= 450);
    QCOMPARE(Count(FSample,
                   QStringLiteral("select Count(*) from T_KS_THEME where THEMECHAPTER not in (1,%1)").arg(KSafetyChapters)),
             0);
    // Every chapter in the practice list has questions, and every safety
    // chapter offers all three question types.
    QSqlQuery chapters = Run(FSample, QStringLiteral("select ThemeChapter,THEMENAME from T_KS_CHAPTER"));
    int chapterCount = 0;
    while (chapters.next()) {
        ++chapterCount;
        const int chapter = chapters.value(0).toInt();
        QVERIFY(!chapters.value(1).toString().isEmpty());
        const int types = Count(
            FSample,
            QStringLiteral("select Count(Distinct ThemeType) from T_KS_THEME where ThemeChapter=%1").arg(chapter));
        QCOMPARE(types, chapter == 1 ? 2 : 3);
    }
    QCOMPARE(chapterCount, 8);
}

void TTestSampleBank::classTopicsHoldSixtyQuestions()
{
    for (int part : {11, 12, 14})
        QVERIFY2(Count(FSample,
                       QStringLiteral("select Count(*) from T_KS_THEME where ThemePart=%1 and ThemeChapter=1").arg(part))
                     >= 60,
                 qPrintable(QString::number(part)));
    QVERIFY(Count(FSample, QStringLiteral("select Count(*) from T_KS_THEME where ThemePart=13 and ThemeChapter=1")) > 0);
    QVERIFY(Count(FSample,
                  QStringLiteral("select Count(*) from T_KS_THEME where ThemePart=21 and ThemeChapter in (%1)")
                      .arg(KSafetyChapters))
            > 0);
}

void TTestSampleBank::everyQuestionHasANoteAndANamedTopic()
{
    const int questions = Count(FSample, QStringLiteral("select Count(*) from T_KS_THEME"));
    QCOMPARE(Count(FSample, QStringLiteral("select Count(*) from T_KS_ThemeNote")), questions);
    QCOMPARE(Count(FSample,
                   QStringLiteral("select Count(*) from T_KS_THEME t join T_KS_ThemeNote n on n.ThemeID=t.ThemeID "
                                  "where length(n.Explanation) > 10")),
             questions);
    QCOMPARE(Count(FSample,
                   QStringLiteral("select Count(*) from T_KS_THEME t join T_KS_ThemePart p on p.ThemePart=t.ThemePart "
                                  "where p.PARTNAME <> ''")),
             questions);
    QCOMPARE(Count(FSample, QStringLiteral("select Count(*) from T_KS_ThemePart")), 13);
    QCOMPARE(FBank->Scalar(QStringLiteral("select PARTNAME from T_KS_ThemePart where ThemePart=21")).toString(),
             QStringLiteral("大中型客货车安全驾驶"));
}

void TTestSampleBank::bankPassesTheCheckWithoutBalanceWarnings()
{
    const TBankReport report = ReportOnBank(FSample);
    QStringList lines;
    for (const TBankFinding &finding : report.Findings)
        lines << finding.Text;
    for (const TBalanceWarning &warning : report.Balance.Warnings)
        lines << warning.Text;
    QVERIFY2(lines.isEmpty(), qPrintable(lines.join(QLatin1Char('\n'))));
    QVERIFY(!report.Balance.Figures.isEmpty());
}

void TTestSampleBank::picturesAreWholeJpegs()
{
    QSqlQuery pictures = Run(FSample,
                             QStringLiteral("select ThemeID, ThemeImage from T_KS_THEME where ThemeImage is not null"));
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
            QCOMPARE(texts,
                     QStringList({QStringLiteral("正确"), QStringLiteral("错误"), QString(), QString(), QString()}));
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
void TTestSampleBank::setsHoldThirtyToFiftyQuestionsOfOneGroup()
{
    QCOMPARE(Count(FSample, QStringLiteral("select Count(*) from T_KS_THEME where TT is null or TT=''")), 0);
    QSqlQuery sets = Run(FSample,
                         QStringLiteral(
                             "select TT, Count(*), Sum(ThemeChapter=1), Min(length(TT)) from T_KS_THEME group by TT"));
    int setCount = 0;
    while (sets.next()) {
        ++setCount;
        const QString set = sets.value(0).toString();
        const int size = sets.value(1).toInt();
        const int inChapterOne = sets.value(2).toInt();
        QVERIFY2(size >= 30 && size <= 50, qPrintable(QStringLiteral("%1: %2").arg(set).arg(size)));
        QVERIFY2(inChapterOne == 0 || inChapterOne == size, qPrintable(set));
        QCOMPARE(sets.value(3).toInt(), 2);
    }
    QVERIFY(setCount >= 30);
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
    QTest::addColumn<QString>("fault");
    const QStringList trueFalse = GoodRow(1);
    const QStringList single = GoodRow(2);
    const QStringList multiple = GoodRow(3);
    QTest::newRow("wrong header") << QByteArray("ThemeID\tThemeChapter\n1\t1\n")
                                  << QStringLiteral("line 1: the header must read");
    QTest::newRow("missing cell") << Table({single.mid(0, 13)}) << QStringLiteral("line 2: 13 cells instead of 14");
    QTest::newRow("id not a number") << Table({With(single, CId, QStringLiteral("x"))})
                                     << QStringLiteral("ThemeID 'x' is no number");
    QTest::newRow("id of another file") << Table({With(single, CId, QStringLiteral("1500"))})
                                        << QStringLiteral("ThemeID 1500 outside this file's range 2001-2999");
    QTest::newRow("id used twice") << Table({trueFalse, With(single, CId, QStringLiteral("2001"))})
                                   << QStringLiteral("line 3: ThemeID 2001 already used in k1-road.tsv line 2");
    QTest::newRow("set of another file") << Table({With(single, CSet, QStringLiteral("01"))})
                                         << QStringLiteral("set '01' is not a two-digit set 13-24 of this file");
    QTest::newRow("set of three digits") << Table({With(single, CSet, QStringLiteral("014"))})
                                         << QStringLiteral("set '014'");
    QTest::newRow("no set") << Table({With(single, CSet, QString())}) << QStringLiteral("set ''");
    QTest::newRow("unknown chapter") << Table({With(single, CChapter, QStringLiteral("27"))})
                                     << QStringLiteral("chapter 27 is not in chapters.tsv");
    QTest::newRow("unknown topic") << Table({With(single, CPart, QStringLiteral("8"))})
                                   << QStringLiteral("topic 8 is not in parts.tsv");
    QTest::newRow("safety topic in chapter 1") << Table({With(single, CPart, QStringLiteral("20"))})
                                               << QStringLiteral("topic 20 does not belong to chapter 1");
    QTest::newRow("unknown type") << Table({With(single, CType, QStringLiteral("4"))})
                                  << QStringLiteral("type 4 is not 1, 2 or 3");
    QTest::newRow("true/false with other words") << Table({With(trueFalse, CA, QStringLiteral("对"))})
                                                 << QStringLiteral("true/false options must be 正确 and 错误");
    QTest::newRow("true/false with a third option") << Table({With(trueFalse, CC, QStringLiteral("不一定"))})
                                                    << QStringLiteral("true/false options must be 正确 and 错误");
    QTest::newRow("true/false answer 3") << Table({With(trueFalse, CResult, QStringLiteral("3"))})
                                         << QStringLiteral("true/false answer '3' must be 1 or 2");
    QTest::newRow("single choice with two answers") << Table({With(single, CResult, QStringLiteral("12"))})
                                                    << QStringLiteral("single-choice answer '12' must be one digit 1-4");
    QTest::newRow("letter answer") << Table({With(single, CResult, QStringLiteral("A"))})
                                   << QStringLiteral("single-choice answer 'A'");
    QTest::newRow("empty answer") << Table({With(single, CResult, QString())})
                                  << QStringLiteral("single-choice answer ''");
    QTest::newRow("single choice without option D")
        << Table({With(single, CD, QString())}) << QStringLiteral("choices must offer the four options A-D and no E");
    QTest::newRow("single choice with option E")
        << Table({With(With(single, CE, QStringLiteral("戊")), CResult, QStringLiteral("5"))})
        << QStringLiteral("choices must offer the four options A-D and no E");
    QTest::newRow("multiple choice of one option")
        << Table({With(multiple, CResult, QStringLiteral("2"))})
        << QStringLiteral("multiple-choice answer '2' must be two to four ascending digits");
    QTest::newRow("multiple choice out of order")
        << Table({With(multiple, CResult, QStringLiteral("31"))}) << QStringLiteral("multiple-choice answer '31'");
    QTest::newRow("multiple choice repeating an option")
        << Table({With(multiple, CResult, QStringLiteral("113"))}) << QStringLiteral("multiple-choice answer '113'");
    QTest::newRow("no text") << Table({With(single, CContent, QString())})
                             << QStringLiteral("the question text is empty");
    QTest::newRow("unknown picture") << Table({With(With(single, CPicture, QStringLiteral("no-such-sign")), CContent,
                                                    QStringLiteral("如图所示，这是什么标志？"))})
                                     << QStringLiteral("no picture is drawn for 'no-such-sign'");
    QTest::newRow("picture without its words") << Table({With(single, CPicture, QStringLiteral("mark-stop"))})
                                               << QStringLiteral("a question with a picture must begin with 如图所示");
    QTest::newRow("words without a picture")
        << Table({With(single, CContent, QStringLiteral("如图所示，这是什么标志？"))})
        << QStringLiteral("如图所示 without a picture");
    QTest::newRow("no explanation") << Table({With(single, CExplanation, QString())})
                                    << QStringLiteral("the explanation is empty");
    QTest::newRow("blank around a cell") << Table({With(single, CContent, QStringLiteral("这是什么规定？ "))})
                                         << QStringLiteral("ThemeContent begins or ends with a blank");
}

void TTestSampleBank::parserRejectsBrokenRows()
{
    QFETCH(QByteArray, table);
    QFETCH(QString, fault);
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, ParseSampleQuestions(table, QStringLiteral("k1-road.tsv")));
    const QString message = FaultOf({{QStringLiteral("k1-road.tsv"), table}});
    QVERIFY2(message.startsWith(QStringLiteral("k1-road.tsv line ")), qPrintable(message));
    QVERIFY2(message.contains(fault), qPrintable(message));
}

// A content author sees all that is wrong at once, not one fault a run.
void TTestSampleBank::parserReportsEveryFaultWithFileAndLine()
{
    const QStringList single = GoodRow(2);
    const QList<TQuestionFile> files{
        {QStringLiteral("k1-road.tsv"), Table({GoodRow(1), With(single, CExplanation, QString())})},
        {QStringLiteral("k4-safety.tsv"),
         Table({With(With(With(GoodRow(3), CId, QStringLiteral("4001")), CChapter, QStringLiteral("20")), CSet,
                     QStringLiteral("41")),
                With(With(With(GoodRow(1), CId, QStringLiteral("4002")), CChapter, QStringLiteral("20")), CSet,
                     QStringLiteral("41"))})},
    };
    const QStringList lines = FaultOf(files).split(QLatin1Char('\n'));
    QCOMPARE(lines,
             QStringList({QStringLiteral("k1-road.tsv line 3: the explanation is empty"),
                          QStringLiteral("k4-safety.tsv line 2: topic 3 does not belong to chapter 20"),
                          QStringLiteral("k4-safety.tsv line 3: topic 3 does not belong to chapter 20")}));
}

void TTestSampleBank::parserKeepsEachFileToItsRange()
{
    const QStringList single = GoodRow(2);
    // A school's own file takes IDs from 5001 and sets from 60.
    const QStringList own = With(With(single, CId, QStringLiteral("5001")), CSet, QStringLiteral("60"));
    QCOMPARE(ParseSampleQuestions(Table({own}), QStringLiteral("our-school.tsv")).size(), 1);
    QVERIFY(FaultOf({{QStringLiteral("our-school.tsv"), Table({single})}})
                .contains(QStringLiteral("outside this file's range 5001-99999")));
    QVERIFY(FaultOf({{QStringLiteral("k1-licence.tsv"), Table({single})}}).contains(QStringLiteral("range 1001-1999")));
    QVERIFY(FaultOf({{QStringLiteral("k1-signals.tsv"), Table({single})}}).contains(QStringLiteral("set 25-30")));
    // The same ID in two files is one question too many.
    const QString twice = FaultOf(
        {{QStringLiteral("our-school.tsv"), Table({own})}, {QStringLiteral("their-school.tsv"), Table({own})}});
    QCOMPARE(twice, QStringLiteral("their-school.tsv line 2: ThemeID 5001 already used in our-school.tsv line 2"));
}

void TTestSampleBank::parserReadsAWellFormedRow()
{
    const QStringList row{QStringLiteral("4101"),
                          QStringLiteral("21"),
                          QStringLiteral("21"),
                          QStringLiteral("3"),
                          QStringLiteral("52"),
                          QStringLiteral("如图所示，遇到这种标线时应当怎样做？"),
                          QStringLiteral("甲"),
                          QStringLiteral("乙"),
                          QStringLiteral("丙"),
                          QStringLiteral("丁"),
                          QString(),
                          QStringLiteral("134"),
                          QStringLiteral("mark-stop"),
                          QStringLiteral("依据 GB 5768。")};
    const QList<TSampleQuestion> questions = ParseSampleQuestions(KHeader.toUtf8()
                                                                      + row.join(QLatin1Char('\t')).toUtf8() + "\r\n\n",
                                                                  QStringLiteral("k4-safety.tsv"));
    QCOMPARE(questions.size(), 1);
    const TSampleQuestion &question = questions.first();
    QCOMPARE(question.Id, 4101);
    QCOMPARE(question.Chapter, 21);
    QCOMPARE(question.Part, 21);
    QCOMPARE(question.Type, 3);
    QCOMPARE(question.Set, QStringLiteral("52"));
    QCOMPARE(question.Options,
             QStringList(
                 {QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙"), QStringLiteral("丁"), QString()}));
    QCOMPARE(question.Result, QStringLiteral("134"));
    QCOMPARE(question.PictureKey, QStringLiteral("mark-stop"));
    QCOMPARE(question.Explanation, QStringLiteral("依据 GB 5768。"));
    // The same file saved by an editor that begins it with a byte order mark.
    QCOMPARE(ParseSampleQuestions("\xEF\xBB\xBF" + Table({row}), QStringLiteral("k4-safety.tsv")).size(), 1);
}

QTEST_MAIN(TTestSampleBank)
#include "tst_USampleBank.moc"
