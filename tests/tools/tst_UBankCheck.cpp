#include <QFile>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include "UBankCheck.h"
#include "UBankFile.h"
#include "UDbError.h"
#include "UJpeg.h"
#include "USampleBank.h"

Q_DECLARE_METATYPE(TBankProblem)
Q_DECLARE_METATYPE(TBalanceRule)

namespace {

// Rebuilds the question table without its constraints, as an imported or
// hand-made bank may have it, so that NULLs and duplicates can be stored.
const QStringList KWithoutConstraints{
    QStringLiteral("CREATE TABLE Loose AS SELECT * FROM T_KS_THEME"),
    QStringLiteral("DROP TABLE T_KS_THEME"),
    QStringLiteral("ALTER TABLE Loose RENAME TO T_KS_THEME"),
};

const QStringList KContentWithoutConstraints{
    QStringLiteral("CREATE TABLE Loose AS SELECT * FROM T_KS_ThemeModelContent"),
    QStringLiteral("DROP TABLE T_KS_ThemeModelContent"),
    QStringLiteral("ALTER TABLE Loose RENAME TO T_KS_ThemeModelContent"),
};

// The first content row of a template.
QString FirstRow(int modelId)
{
    return QStringLiteral("(SELECT MIN(ContentID) FROM T_KS_ThemeModelContent WHERE ModelID=%1)").arg(modelId);
}

TSampleQuestion Question(int id, int chapter, int type, const QString &result)
{
    TSampleQuestion question;
    question.Id = id;
    question.Chapter = chapter;
    question.Part = chapter == 1 ? 1 : 20;
    question.Type = type;
    question.Set = chapter == 1 ? QStringLiteral("01") : QStringLiteral("41");
    question.Content = QStringLiteral("第%1题的题目文字").arg(id);
    question.Options = type == 1
        ? QStringList{QStringLiteral("正确"), QStringLiteral("错误"), QString(), QString(), QString()}
        : QStringList{QStringLiteral("甲方案"), QStringLiteral("乙方案"), QStringLiteral("丙方案"),
                      QStringLiteral("丁方案"), QString()};
    question.Result = result;
    question.Explanation = QStringLiteral("解析");
    return question;
}

// Keys spread as the rules ask: half the true/false keyed 正确, single-choice
// keys A–D in turn over options of equal length, eleven multiple-choice keys
// of two to four options twice each. Enough questions for every template.
QList<TSampleQuestion> BalancedQuestions()
{
    const QStringList multipleKeys{QStringLiteral("12"),  QStringLiteral("13"),  QStringLiteral("14"),
                                   QStringLiteral("23"),  QStringLiteral("24"),  QStringLiteral("34"),
                                   QStringLiteral("123"), QStringLiteral("124"), QStringLiteral("134"),
                                   QStringLiteral("234"), QStringLiteral("1234")};
    QList<TSampleQuestion> questions;
    int id = 1;
    for (int i = 0; i < 60; ++i)
        questions << Question(id++, 1, 1, QString::number(1 + i % 2));
    for (int i = 0; i < 60; ++i)
        questions << Question(id++, 1, 2, QString::number(1 + i % 4));
    for (int i = 0; i < 20; ++i)
        questions << Question(id++, 20 + i % 7, 1, QString::number(1 + i % 2));
    for (int i = 0; i < 20; ++i)
        questions << Question(id++, 20 + i % 7, 2, QString::number(1 + i % 4));
    for (int i = 0; i < 22; ++i)
        questions << Question(id++, 20 + i % 7, 3, multipleKeys[i % 11]);
    return questions;
}

// Gives a question a small picture of one colour.
QString PictureUpdate(Qt::GlobalColor colour, int themeId)
{
    QImage image(16, 16, QImage::Format_RGB888);
    image.fill(colour);
    return QStringLiteral("UPDATE T_KS_THEME SET ThemeImage=X'%1' WHERE ThemeID=%2")
        .arg(QString::fromLatin1(EncodeJpeg(image, 90).toHex()))
        .arg(themeId);
}

} // namespace

