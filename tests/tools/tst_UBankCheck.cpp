#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include "app/UDbError.h"
#include "tools/UBankCheck.h"
#include "tools/UBankFile.h"

Q_DECLARE_METATYPE(TBankProblem)

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

} // namespace

class TestUBankCheck : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QString FCleanBank;

    // A copy of the clean bank, opened under the given connection name.
    QSqlDatabase CopyOfCleanBank(const QString &connection)
    {
        const QString file = FDir.filePath(connection + QStringLiteral(".sqlite"));
        QFile::remove(file);
        if (!QFile::copy(FCleanBank, file))
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
        QTest::addColumn<int>("count");  // all findings, so that nothing else is reported

        QTest::newRow("licence class without active template")
            << QStringList{QStringLiteral("UPDATE T_KS_Model SET IsUser=0 WHERE DirvesType='003'")}
            << TBankProblem::TemplateCount << QStringLiteral("准驾车型 003 没有启用的考试模板（IsUser=1）") << 1;
        QTest::newRow("licence class with two active templates")
            << QStringList{QStringLiteral("INSERT INTO T_KS_ThemeModelContent (ModelID, ThemePart, ThemeChapter, ThemeType, ThemeCount, "
                                          "SelectCount, ThemeBit, BitCount) SELECT 99, ThemePart, ThemeChapter, ThemeType, ThemeCount, "
                                          "SelectCount, ThemeBit, BitCount FROM T_KS_ThemeModelContent WHERE ModelID=6"),
                           QStringLiteral("INSERT INTO T_KS_Model VALUES (99, 1, '101', 0, 30)")}
            << TBankProblem::TemplateCount << QStringLiteral("准驾车型 101 有 2 个启用的考试模板（编号 6、99），应只有一个") << 1;
        QTest::newRow("points adding up to 99")
            << QStringList{QStringLiteral("UPDATE T_KS_ThemeModelContent SET SelectCount=SelectCount-1, BitCount=BitCount-1 WHERE ContentID=")
                           + FirstRow(1)}
            << TBankProblem::PointsTotal << QStringLiteral("模板 1（准驾车型 001）的分值 BitCount 合计为 99，应为 100") << 1;
        QTest::newRow("points adding up to 101")
            << QStringList{QStringLiteral("UPDATE T_KS_ThemeModelContent SET SelectCount=SelectCount+1, BitCount=BitCount+1 WHERE ContentID="
                                          "(SELECT ContentID FROM T_KS_ThemeModelContent WHERE ModelID=2 ORDER BY ThemeCount-SelectCount DESC LIMIT 1)")}
            << TBankProblem::PointsTotal << QStringLiteral("合计为 101") << 1;
        QTest::newRow("template without content rows")
            << QStringList{QStringLiteral("DELETE FROM T_KS_ThemeModelContent WHERE ModelID=4")}
            << TBankProblem::NoContentRows << QStringLiteral("模板 4（准驾车型 004）没有内容行，分值合计为 0") << 1;
        QTest::newRow("row points not count times points")
            << QStringList{QStringLiteral("UPDATE T_KS_ThemeModelContent SET ThemeBit=2 WHERE ContentID=") + FirstRow(1)}
            << TBankProblem::RowPoints << QStringLiteral("不等于抽题数") << 1;
        QTest::newRow("ThemeCount below SelectCount")
            << QStringList{QStringLiteral("UPDATE T_KS_ThemeModelContent SET ThemeCount=SelectCount-1 WHERE ContentID=") + FirstRow(5)}
            << TBankProblem::ThemeCountBelowSelect << QStringLiteral("少于抽题数 SelectCount") << 2;  // and unlike the bank
        QTest::newRow("ThemeCount above the bank's candidates")
            << QStringList{QStringLiteral("UPDATE T_KS_ThemeModelContent SET ThemeCount=ThemeCount+1 WHERE ContentID=") + FirstRow(7)}
            << TBankProblem::ThemeCountMismatch << QStringLiteral("模板 7（准驾车型 102）内容行") << 1;
        QTest::newRow("question withdrawn from the draw")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ZT=0 WHERE ThemeID=1")}  // chapter 1: templates 001 … 005
            << TBankProblem::ThemeCountMismatch << QStringLiteral("与题库中可抽的") << 5;
        QTest::newRow("content value NULL")
            << KContentWithoutConstraints + QStringList{QStringLiteral("UPDATE T_KS_ThemeModelContent SET ThemeBit=NULL WHERE ContentID=") + FirstRow(5)}
            << TBankProblem::ContentValueNull << QStringLiteral("ThemeBit 为空") << 1;
        QTest::newRow("RandomTheme NULL")
            << QStringList{QStringLiteral("UPDATE T_KS_Model SET RandomTheme=NULL WHERE ModelID=2")}
            << TBankProblem::RandomThemeNull << QStringLiteral("模板 2（准驾车型 002）的 RandomTheme 为空，模拟考试抽题会失败") << 1;
        QTest::newRow("exam time NULL")
            << QStringList{QStringLiteral("UPDATE T_KS_Model SET KSSJ=NULL WHERE ModelID=3")}
            << TBankProblem::ExamTimeMissing << QStringLiteral("KSSJ 为空或不大于 0") << 1;

        QTest::newRow("options NULL") << KWithoutConstraints + QStringList{QStringLiteral(
                                             "UPDATE T_KS_THEME SET ThemeSpareC=NULL, ThemeSpareE=NULL WHERE ThemeID=7")}
                                      << TBankProblem::OptionNull << QStringLiteral("题目 7：选项 3、5 为 NULL，应为空文本") << 1;
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
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeResult='15' WHERE ThemeID=8")}
            << TBankProblem::AnswerEmptyOption << QStringLiteral("题目 8：答案 “15” 指向空选项 5") << 1;
        QTest::newRow("answer naming a NULL option")
            << KWithoutConstraints + QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeSpareB=NULL, ThemeResult='12' WHERE ThemeID=8")}
            << TBankProblem::AnswerEmptyOption << QStringLiteral("指向空选项 2") << 2;  // and the NULL itself
        QTest::newRow("answer empty")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeResult='' WHERE ThemeID=8")}
            << TBankProblem::AnswerEmpty << QStringLiteral("题目 8：答案 ThemeResult 为空") << 1;
        QTest::newRow("single choice with two answers")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeResult='12' WHERE ThemeID=7")}
            << TBankProblem::AnswerSeveralForSingle << QStringLiteral("题目 7：单选题的答案 “12” 有多个选项") << 1;
        QTest::newRow("invalid question type")
            << QStringList{QStringLiteral("INSERT INTO T_KS_THEME (ThemeID, ThemeChapter, ThemeType, ThemeContent, ThemeSpareA, "
                                          "ThemeResult, ZT) VALUES (9001, 1, 4, '题', '甲', '1', 0)")}
            << TBankProblem::ThemeTypeInvalid << QStringLiteral("题目 9001：题型 ThemeType 为 “4”") << 1;

        QTest::newRow("picture in another format")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeImage=X'89504E470D0A1A0A0000000D49484452' WHERE ThemeID=1")}
            << TBankProblem::PictureNotJpeg << QStringLiteral("题目 1：图片 ThemeImage 不是可读的 JPEG（16 字节") << 1;
        QTest::newRow("truncated JPEG")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeImage=substr(ThemeImage, 1, 300) WHERE ThemeID=20")}
            << TBankProblem::PictureNotJpeg << QStringLiteral("题目 20：") << 1;
        QTest::newRow("empty picture")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeImage=X'' WHERE ThemeID=2")}
            << TBankProblem::PictureNotJpeg << QStringLiteral("（0 字节") << 1;

        QTest::newRow("set number of empty text")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET TT='' WHERE ThemeID IN (1, 2)")}
            << TBankProblem::SetNumberBlank << QStringLiteral("有 2 道题的套题号 TT 为空白文本 “”") << 1;
        QTest::newRow("set number of blanks")
            << QStringList{QStringLiteral("UPDATE T_KS_THEME SET TT='  ' WHERE ThemeID=3")}
            << TBankProblem::SetNumberBlank << QStringLiteral("有 1 道题") << 1;

        QTest::newRow("duplicate question number")
            << KWithoutConstraints + QStringList{QStringLiteral(
                   "INSERT INTO T_KS_THEME (ThemeID, ThemePart, ThemeChapter, ThemeType, ThemeContent, ThemeSpareA, ThemeSpareB, "
                   "ThemeSpareC, ThemeSpareD, ThemeSpareE, ThemeResult, ZT) SELECT ThemeID, ThemePart, ThemeChapter, ThemeType, "
                   "ThemeContent, ThemeSpareA, ThemeSpareB, ThemeSpareC, ThemeSpareD, ThemeSpareE, ThemeResult, 0 "
                   "FROM T_KS_THEME WHERE ThemeID=5")}
            << TBankProblem::DuplicateThemeId << QStringLiteral("题目编号 ThemeID 5 出现 2 次") << 1;
        QTest::newRow("question number NULL")
            << KWithoutConstraints + QStringList{QStringLiteral("UPDATE T_KS_THEME SET ThemeID=NULL WHERE ThemeID=9")}
            << TBankProblem::ThemeIdNull << QStringLiteral("有 1 道题的题目编号 ThemeID 为空") << 1;
        QTest::newRow("paper table missing")
            << QStringList{QStringLiteral("DROP TABLE T_KS_ExamineTheme_TT")}
            << TBankProblem::MissingTable << QStringLiteral("缺少表 T_KS_ExamineTheme_TT") << 1;
        QTest::newRow("column missing")
            << QStringList{QStringLiteral("ALTER TABLE T_KS_Model DROP COLUMN KSSJ")}
            << TBankProblem::MissingColumn << QStringLiteral("表 T_KS_Model 缺少列 KSSJ") << 1;
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

    void RefusesFilesThatAreNoBank()
    {
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, CheckBankFile(FDir.filePath(QStringLiteral("missing.sqlite"))));
        const QString text = FDir.filePath(QStringLiteral("notes.txt"));
        QFile file(text);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("This is not a database, just some words long enough to fill a header of one hundred bytes or more......");
        file.close();
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, CheckBankFile(text));
        // Checking never writes: the file is as it was.
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("This is not a database"));
    }
};

QTEST_GUILESS_MAIN(TestUBankCheck)
#include "tst_UBankCheck.moc"
