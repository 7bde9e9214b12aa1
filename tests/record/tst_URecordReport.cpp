#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "RecordFixture.h"
#include "UDM.h"
#include "URecordBook.h"
#include "URecordCsv.h"
#include "URecordReport.h"

namespace {

std::vector<TScorePoint> Scores(const QList<int> &scores)
{
    std::vector<TScorePoint> points;
    QDateTime at(QDate(2026, 10, 1), QTime(8, 0));
    for (const int score : scores)
        points.push_back({at = at.addDays(1), score});
    return points;
}

QStringList AccuracyLines(const std::vector<TAccuracy> &rows)
{
    QStringList lines;
    for (const TAccuracy &row : rows)
        lines << QStringLiteral("%1 %2/%3 %4").arg(row.Name).arg(row.Right).arg(row.Asked).arg(row.PercentText());
    return lines;
}

} // namespace

class TestURecordReport : public QObject
{
    Q_OBJECT

private slots:
    void init() { EXAMORA_REQUIRE_TEST_ENGINE(); }
    void PastPapersNewestFirstAsShown();
    void ScoresOverTimeAreHandedInMockExams();
    void Readiness_data();
    void Readiness();
    void AccuracyPerChapterAndType();
    void CsvField_data();
    void CsvField();
    void ExportIsUtf8WithBomAndCrlf();
    void DamagedRowsAreShownOrSkipped();
};

void TestURecordReport::PastPapersNewestFirstAsShown()
{
    TRecordFixture fixture;
    fixture.Bank().Exec(QStringLiteral("insert into T_KS_CHAPTER values (2, '道路交通信号')"));
    fixture.SitMockExam(90);
    fixture.SitPaper("2", "2", {{1, "1", "1", 2, 2, 1}, {2, "1", "2", 2, 2, 1}});
    fixture.SitPaper("1", "07", {{3, "", "1", 1, 2, 1}});
    fixture.StorePaper("3", "", 9, {{4, "", "1", 1, 2, 10}});
    fixture.SitPaper("3", "", {{5, "1", "1", 1, 2, 10}}, "002");

    const std::vector<TPastPaper> papers = ReadPastPapers(DM->ACon, "001");
    QCOMPARE(papers.size(), std::size_t(4));
    QCOMPARE(PastPaperHeader().join('|'), QStringLiteral("时间|方式|套题/章节|题数|答对|答错|得分|结论|状态"));
    const QStringList expected{
        QStringLiteral("2026-11-02 09:07|模拟考试||1|||||未交卷"),
        QStringLiteral("2026-11-02 09:05|套题练习|07|1|0|1|0||已交卷"),
        QStringLiteral("2026-11-02 09:03|章节练习|道路交通信号|2|1|1|1||已交卷"),
        QStringLiteral("2026-11-02 09:01|模拟考试||10|9|1|90|合格|已交卷"),
    };
    for (std::size_t i = 0; i < papers.size(); ++i)
        QCOMPARE(PastPaperCells(papers[i]).join('|'), expected.at(int(i)));
}

void TestURecordReport::ScoresOverTimeAreHandedInMockExams()
{
    TRecordFixture fixture;
    fixture.SitMockExam(70);
    fixture.SitPaper("1", "01", {{1, "1", "1", 1, 2, 100}});
    fixture.SitMockExam(100);
    const qint64 open = fixture.StorePaper("3", "", 50, {{1, "1", "1", 1, 2, 100}});
    fixture.Store().Abandon(open, "T_KS_ExamineTheme", 50, 0);
    const std::vector<TScorePoint> scores = MockExamScores(ReadPastPapers(DM->ACon, "001"));
    QCOMPARE(scores.size(), std::size_t(2));
    QCOMPARE(scores[0].Score, 70);
    QCOMPARE(scores[0].At, QDateTime(QDate(2026, 11, 2), QTime(9, 2)));
    QCOMPARE(scores[1].Score, 100);
}