class TestUBankCheck : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QString FCleanBank;
    QString FBalancedBank;

    // A copy of the clean bank, opened under the given connection name.
    QSqlDatabase CopyOfCleanBank(const QString &connection, const QString &original = QString())
    {
        const QString file = FDir.filePath(connection + QStringLiteral(".sqlite"));
        QFile::remove(file);
        if (!QFile::copy(original.isEmpty() ? FCleanBank : original, file))
            return {};
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(file);
        db.open();
        return db;
    }

private slots:
    void initTestCase()
    {
        FCleanBank = FDir.filePath(QStringLiteral("clean.sqlite"));
        {
            QSqlDatabase db = CreateBankFile(FCleanBank, QStringLiteral("create"));
            WriteSyntheticBank(db, 600, 0.05, 8 * 1024);
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("create"));
        FBalancedBank = FDir.filePath(QStringLiteral("balanced.sqlite"));
        {
            QSqlDatabase db = CreateBankFile(FBalancedBank, QStringLiteral("create"));
            WriteSampleBank(db, BalancedQuestions());
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("create"));
    }

    void PassesACleanBank()
    {
        const QList<TBankFinding> findings = CheckBankFile(FCleanBank);
        for (const TBankFinding &finding : findings)
            qWarning() << finding.Text;
        QVERIFY(findings.isEmpty());
    }

    void FindsEachProblem_data()
    {
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<TBankProblem>("problem");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count"); // all findings, so that nothing else is reported

        QTest::newRow("licence class without active template")
            << QStringList{QStringLiteral("UPDATE T_KS_Model SET IsUser=0 WHERE DirvesType='003'")}
            << TBankProblem::TemplateCount << QStringLiteral("准驾车型 003 没有启用的考试模板（IsUser=1）") << 1;
        QTest::newRow("licence class with two active templates")
            << QStringList{QStringLiteral(
                               "INSERT INTO T_KS_ThemeModelContent (ModelID, ThemePart, ThemeChapter, ThemeType, ThemeCount, "
                               "SelectCount, ThemeBit, BitCount) SELECT 99, ThemePart, ThemeChapter, ThemeType, ThemeCount, "
                               "SelectCount, ThemeBit, BitCount FROM T_KS_ThemeModelContent WHERE ModelID=6"),
                           QStringLiteral("INSERT INTO T_KS_Model VALUES (99, 1, '101', 0, 30)")}
            << TBankProblem::TemplateCount
            << QStringLiteral("准驾车型 101 有 2 个启用的考试模板（编号 6、99），应只有一个") << 1;
        QTest::newRow("points adding up to 99")
            << QStringList{QStringLiteral(
                               "UPDATE T_KS_ThemeModelContent SET SelectCount=SelectCount-1, BitCount=BitCount-1 WHERE ContentID=")
                           + FirstRow(1)}
            << TBankProblem::PointsTotal << QStringLiteral("模板 1（准驾车型 001）的分值 BitCount 合计为 99，应为 100")
            << 1;
        QTest::newRow("points adding up to 101") << QStringList{QStringLiteral(
            "UPDATE T_KS_ThemeModelContent SET SelectCount=SelectCount+1, BitCount=BitCount+1 WHERE ContentID="
            "(SELECT ContentID FROM T_KS_ThemeModelContent WHERE ModelID=2 ORDER BY ThemeCount-SelectCount DESC LIMIT 1)")}
                                                 << TBankProblem::PointsTotal << QStringLiteral("合计为 101") << 1;
        QTest::newRow("template without content rows")
            << QStringList{QStringLiteral("DELETE FROM T_KS_ThemeModelContent WHERE ModelID=4")}
            << TBankProblem::NoContentRows << QStringLiteral("模板 4（准驾车型 004）没有内容行，分值合计为 0") << 1;
        QTest::newRow("row points not count times points")
            << QStringList{QStringLiteral("UPDATE T_KS_ThemeModelContent SET ThemeBit=2 WHERE ContentID=") + FirstRow(1)}
            << TBankProblem::RowPoints << QStringLiteral("不等于抽题数") << 1;
        QTest::newRow("ThemeCount below SelectCount")
            << QStringList{QStringLiteral("UPDATE T_KS_ThemeModelContent SET ThemeCount=SelectCount-1 WHERE ContentID=")
                           + FirstRow(5)}
            << TBankProblem::ThemeCountBelowSelect << QStringLiteral("少于抽题数 SelectCount")
            << 2; // and unlike the bank
        QTest::newRow("ThemeCount above the bank's candidates")
            << QStringList{QStringLiteral("UPDATE T_KS_ThemeModelContent SET ThemeCount=ThemeCount+1 WHERE ContentID=")
                           + FirstRow(7)}
            << TBankProblem::ThemeCountMismatch << QStringLiteral("模板 7（准驾车型 102）内容行") << 1;
        QTest::newRow("question withdrawn from the draw")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ZT=0 WHERE ThemeID=1")} // chapter 1: templates 001 … 005
            << TBankProblem::ThemeCountMismatch << QStringLiteral("与题库中可抽的") << 5;
        QTest::newRow("content value NULL") << KContentWithoutConstraints
                + QStringList{QStringLiteral("UPDATE T_KS_ThemeModelContent SET ThemeBit=NULL WHERE ContentID=")
                              + FirstRow(5)} << TBankProblem::ContentValueNull
                                            << QStringLiteral("ThemeBit 为空") << 1;
        QTest::newRow("RandomTheme NULL")
            << QStringList{QStringLiteral("UPDATE T_KS_Model SET RandomTheme=NULL WHERE ModelID=2")}
            << TBankProblem::RandomThemeNull
            << QStringLiteral("模板 2（准驾车型 002）的 RandomTheme 为空，模拟考试抽题会失败") << 1;
        QTest::newRow("part as text that changes the draw's statement")
            << QStringList{QStringLiteral(
                               "UPDATE T_KS_ThemeModelContent SET ThemePart='1 and 0 or ThemeChapter=20' WHERE ContentID=")
                           + FirstRow(1)}
            << TBankProblem::ContentValueNotWhole
            << QStringLiteral("ThemePart 的值 “1 and 0 or ThemeChapter=20” 不是整数") << 1;
        QTest::newRow("chapter as a fraction")
            << QStringList{QStringLiteral("UPDATE T_KS_ThemeModelContent SET ThemeChapter=1.5 WHERE ContentID=")
                           + FirstRow(2)}
            << TBankProblem::ContentValueNotWhole << QStringLiteral("ThemeChapter 的值 “1.5” 不是整数") << 1;
        QTest::newRow("type as bytes")
            << QStringList{QStringLiteral("UPDATE T_KS_ThemeModelContent SET ThemeType=X'0102' WHERE ContentID=")
                           + FirstRow(6)}
            << TBankProblem::ContentValueNotWhole << QStringLiteral("ThemeType 的值 “二进制数据 2 字节” 不是整数") << 1;
        QTest::newRow("exam time NULL") << QStringList{QStringLiteral("UPDATE T_KS_Model SET KSSJ=NULL WHERE ModelID=3")}
                                        << TBankProblem::ExamTimeMissing << QStringLiteral("KSSJ 为空或不大于 0") << 1;

        QTest::newRow("options NULL") << KWithoutConstraints
                + QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeSpareC=NULL, ThemeSpareE=NULL WHERE ThemeID=7")}
                                      << TBankProblem::OptionNull
                                      << QStringLiteral("题目 7：选项 3、5 为 NULL，应为空文本") << 1;
        QTest::newRow("answer out of order")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeResult='31' WHERE ThemeID=8")}
            << TBankProblem::AnswerNotAscending << QStringLiteral("题目 8：答案 “31” 不是按升序排列") << 1;
        QTest::newRow("answer repeating an option")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeResult='11' WHERE ThemeID=8")}
            << TBankProblem::AnswerNotAscending << QStringLiteral("“11”") << 1;
        QTest::newRow("answer beyond option five")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeResult='16' WHERE ThemeID=8")}
            << TBankProblem::AnswerNotAscending << QStringLiteral("“16”") << 1;
        QTest::newRow("answer naming an empty option")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeResult='15' WHERE ThemeID=19")} // multiple choice
            << TBankProblem::AnswerEmptyOption << QStringLiteral("题目 19：答案 “15” 指向空选项 5") << 1;
        QTest::newRow("answer naming a NULL option")
            << KWithoutConstraints
                + QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeSpareB=NULL, ThemeResult='12' WHERE ThemeID=19")}
            << TBankProblem::AnswerEmptyOption << QStringLiteral("指向空选项 2") << 2; // and the NULL itself
        QTest::newRow("answer empty") << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeResult='' WHERE ThemeID=8")}
                                      << TBankProblem::AnswerEmpty << QStringLiteral("题目 8：答案 ThemeResult 为空")
                                      << 1;
        QTest::newRow("single choice with two answers")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeResult='12' WHERE ThemeID=7")}
            << TBankProblem::AnswerSeveralForSingle << QStringLiteral("题目 7：单选题的答案 “12” 有多个选项") << 1;
        QTest::newRow("invalid question type")
            << QStringList{QStringLiteral(
                   "INSERT INTO T_KS_THEME (ThemeID, ThemeChapter, ThemeType, ThemeContent, ThemeSpareA, "
                   "ThemeResult, ZT) VALUES (9001, 1, 4, '题', '甲', '1', 0)")}
            << TBankProblem::ThemeTypeInvalid << QStringLiteral("题目 9001：题型 ThemeType 为 “4”") << 1;

        QTest::newRow("picture in another format")
            << QStringList{QStringLiteral(
                   "UPDATE T_KS_THEME SET ThemeImage=X'89504E470D0A1A0A0000000D49484452' WHERE ThemeID=1")}
            << TBankProblem::PictureNotJpeg << QStringLiteral("题目 1：图片 ThemeImage 不是可读的 JPEG（16 字节") << 1;
        QTest::newRow("truncated JPEG") << QStringList{QStringLiteral(
            "UPDATE T_KS_THEME SET ThemeImage=substr(ThemeImage, 1, 300) WHERE ThemeID=20")}
                                        << TBankProblem::PictureNotJpeg << QStringLiteral("题目 20：") << 1;
        QTest::newRow("empty picture") << QStringList{QStringLiteral(
            "UPDATE T_KS_THEME SET ThemeImage=X'' WHERE ThemeID=2")}
                                       << TBankProblem::PictureNotJpeg << QStringLiteral("（0 字节") << 1;

        QTest::newRow("set number of empty text")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET TT='' WHERE ThemeID IN (1, 2)")}
            << TBankProblem::SetNumberBlank << QStringLiteral("有 2 道题的套题号 TT 为空白文本 “”") << 1;
        QTest::newRow("set number of blanks")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET TT='  ' WHERE ThemeID=3")}
            << TBankProblem::SetNumberBlank << QStringLiteral("有 1 道题") << 1;

        QTest::newRow("duplicate question number")
            << KWithoutConstraints
                + QStringList{QStringLiteral(
                    "INSERT INTO T_KS_THEME (ThemeID, ThemePart, ThemeChapter, ThemeType, ThemeContent, ThemeSpareA, ThemeSpareB, "
                    "ThemeSpareC, ThemeSpareD, ThemeSpareE, ThemeResult, ZT) SELECT ThemeID, ThemePart, ThemeChapter, ThemeType, "
                    "ThemeContent, ThemeSpareA, ThemeSpareB, ThemeSpareC, ThemeSpareD, ThemeSpareE, ThemeResult, 0 "
                    "FROM T_KS_THEME WHERE ThemeID=5")}
            << TBankProblem::DuplicateThemeId << QStringLiteral("题目编号 ThemeID 5 出现 2 次") << 1;
        QTest::newRow("question number NULL")
            << KWithoutConstraints + QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeID=NULL WHERE ThemeID=9")}
            << TBankProblem::ThemeIdNull << QStringLiteral("有 1 道题的题目编号 ThemeID 为空") << 1;
        QTest::newRow("note for a question the bank lacks")
            << QStringList{QStringLiteral("INSERT INTO T_KS_ThemeNote VALUES (1, '有题目的解析')"),
                           QStringLiteral("INSERT INTO T_KS_ThemeNote VALUES (99999, '没有题目的解析')")}
            << TBankProblem::NoteWithoutQuestion
            << QStringLiteral("解析 T_KS_ThemeNote 的题目编号 99999 在题库中没有题目") << 1;
        QTest::newRow("paper table missing")
            << QStringList{QStringLiteral("DROP TABLE T_KS_ExamineTheme_TT")} << TBankProblem::MissingTable
            << QStringLiteral("缺少表 T_KS_ExamineTheme_TT") << 1;
        QTest::newRow("column missing") << QStringList{QStringLiteral("ALTER TABLE T_KS_Model DROP COLUMN KSSJ")}
                                        << TBankProblem::MissingColumn << QStringLiteral("表 T_KS_Model 缺少列 KSSJ")
                                        << 1;
    }

    void FindsEachProblem()
    {
        QFETCH(QStringList, statements);
        QFETCH(TBankProblem, problem);
        QFETCH(QString, text);
        QFETCH(int, count);
        const QString connection = QString::fromLatin1(QTest::currentDataTag());
        QList<TBankFinding> findings;
        {
            QSqlDatabase db = CopyOfCleanBank(connection);
            QVERIFY(db.isOpen());
            for (const QString &statement : statements) {
                QSqlQuery query(db);
                QVERIFY2(query.exec(statement), qPrintable(query.lastError().text()));
            }
            findings = CheckBank(db);
            db.close();
        }
        QSqlDatabase::removeDatabase(connection);
        QStringList lines;
        for (const TBankFinding &finding : findings)
            lines << finding.Text;
        const bool found = std::any_of(findings.cbegin(), findings.cend(), [&](const TBankFinding &finding) {
            return finding.Problem == problem && finding.Text.contains(text);
        });
        QVERIFY2(found, qPrintable(lines.join(QLatin1Char('\n'))));
        QVERIFY2(findings.size() == count, qPrintable(lines.join(QLatin1Char('\n'))));
    }

    // Banks made before notes and topics had tables of their own.
    void AcceptsABankWithoutNotesAndTopics()
    {
        QList<TBankFinding> findings;
        {
            QSqlDatabase db = CopyOfCleanBank(QStringLiteral("older"));
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral("DROP TABLE T_KS_ThemeNote")));
            QVERIFY(query.exec(QStringLiteral("DROP TABLE T_KS_ThemePart")));
            findings = CheckBank(db);
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("older"));
        QVERIFY(findings.isEmpty());
    }

    void BalancedBankGivesFiguresWithoutWarnings()
    {
        const TBankReport report = ReportOnBankFile(FBalancedBank);
        QVERIFY(report.Findings.isEmpty());
        QVERIFY(report.Balance.Warnings.isEmpty());
        const QStringList lines = BalanceLines(report.Balance);
        QCOMPARE(lines.first(), QStringLiteral("均衡性："));
        QVERIFY(lines.contains(QStringLiteral("  科目一 判断题 60 道，答案为“正确”的 30 道，占 50.0%（应为 40%–60%）")));
        QVERIFY(lines.contains(
            QStringLiteral("  科目一 单选题 60 道，答案为 A 25.0%、B 25.0%、C 25.0%、D 25.0%（各应为 15%–35%）；"
                           "正确选项最长的 0 道，占 0.0%（应不超过 40%）")));
        QVERIFY(lines.contains(QStringLiteral("  科目四 多选题 22 道，最常见的答案“12” 2 道，占 9.1%（应不超过 15%）；"
                                              "答案两项 12 道、三项 8 道、四项 2 道")));
        QVERIFY(lines.contains(QStringLiteral("  模板 6（准驾车型 101）：判断 20 道、单选 20 道、多选 10 道")));
        QVERIFY(lines.contains(QStringLiteral("  同一套题中题目文字相同的：0 处")));
        QCOMPARE(lines.filter(QStringLiteral("警告")).size(), 0);
        // 科目一 has no multiple choice, so no figure for it.
        QCOMPARE(lines.filter(QStringLiteral("科目一 多选题")).size(), 0);
    }

    void WarnsWhereBalanceIsBroken_data()
    {
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<TBalanceRule>("rule");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count"); // all warnings; 0 where the change keeps the balance

        const QString chapterOne = QStringLiteral(" AND ThemeChapter=1");
        const QString safety = QStringLiteral(" AND ThemeChapter BETWEEN 20 AND 26");
        QTest::newRow("true/false all keyed 正确")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeResult='1' WHERE ThemeType=1") + chapterOne}
            << TBalanceRule::TrueKeyShare << QStringLiteral("科目一 判断题答案为“正确”的占 100.0%，不在 40%–60% 之间")
            << 1;
        QTest::newRow("true/false all keyed 错误")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeResult='2' WHERE ThemeType=1") + safety}
            << TBalanceRule::TrueKeyShare << QStringLiteral("科目四 判断题答案为“正确”的占 0.0%") << 1;
        QTest::newRow("true/false keyed 正确 at 60 %")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeResult='1' WHERE ThemeID IN (2,4,6,8,10,12)")}
            << TBalanceRule::TrueKeyShare << QString() << 0;
        QTest::newRow("true/false keyed 正确 just above 60 %")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeResult='1' WHERE ThemeID IN (2,4,6,8,10,12,14)")}
            << TBalanceRule::TrueKeyShare << QStringLiteral("占 61.7%") << 1;
        QTest::newRow("single choice keyed C instead of A")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeResult='3' WHERE ThemeType=2 AND ThemeResult='1'")
                           + chapterOne}
            << TBalanceRule::KeyPosition << QStringLiteral("科目一 单选题答案为 C 的占 50.0%，不在 15%–35% 之间")
            << 2; // and A at 0 %
        QTest::newRow("key always the longest option")
            << QStringList{QStringLiteral(
                               "UPDATE T_KS_THEME SET "
                               "ThemeSpareA=ThemeSpareA || (CASE ThemeResult WHEN '1' THEN '并减速' ELSE '' END), "
                               "ThemeSpareB=ThemeSpareB || (CASE ThemeResult WHEN '2' THEN '并减速' ELSE '' END), "
                               "ThemeSpareC=ThemeSpareC || (CASE ThemeResult WHEN '3' THEN '并减速' ELSE '' END), "
                               "ThemeSpareD=ThemeSpareD || (CASE ThemeResult WHEN '4' THEN '并减速' ELSE '' END) "
                               "WHERE ThemeType=2")
                           + safety}
            << TBalanceRule::LongestKey << QStringLiteral("科目四 单选题中正确选项最长的占 100.0%，超过 40%") << 1;
        QTest::newRow("key as long as another option is not the longest") << QStringList{
            QStringLiteral("UPDATE T_KS_THEME SET ThemeSpareA=ThemeSpareA || '并减速', ThemeSpareB=ThemeSpareB || '并停车' "
                           "WHERE ThemeType=2")
            + safety} << TBalanceRule::LongestKey << QString() << 0;
        QTest::newRow("one multiple-choice key too common")
            << QStringList{QStringLiteral(
                   "UPDATE T_KS_THEME SET ThemeResult='124' WHERE ThemeType=3 AND ThemeResult IN ('134','234')")}
            << TBalanceRule::MultipleKeyShare << QStringLiteral("科目四 多选题答案“124”占 27.3%，超过 15%") << 1;
        QTest::newRow("no multiple-choice key of four options")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeResult='123' WHERE ThemeID="
                                          "(SELECT MIN(ThemeID) FROM T_KS_THEME WHERE ThemeResult='1234')"),
                           QStringLiteral("UPDATE T_KS_THEME SET ThemeResult='234' WHERE ThemeResult='1234'")}
            << TBalanceRule::MultipleKeySizes << QStringLiteral("科目四 多选题中没有四项的答案") << 1;
        QTest::newRow("template with too many true/false questions")
            << QStringList{QStringLiteral(
                               "UPDATE T_KS_ThemeModelContent SET SelectCount=60, BitCount=60 WHERE ModelID=1 AND ThemeType=1"),
                           QStringLiteral(
                               "UPDATE T_KS_ThemeModelContent SET SelectCount=40, BitCount=40 WHERE ModelID=1 AND ThemeType=2")}
            << TBalanceRule::TemplateTypeMix
            << QStringLiteral(
                   "模板 1（准驾车型 001）的题型比例为 判断 60.0%、单选 40.0%、多选 0.0%，与 判断 40%、单选 60%、多选 0% 相差超过 10 个百分点")
            << 1;
        QTest::newRow("one text twice in a set")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeContent='第1题的题目文字' WHERE ThemeID=3")}
            << TBalanceRule::DuplicateInSet << QStringLiteral("套题 01 中有 2 道题的题目文字相同：“第1题的题目文字”")
            << 1;
        QTest::newRow("one text with two pictures in a set")
            << QStringList{PictureUpdate(Qt::red, 1), PictureUpdate(Qt::blue, 3),
                           QStringLiteral("UPDATE T_KS_THEME SET ThemeContent='第1题的题目文字' WHERE ThemeID=3")}
            << TBalanceRule::DuplicateInSet << QString() << 0;
        QTest::newRow("one text with one picture twice in a set")
            << QStringList{PictureUpdate(Qt::red, 1), PictureUpdate(Qt::red, 3),
                           QStringLiteral("UPDATE T_KS_THEME SET ThemeContent='第1题的题目文字' WHERE ThemeID=3")}
            << TBalanceRule::DuplicateInSet << QStringLiteral("套题 01 中有 2 道题") << 1;
        QTest::newRow("one text in two sets")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeContent='第1题的题目文字', TT='02' WHERE ThemeID=3")}
            << TBalanceRule::DuplicateInSet << QString() << 0;
    }

    // Balance never counts as a problem: the exit status stays as it was.
    void WarnsWhereBalanceIsBroken()
    {
        QFETCH(QStringList, statements);
        QFETCH(TBalanceRule, rule);
        QFETCH(QString, text);
        QFETCH(int, count);
        // The tag names the copy's file: no slashes in it.
        const QString connection = QString::fromUtf8(QTest::currentDataTag()).replace(QLatin1Char('/'), QLatin1Char('-'));
        TBankReport report;
        {
            QSqlDatabase db = CopyOfCleanBank(connection, FBalancedBank);
            QVERIFY(db.isOpen());
            for (const QString &statement : statements) {
                QSqlQuery query(db);
                QVERIFY2(query.exec(statement), qPrintable(query.lastError().text()));
            }
            report = ReportOnBank(db);
            db.close();
        }
        QSqlDatabase::removeDatabase(connection);
        QStringList lines;
        for (const TBalanceWarning &warning : report.Balance.Warnings)
            lines << warning.Text;
        QVERIFY2(report.Balance.Warnings.size() == count, qPrintable(lines.join(QLatin1Char('\n'))));
        QVERIFY(report.Findings.isEmpty());
        if (count > 0) {
            const bool found = std::any_of(report.Balance.Warnings.cbegin(), report.Balance.Warnings.cend(),
                                           [&](const TBalanceWarning &warning) {
                                               return warning.Rule == rule && warning.Text.contains(text);
                                           });
            QVERIFY2(found, qPrintable(lines.join(QLatin1Char('\n'))));
        }
    }

    void RefusesFilesThatAreNoBank()
    {
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, CheckBankFile(FDir.filePath(QStringLiteral("missing.sqlite"))));
        const QString text = FDir.filePath(QStringLiteral("notes.txt"));
        QFile file(text);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            "This is not a database, just some words long enough to fill a header of one hundred bytes or more......");
        file.close();
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, CheckBankFile(text));
        // Checking never writes: the file is as it was.
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("This is not a database"));
    }
};

QTEST_GUILESS_MAIN(TestUBankCheck)
#include "tst_UBankCheck.moc"
