#include <QCryptographicHash>
#include <QFile>
#include <QTest>

#include "RoomFixture.h"
#include "UDM.h"
#include "UExamRules.h"
#include "UHallList.h"

// The room view's lists read from records the real store wrote, without a window.
class TestUHallList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void OpenPapersBySeatWithTheirProgress();
    void FinishedPapersOfTodayNewestFirstWithTheVerdict();
    void OnlyTheNamedRoomUnlessNoneIsNamed();
    void ReadingWritesNothing();
    void CsvHoldsBothListsOpenFirst();
    void PrintedPageEscapesWhatCandidatesTyped();

private:
    THallList Read(const QString &room = QStringLiteral("第一考场"));
    QByteArray BankDigest();

    std::unique_ptr<TRoomFixture> FRoom;
};

void TestUHallList::init()
{
    FRoom = std::make_unique<TRoomFixture>();
}

void TestUHallList::cleanup()
{
    FRoom.reset();
}

THallList TestUHallList::Read(const QString &room)
{
    return ReadHallList(DM->ACon, room, FRoom->Now.date().startOfDay());
}

QByteArray TestUHallList::BankDigest()
{
    QFile file(FRoom->Bank().DatabaseFile());
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

void TestUHallList::OpenPapersBySeatWithTheirProgress()
{
    const TSeatPaper third = FRoom->SitDown("seat-03", "李雷", "320102198511200012");
    const TSeatPaper first = FRoom->SitDown("seat-01", "王芳", "11010519491231002X");
    FRoom->SitDown("seat-02", "Anna Li", "E12345678");
    FRoom->Answer(third, 7, 5, 1800);
    FRoom->Answer(first, 2, 2, 2650);

    const THallList list = Read();
    QCOMPARE(list.Open.size(), std::size_t(3));
    QVERIFY(list.Finished.empty());
    QCOMPARE(OpenPaperHeader().size(), OpenPaperCells(list.Open[0]).size());
    QCOMPARE(OpenPaperCells(list.Open[0]),
             QStringList({"seat-01", "王芳", "11010519491231002X", "小型汽车（C1、C2、C3、C4）", "2 / 10",
                          ClockText(2650), "09:00:00"}));
    QCOMPARE(list.Open[1].Seat, QStringLiteral("seat-02"));
    QCOMPARE(OpenPaperCells(list.Open[1]).at(4), QStringLiteral("0 / 10"));
    QCOMPARE(OpenPaperCells(list.Open[1]).at(5), ClockText(45 * 60)); // not answered yet: the whole time
    QCOMPARE(OpenPaperCells(list.Open[2]).at(4), QStringLiteral("7 / 10"));
}

void TestUHallList::FinishedPapersOfTodayNewestFirstWithTheVerdict()
{
    // Yesterday's papers, finished or left open by a seat that crashed, are not today's room.
    FRoom->Now = QDateTime(QDate(2026, 12, 8), QTime(16, 0));
    FRoom->HandIn(FRoom->SitDown("seat-01", "昨天", "320102198511200012"), 0);
    FRoom->SitDown("seat-02", "昨天未交", "320102198511200012");

    FRoom->Now = QDateTime(QDate(2026, 12, 9), QTime(9, 0));
    const TSeatPaper passed = FRoom->SitDown("seat-01", "王芳", "11010519491231002X");
    const TSeatPaper failed = FRoom->SitDown("seat-02", "李雷", "320102198511200012");
    const TSeatPaper left = FRoom->SitDown("seat-03", "Anna Li", "E12345678");
    const TSeatPaper working = FRoom->SitDown("seat-04", "张伟", "510107200002294564");
    FRoom->Answer(passed, 10, 9, 900);
    FRoom->Answer(failed, 10, 6, 600);
    FRoom->Now = QDateTime(QDate(2026, 12, 9), QTime(9, 30, 5));
    FRoom->HandIn(passed, 900);
    FRoom->Now = QDateTime(QDate(2026, 12, 9), QTime(9, 40, 10));
    FRoom->HandIn(failed, 600);
    FRoom->Now = QDateTime(QDate(2026, 12, 9), QTime(9, 41));
    FRoom->Store().Abandon(left.RecordID, "T_KS_ExamineTheme", left.ExamineID, 100);
    FRoom->Answer(working, 1, 1, 2000);

    const THallList list = Read();
    QCOMPARE(list.Open.size(), std::size_t(1));
    QCOMPARE(list.Open[0].CandidateName, QStringLiteral("张伟"));
    QCOMPARE(list.Finished.size(), std::size_t(3));
    QCOMPARE(FinishedPaperHeader().size(), FinishedPaperCells(list.Finished[0]).size());
    QCOMPARE(FinishedPaperCells(list.Finished[0]).mid(4), QStringList({"09:41:00", "0", "已放弃"}));
    QCOMPARE(FinishedPaperCells(list.Finished[1]),
             QStringList(
                 {"seat-02", "李雷", "320102198511200012", "小型汽车（C1、C2、C3、C4）", "09:40:10", "60", "不合格"}));
    QCOMPARE(FinishedPaperCells(list.Finished[2]).mid(4), QStringList({"09:30:05", "90", "合格"}));
}

void TestUHallList::OnlyTheNamedRoomUnlessNoneIsNamed()
{
    FRoom->SitDown("seat-01", "王芳", "11010519491231002X", "第一考场");
    FRoom->SitDown("seat-01", "李雷", "320102198511200012", "第二考场");
    FRoom->SitDown("home", QString(), QString(), QString()); // a learner at home: no room

    QCOMPARE(Read(QStringLiteral("第一考场")).Open.size(), std::size_t(1));
    QCOMPARE(Read(QStringLiteral("第二考场")).Open[0].CandidateName, QStringLiteral("李雷"));
    QCOMPARE(Read(QString()).Open.size(), std::size_t(3));
}

void TestUHallList::ReadingWritesNothing()
{
    const TSeatPaper paper = FRoom->SitDown("seat-01", "王芳", "11010519491231002X");
    FRoom->Answer(paper, 3, 3, 2000);
    const QByteArray before = BankDigest();
    QVERIFY(!before.isEmpty());
    for (int i = 0; i < 3; ++i)
        QCOMPARE(Read().Open.size(), std::size_t(1));
    QCOMPARE(BankDigest(), before);
}

void TestUHallList::CsvHoldsBothListsOpenFirst()
{
    const TSeatPaper done = FRoom->SitDown("seat-01", "王芳", "11010519491231002X");
    FRoom->Answer(done, 10, 10, 500);
    FRoom->Now = FRoom->Now.addSecs(600);
    FRoom->HandIn(done, 500);
    const TSeatPaper working = FRoom->SitDown("seat-02", "李, 雷", "320102198511200012");
    FRoom->Answer(working, 4, 4, 2400);

    const QByteArray csv = HallCsv(Read());
    QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(csv.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(0),
             QStringLiteral("座位,姓名,身份证明号码,驾驶类型,状态,已答/总题,剩余时间,开始时间,交卷时间,得分,结果"));
    QCOMPARE(lines.at(1),
             QStringLiteral("seat-02,\"李, 雷\",320102198511200012,小型汽车（C1、C2、C3、C4）,考试中,4 / 10,")
                 + ClockText(2400) + QStringLiteral(",2026-12-09 09:10:00,,,"));
    QCOMPARE(lines.at(2),
             QStringLiteral("seat-01,王芳,11010519491231002X,小型汽车（C1、C2、C3、C4）,已交卷,10 / 10,,"
                            "2026-12-09 09:00:00,2026-12-09 09:10:00,100,合格"));
}

void TestUHallList::PrintedPageEscapesWhatCandidatesTyped()
{
    FRoom->SitDown("seat-01", "<b>王芳</b>", "E12345678");
    const QString html = HallPrintHtml(Read(), QStringLiteral("第一考场"), FRoom->Now);
    QVERIFY(html.contains(QStringLiteral("考场监控：第一考场")));
    QVERIFY(html.contains(QStringLiteral("2026-12-09 09:00:00")));
    QVERIFY(html.contains(QStringLiteral("正在考试（1）")));
    QVERIFY(html.contains(QStringLiteral("今日已交卷（0）")));
    QVERIFY(html.contains(QStringLiteral("&lt;b&gt;王芳&lt;/b&gt;")));
    QVERIFY(!html.contains(QStringLiteral("<b>王芳")));
}

QTEST_GUILESS_MAIN(TestUHallList)
#include "tst_UHallList.moc"