void TestURecordReport::Readiness_data()
{
    QTest::addColumn<QList<int>>("scoresOldestFirst");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("ready");
    QTest::newRow("none yet") << QList<int>{} << "还没有模拟考试记录" << false;
    QTest::newRow("fewer than five") << QList<int>{95, 90} << "最近 2 次模拟考试平均 93 分，合格 2 次" << false;
    QTest::newRow("five, all passed") << QList<int>{90, 92, 94, 96, 98} << "最近 5 次模拟考试平均 94 分，合格 5 次"
                                      << true;
    QTest::newRow("one below the line") << QList<int>{90, 92, 89, 96, 98} << "最近 5 次模拟考试平均 93 分，合格 4 次"
                                        << false;
    QTest::newRow("only the newest five count")
        << QList<int>{10, 20, 90, 90, 90, 90, 90} << "最近 5 次模拟考试平均 90 分，合格 5 次" << true;
    QTest::newRow("an old pass does not make up a new failure")
        << QList<int>{100, 100, 100, 100, 100, 0} << "最近 5 次模拟考试平均 80 分，合格 4 次" << false;
}

void TestURecordReport::Readiness()
{
    QFETCH(QList<int>, scoresOldestFirst);
    QFETCH(QString, line);
    QFETCH(bool, ready);
    const TReadiness readiness = ReadinessOf(Scores(scoresOldestFirst));
    QCOMPARE(readiness.Line(), line);
    QCOMPARE(readiness.Ready(), ready);
    QCOMPARE(readiness.Verdict().isEmpty(), !ready);
}

void TestURecordReport::AccuracyPerChapterAndType()
{
    TRecordFixture fixture;
    fixture.Bank().Exec(QStringLiteral("insert into T_KS_CHAPTER values (1, '道路交通安全法律、法规和规章')"));
    fixture.SitPaper("3", "", {{1, "1", "1", 1, 1, 1}, {2, "2", "1", 1, 2, 1}, {3, "13", "13", 3, 3, 1}});
    fixture.SitPaper("2", "1", {{1, "1", "1", 1, 1, 1}, {4, "1", "1", 3, 7, 1}});
    fixture.SitPaper("3", "", {{1, "2", "1", 1, 1, 1}}, "002");
    QCOMPARE(AccuracyLines(ChapterAccuracy(DM->ACon, "001")),
             (QStringList{"道路交通安全法律、法规和规章 2/3 67%", "第3章 2/2 100%"}));
    QCOMPARE(AccuracyLines(TypeAccuracy(DM->ACon, "001")),
             (QStringList{"判断 2/2 100%", "单选 0/1 0%", "多选 1/1 100%", "7 1/1 100%"}));
    QCOMPARE(AccuracyLines(TypeAccuracy(DM->ACon, "002")), (QStringList{"判断 0/1 0%"}));
    QVERIFY(ChapterAccuracy(DM->ACon, "003").empty());
}

void TestURecordReport::CsvField_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("field");
    QTest::newRow("plain text") << "模拟考试"
                                << "模拟考试";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("comma") << "道路,信号"
                           << "\"道路,信号\"";
    QTest::newRow("quote") << "说\"停\""
                           << "\"说\"\"停\"\"\"";
    QTest::newRow("line break") << "一\n二"
                                << "\"一\n二\"";
    QTest::newRow("carriage return") << "一\r二"
                                     << "\"一\r二\"";
    QTest::newRow("formula") << "=1+1"
                             << "'=1+1";
    QTest::newRow("plus") << "+86"
                          << "'+86";
    QTest::newRow("minus, a damaged score") << "-5"
                                            << "'-5";
    QTest::newRow("at") << "@SUM(A1)"
                        << "'@SUM(A1)";
    QTest::newRow("leading tab") << "\t=1"
                                 << "'\t=1";
    QTest::newRow("formula with a comma") << "=A1,B1"
                                          << "\"'=A1,B1\"";
    QTest::newRow("sign inside is harmless") << "90-100"
                                             << "90-100";
}

void TestURecordReport::CsvField()
{
    QFETCH(QString, value);
    QFETCH(QString, field);
    QCOMPARE(::CsvField(value), field);
}

