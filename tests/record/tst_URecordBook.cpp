#include <QTest>

#include "RecordFixture.h"
#include "UDM.h"
#include "URecordBook.h"

namespace {

TPaperQuestion Answered(int themeId, bool right, int chapter = 1)
{
    return {themeId, right ? "1" : "2", "1", chapter, 2, 1};
}

QList<int> BookIds(const std::vector<TBookEntry> &book)
{
    QList<int> ids;
    for (const TBookEntry &entry : book)
        ids << entry.ThemeID;
    return ids;
}

} // namespace

class TestURecordBook : public QObject
{
    Q_OBJECT

private slots:
    void init() { EXAMORA_REQUIRE_TEST_ENGINE(); }
    void StaysInBook_data();
    void StaysInBook();
    void BookOfTheRecordedPapers();
    void ChapterFilterAndLicenceClassNarrowTheBook();
    void AbandonedPaperCountsOnlyWhatWasAnswered();
};

void TestURecordBook::StaysInBook_data()
{
    QTest::addColumn<QString>("answersNewestFirst"); // R right, W wrong
    QTest::addColumn<bool>("inBook");
    QTest::newRow("never asked") << "" << false;
    QTest::newRow("right once") << "R" << false;
    QTest::newRow("always right") << "RRR" << false;
    QTest::newRow("wrong once") << "W" << true;
    QTest::newRow("one right answer since the mistake") << "RW" << true;
    QTest::newRow("two right answers in a row take it out") << "RRW" << false;
    QTest::newRow("right, wrong, right is not in a row") << "RWR" << true;
    QTest::newRow("wrong again after leaving") << "WRRW" << true;
    QTest::newRow("out again after the second mistake") << "RRWRRW" << false;
}

void TestURecordBook::StaysInBook()
{
    QFETCH(QString, answersNewestFirst);
    QFETCH(bool, inBook);
    std::vector<bool> answers;
    for (const QChar c : answersNewestFirst)
        answers.push_back(c == QLatin1Char('R'));
    QCOMPARE(::StaysInBook(answers), inBook);
}

void TestURecordBook::BookOfTheRecordedPapers()
{
    TRecordFixture fixture;
    fixture.SitPaper("3", "", {Answered(1, false), Answered(2, false), Answered(3, true), Answered(4, false)});
    fixture.SitPaper("1", "01", {Answered(1, true), Answered(2, false), Answered(5, false)});
    fixture.SitPaper("2", "1", {Answered(1, true), Answered(4, true), Answered(5, false)});
    const std::vector<TBookEntry> book = ReadWrongBook(DM->ACon, "001", QString());
    // 5 was last wrong in the newest paper, 2 in the second, 4 only in the first.
    QCOMPARE(BookIds(book), (QList<int>{5, 2, 4}));
    QCOMPARE(book[0].WrongTimes, 2);
    QCOMPARE(book[1].WrongTimes, 2);
    QCOMPARE(book[1].LastWrongAt, QStringLiteral("2026-11-02T09:04:00"));
    QCOMPARE(book[2].WrongTimes, 1);

    fixture.SitPaper("4", "", {Answered(5, true), Answered(2, true)});
    fixture.SitPaper("4", "", {Answered(5, true), Answered(4, true)});
    QCOMPARE(BookIds(ReadWrongBook(DM->ACon, "001", QString())), (QList<int>{2}));
}

void TestURecordBook::ChapterFilterAndLicenceClassNarrowTheBook()
{
    TRecordFixture fixture;
    fixture.Bank().AddTheme(1, {{"ThemeChapter", 1}});
    fixture.Bank().AddTheme(2, {{"ThemeChapter", 2}});
    fixture.Bank().AddTheme(3, {{"ThemeChapter", 3}});
    fixture.SitPaper("3", "", {Answered(1, false), Answered(2, false, 2), Answered(3, false, 3)});
    fixture.SitPaper("3", "", {Answered(1, false), Answered(9, false)}, "002");
    QCOMPARE(BookIds(ReadWrongBook(DM->ACon, "001", "THEMECHAPTER in (1,2)")), (QList<int>{1, 2}));
    QCOMPARE(BookIds(ReadWrongBook(DM->ACon, "001", "THEMECHAPTER in (3)")), (QList<int>{3}));
    // A question no longer in the bank is outside every chapter.
    QCOMPARE(BookIds(ReadWrongBook(DM->ACon, "002", "THEMECHAPTER in (1,2,3)")), (QList<int>{1}));
    QCOMPARE(BookIds(ReadWrongBook(DM->ACon, "002", QString())), (QList<int>{1, 9}));
    QCOMPARE(ReadWrongBook(DM->ACon, "003", QString()).size(), std::size_t(0));
}

void TestURecordBook::AbandonedPaperCountsOnlyWhatWasAnswered()
{
    TRecordFixture fixture;
    const qint64 recordId = fixture.StorePaper("3", "", 7, {Answered(1, false), {2, "", "1", 1, 2, 1}});
    fixture.Store().Abandon(recordId, "T_KS_ExamineTheme", 7, 0);
    QCOMPARE(BookIds(ReadWrongBook(DM->ACon, "001", QString())), (QList<int>{1}));
    // A handed-in paper's unanswered question was a mistake.
    fixture.SitPaper("3", "", {{3, "", "1", 1, 2, 1}});
    QCOMPARE(BookIds(ReadWrongBook(DM->ACon, "001", QString())), (QList<int>{3, 1}));
}

QTEST_GUILESS_MAIN(TestURecordBook)
#include "tst_URecordBook.moc"