void TestURecordReport::ExportIsUtf8WithBomAndCrlf()
{
    TRecordFixture fixture;
    fixture.SitMockExam(100);
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("学习记录.csv"));
    QString error;
    QVERIFY(WriteCsvFile(fileName, PastPapersCsv(ReadPastPapers(DM->ACon, "001")), &error));
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(QString::fromUtf8(bytes.mid(3)),
             QStringLiteral("时间,方式,套题/章节,题数,答对,答错,得分,结论,状态\r\n"
                            "2026-11-02 09:01,模拟考试,,10,10,0,100,合格,已交卷\r\n"));

    QVERIFY(!WriteCsvFile(dir.filePath(QStringLiteral("no-such-folder/x.csv")), "x", &error));
    QVERIFY(!error.isEmpty());
}

void TestURecordReport::DamagedRowsAreShownOrSkipped()
{
    // A server's integer columns refuse such values in the first place.
    EXAMORA_SQLITE_ONLY();
    TRecordFixture fixture;
    fixture.SitMockExam(100, 1);
    TTestBank &bank = fixture.Bank();
    bank.Exec("insert into T_KS_ExamRecord (DriveTypeCode, PracticeMode, Status) values ('001', NULL, 'handed-in')");
    bank.Exec("insert into T_KS_ExamRecord (DriveTypeCode, PracticeMode, PracticeScope, StartedAt, HandedInAt, "
              "QuestionCount, RightCount, WrongCount, Score, Passed, Status) values ('001', '9', 'x', 'gestern', "
              "'2026-11-03T10:00:00', -3, 'viele', 2.5, -40, 7, 'lost')");
    bank.Exec("insert into T_KS_ExamRecord (DriveTypeCode, PracticeMode, PracticeScope, HandedInAt, Score, Status) "
              "values ('001', '2', 'abc', '2026-11-03T11:00:00', 'neunzig', 'handed-in')");
    bank.Exec("insert into T_KS_ExamRecord (DriveTypeCode, PracticeMode, HandedInAt, Score, Status) "
              "values ('001', '3', 'not a time', 95, 'handed-in')");
    const qint64 damaged = bank.Scalar("select RecordID from T_KS_ExamRecord where Status='lost'").toLongLong();
    bank.Exec(QStringLiteral("insert into T_KS_ExamRecordTheme (RecordID, ID, ThemeID, ThemeChapter, ThemeType, IsRight) "
                             "values (%1, 1, NULL, 'eins', 'x', 1), (%1, 2, 'zwei', NULL, NULL, 'ja'), "
                             "(%1, 3, -4, -1, -2, 0), (%1, 4, 1, 1, 2, 2)")
                  .arg(damaged));

    const std::vector<TPastPaper> papers = ReadPastPapers(DM->ACon, "001");
    QCOMPARE(papers.size(), std::size_t(5));
    QCOMPARE(PastPaperCells(papers[1]).join('|'), QStringLiteral("|章节练习|abc||||neunzig||已交卷"));
    QCOMPARE(PastPaperCells(papers[2]).join('|'), QStringLiteral("gestern|9|x|-3|viele|2.5|-40|7|lost"));
    QCOMPARE(PastPaperCells(papers[3]).join('|'), QStringLiteral("|模拟考试|||||||已交卷"));

    // Only the sound mock exam is scored; the damaged ones are left out.
    const std::vector<TScorePoint> scores = MockExamScores(papers);
    QCOMPARE(scores.size(), std::size_t(1));
    QCOMPARE(ReadinessOf(scores).Line(), QStringLiteral("最近 1 次模拟考试平均 100 分，合格 1 次"));
    QCOMPARE(PastPapersCsv(papers).count("\r\n"), 6);

    // The questions of a record in an unknown state count nowhere; those of a
    // handed-in record with nonsense in them are shown as they are.
    QCOMPARE(AccuracyLines(ChapterAccuracy(DM->ACon, "001")).size(), 2);
    bank.Exec(QStringLiteral("update T_KS_ExamRecord set Status='handed-in' where RecordID=%1").arg(damaged));
    QCOMPARE(AccuracyLines(ChapterAccuracy(DM->ACon, "001")).size(), 5);
    QCOMPARE(AccuracyLines(TypeAccuracy(DM->ACon, "001")).size(), 4);
    // Book: the wrong mock-exam question is absent (all right); no damaged row gets in.
    QVERIFY(ReadWrongBook(DM->ACon, "001", QString()).empty());
}

QTEST_GUILESS_MAIN(TestURecordReport)
#include "tst_URecordReport.moc"
