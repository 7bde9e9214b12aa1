#include <atomic>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QSqlQuery>
#include <QTest>

#include "PaperTestSupport.h"
#include "TestSupport.h"
#include "UComm.h"
#include "UDbError.h"
#include "UIniFile.h"
#include "UPaperError.h"
#include "UPaperStore.h"
#include "UQuery.h"
#include "UThemeCfg.h"

namespace {

// The message of the EPaperError that run throws, the one the candidate is
// shown; empty when it throws none.
template <typename TRun>
QString PaperErrorOf(TRun run)
{
    try {
        run();
    } catch (const EPaperError &error) {
        return error.Message();
    }
    return QString();
}

// Records what the store tells a progress display, in order.
class TRecordedProgress : public TPaperProgress
{
public:
    void Begin() override { Calls << QStringLiteral("Begin"); }
    void SetMaximum(int questions) override { Calls << QStringLiteral("SetMaximum %1").arg(questions); }
    void StepIt() override { Calls << QStringLiteral("StepIt"); }
    void End() override { Calls << QStringLiteral("End"); }

    QStringList Calls;
};

} // namespace

class TestUPaperStore : public TPaperBankTest
{
    Q_OBJECT

private slots:
    void NextExamineIDCountsPerTable_data();
    void NextExamineIDCountsPerTable();
    void MockExamStoresTheSectionsInOrder();
    void MockExamSkipsQuestionsMissingFromTheBank();
    void DrawnIdsAreFoundByTheirExactText_data();
    void DrawnIdsAreFoundByTheirExactText();
    void ThemeCfgDefaults();
    void NonNumericThemeCfgValuesFailAndLeaveNoRows_data();
    void NonNumericThemeCfgValuesFailAndLeaveNoRows();
    void FailingPostRollsBackAndNamesTheQuestion();
    void MissingThemeCfgFailsSilently();
    void ProgressIsToldOfEveryQuestion_data();
    void ProgressIsToldOfEveryQuestion();
    void DrawnPaperIsStoredRatherThanThemeCfg();
    void LoadPaperPractice_data();
    void LoadPaperPractice();
    void LoadPaperPracticeNotFound_data();
    void LoadPaperPracticeNotFound();
    void PracticeModesDoNotReadThemeCfg_data();
    void PracticeModesDoNotReadThemeCfg();
    void PaperNumbersGoPast32Bits();
    void LargestPossiblePaperNumberIsRefused();
};

void TestUPaperStore::NextExamineIDCountsPerTable_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QList<int>>("examPapers");
    QTest::addColumn<QList<int>>("practicePapers");
    QTest::addColumn<int>("next");
    QTest::newRow("empty exam table") << "3" << QList<int>{} << QList<int>{4} << 1;
    QTest::newRow("exam papers 1, 2, 7") << "3" << QList<int>{1, 2, 7} << QList<int>{9} << 8;
    QTest::newRow("empty mode reads as exam") << "" << QList<int>{3} << QList<int>{} << 4;
    QTest::newRow("mode 0 reads as exam") << "0" << QList<int>{3} << QList<int>{} << 4;
    QTest::newRow("set practice counts its own") << "1" << QList<int>{8} << QList<int>{} << 1;
    QTest::newRow("chapter practice counts its own") << "2" << QList<int>{8} << QList<int>{2, 5} << 6;
}

void TestUPaperStore::NextExamineIDCountsPerTable()
{
    QFETCH(QString, mode);
    QFETCH(QList<int>, examPapers);
    QFETCH(QList<int>, practicePapers);
    QFETCH(int, next);
    for (int paper : examPapers)
        FBank->Exec(QStringLiteral("insert into T_KS_ExamineTheme (ID, ExamineID) values (1, %1)").arg(paper));
    for (int paper : practicePapers)
        FBank->Exec(QStringLiteral("insert into T_KS_ExamineTheme_TT (ID, ExamineID) values (1, %1)").arg(paper));
    SetRun(mode);
    TPaperStore store(TPaperRequest::OfRun());
    QCOMPARE(store.NextExamineID(), next);
}

void TestUPaperStore::MockExamStoresTheSectionsInOrder()
{
    const QByteArray picture("\xff\xd8\xff\xe0 not decoded here \xff\xd9", 24);
    QList<int> ids;
    for (int id = 1; id <= 100; ++id) {
        FBank->AddTheme(1000 - id,
                        id == 5 ? QVariantMap{{QStringLiteral("ThemeImage"), picture},
                                              {QStringLiteral("ThemeSpareF"), QStringLiteral("六")}}
                                : QVariantMap{});
        ids << 1000 - id;
    }
    std::reverse(ids.begin(), ids.end()); // sections in another order than the bank's
    WriteThemeCfgText(DrawnPaper(ids, QStringLiteral("45")));
    FBank->Exec(QStringLiteral("insert into T_KS_ExamineTheme (ID, ExamineID) values (1, 6)"));

    TScriptedMessages messages;
    TPaperStore store(TPaperRequest::OfRun());
    QVERIFY(store.SavePaper());
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(store.FExamineID, 7);
    QCOMPARE(store.FExamMinutes, 45);
    QCOMPARE(store.FQuestionCount, 100);
    const QList<QVariantList> rows = PaperRows(*FBank, QStringLiteral("T_KS_ExamineTheme"), 7);
    QCOMPARE(rows.size(), 100);
    for (int n = 1; n <= 100; ++n)
        QCOMPARE(rows[n - 1], (QVariantList{n, ids[n - 1], n}));

    // Every column is copied as it is; the answer columns stay empty.
    QSqlQuery copy(FBank->Db());
    QVERIFY(copy.exec(QStringLiteral("select ThemeImage, ThemeSpareF, ThemeContent, ThemeSpareE, AnswerResult, Yxx_St, "
                                     "ThemeType from T_KS_ExamineTheme where ExamineID=7 and ThemeID=995")));
    QVERIFY(copy.next());
    QCOMPARE(copy.value(0).toByteArray(), picture);
    QCOMPARE(copy.value(1).toString(), QStringLiteral("六"));
    QCOMPARE(copy.value(2).toString(), QStringLiteral("题目995"));
    QVERIFY(!copy.value(3).isNull() && copy.value(3).toString().isEmpty());
    QVERIFY(copy.value(4).isNull() && copy.value(5).isNull());
    QCOMPARE(copy.value(6).toInt(), 2);
    QVERIFY(
        FBank->Scalar(QStringLiteral("select count(*) from T_KS_ExamineTheme where ExamineID=7 and ThemeSpareF is null"))
            .toInt()
        == 99);
}

void TestUPaperStore::MockExamSkipsQuestionsMissingFromTheBank()
{
    QList<int> ids;
    for (int id = 1; id <= 100; ++id)
        ids << id;
    for (int id = 1; id <= 100; ++id) {
        if (id != 37)
            FBank->AddTheme(id);
    }
    QByteArray text = DrawnPaper(ids);
    text.replace("[60]\nThemeID=60\n", "[60]\n");                          // no ThemeID: reads as -1
    text.replace("[61]\nThemeID=61\nThemeBit=61\n", "[61]\nThemeID=61\n"); // no ThemeBit: 1 point
    WriteThemeCfgText(text);

    TPaperStore store(TPaperRequest::OfRun());
    QVERIFY(store.SavePaper());
    QCOMPARE(store.FQuestionCount, 100);
    const QList<QVariantList> rows = PaperRows(*FBank, QStringLiteral("T_KS_ExamineTheme"), 1);
    QCOMPARE(rows.size(), 98);
    QCOMPARE(rows[35], (QVariantList{36, 36, 36}));
    QCOMPARE(rows[36], (QVariantList{37, 38, 38})); // section 38 moves up to ID 37
    QCOMPARE(rows[58], (QVariantList{59, 61, 1}));
    QCOMPARE(rows.last(), (QVariantList{98, 100, 100}));
}

// The bank is searched as Locate would: a ThemeID matches the text that
// the number reads as, not any text that converts to it.
void TestUPaperStore::DrawnIdsAreFoundByTheirExactText_data()
{
    QTest::addColumn<QByteArray>("drawnId");
    QTest::addColumn<int>("stored");
    QTest::newRow("decimal") << QByteArray("7") << 7;
    QTest::newRow("leading zero") << QByteArray("007") << 0;
    QTest::newRow("plus sign") << QByteArray("+7") << 0;
    QTest::newRow("negative") << QByteArray("-3") << -3;
    QTest::newRow("letters") << QByteArray("7a") << 0;
    QTest::newRow("empty") << QByteArray("") << 0;
}

void TestUPaperStore::DrawnIdsAreFoundByTheirExactText()
{
    QFETCH(QByteArray, drawnId);
    QFETCH(int, stored);
    FBank->AddTheme(7);
    FBank->AddTheme(-3);
    WriteThemeCfgText("[System]\nThemeCount=1\n[1]\nThemeID=" + drawnId + "\n");
    TPaperStore store(TPaperRequest::OfRun());
    QVERIFY(store.SavePaper());
    const QList<QVariantList> rows = PaperRows(*FBank, QStringLiteral("T_KS_ExamineTheme"), 1);
    QCOMPARE(rows.size(), stored ? 1 : 0);
    if (stored)
        QCOMPARE(rows.first().value(1).toInt(), stored);
}

void TestUPaperStore::ThemeCfgDefaults()
{
    FBank->AddTheme(1);
    WriteThemeCfgText("[System]\n[1]\nThemeID=1\n");
    TPaperStore store(TPaperRequest::OfRun());
    QVERIFY(store.SavePaper());
    QCOMPARE(store.FExamMinutes, 60);
    QCOMPARE(store.FQuestionCount, 0);
    QVERIFY(PaperRows(*FBank, QStringLiteral("T_KS_ExamineTheme"), 1).isEmpty());
}

void TestUPaperStore::NonNumericThemeCfgValuesFailAndLeaveNoRows_data()
{
    QTest::addColumn<QByteArray>("cfg");
    QTest::addColumn<QString>("message");
    const QByteArray sections = "[1]\nThemeID=11\nThemeBit=2\n[2]\nThemeID=12\nThemeBit=2\n";
    QTest::newRow("Time is text") << "[System]\nTime=abc\nThemeCount=2\n" + sections << "保存试题出错！";
    QTest::newRow("ThemeCount with a letter") << "[System]\nTime=45\nThemeCount=2x\n" + sections << "保存试题出错！";
    QTest::newRow("ThemeBit of section 1 is text")
        << QByteArray("[System]\nTime=45\nThemeCount=2\n[1]\nThemeID=12\nThemeBit=x\n") << "保存试题出错！";
    QTest::newRow("ThemeBit of section 2 is text")
        << QByteArray("[System]\nTime=45\nThemeCount=2\n[1]\nThemeID=11\nThemeBit=2\n[2]\nThemeID=12\nThemeBit=two\n")
        << "11保存试题出错！";
}

void TestUPaperStore::NonNumericThemeCfgValuesFailAndLeaveNoRows()
{
    QFETCH(QByteArray, cfg);
    QFETCH(QString, message);
    FBank->AddTheme(11);
    FBank->AddTheme(12);
    WriteThemeCfgText(cfg);
    TPaperStore store(TPaperRequest::OfRun());
    QCOMPARE(PaperErrorOf([&store] { store.SavePaper(); }), message);
    QCOMPARE(FBank->Scalar(QStringLiteral("select count(*) from T_KS_ExamineTheme")).toInt(), 0);
    QCOMPARE(FBank->Scalar(QStringLiteral("select count(*) from T_KS_THEME")).toInt(), 2);
}

void TestUPaperStore::FailingPostRollsBackAndNamesTheQuestion()
{
    for (int id = 1; id <= 5; ++id)
        FBank->AddTheme(20 + id, {{QStringLiteral("TT"), QStringLiteral("01")}});
    FBank->RefuseRows("RefuseThird", "insert", "T_KS_ExamineTheme_TT", "NEW.ID = 3", "refused");
    SetRun(QStringLiteral("1"), QStringLiteral("01"));
    TPaperStore store(TPaperRequest::OfRun());
    QCOMPARE(PaperErrorOf([&store] { store.SavePaper(); }), QStringLiteral("23保存试题出错！"));
    QCOMPARE(FBank->Scalar(QStringLiteral("select count(*) from T_KS_ExamineTheme_TT")).toInt(), 0);
    // The write lock is released: the next paper can be stored.
    FBank->AllowRows("RefuseThird", "T_KS_ExamineTheme_TT");
    QVERIFY(store.SavePaper());
    QCOMPARE(store.FExamineID, 1);
}

void TestUPaperStore::MissingThemeCfgFailsSilently()
{
    FBank->AddTheme(1);
    QFile::remove(ThemeCfgFileName());
    TScriptedMessages messages;
    TPaperStore store(TPaperRequest::OfRun());
    QVERIFY(!store.SavePaper());
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(FBank->Scalar(QStringLiteral("select count(*) from T_KS_ExamineTheme")).toInt(), 0);
}

void TestUPaperStore::ProgressIsToldOfEveryQuestion_data()
{
    QTest::addColumn<QByteArray>("cfg");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("message");
    const QStringList stepped{"Begin", "SetMaximum 3", "StepIt", "StepIt", "StepIt", "End"};
    QTest::newRow("stored") << DrawnPaper({1, 2, 3}) << stepped << "";
    // A question missing from the bank is passed over with a step.
    QTest::newRow("one missing") << DrawnPaper({1, 7, 3}) << stepped << "";
    QTest::newRow("failed on the second question")
        << QByteArray("[System]\nThemeCount=3\n[1]\nThemeID=1\n[2]\nThemeID=2\nThemeBit=x\n")
        << QStringList{"Begin", "SetMaximum 3", "StepIt", "End"} << "1保存试题出错！";
    QTest::newRow("size unreadable") << QByteArray("[System]\nThemeCount=x\n") << QStringList{"Begin", "End"}
                                     << "保存试题出错！";
    QTest::newRow("no Theme.Cfg") << QByteArray() << QStringList() << "";
}

void TestUPaperStore::ProgressIsToldOfEveryQuestion()
{
    QFETCH(QByteArray, cfg);
    QFETCH(QStringList, calls);
    QFETCH(QString, message);
    for (int id = 1; id <= 3; ++id)
        FBank->AddTheme(id);
    if (!cfg.isEmpty())
        WriteThemeCfgText(cfg);
    TRecordedProgress progress;
    TPaperStore store(TPaperRequest::OfRun());
    QCOMPARE(PaperErrorOf([&] { store.SavePaper(progress); }), message);
    QCOMPARE(progress.Calls, calls);
}

// The paper this run drew is stored even where Theme.Cfg now holds another
// one, or none at all: another copy of the program draws into the same file.
void TestUPaperStore::DrawnPaperIsStoredRatherThanThemeCfg()
{
    for (int id = 1; id <= 5; ++id)
        FBank->AddTheme(id);
    WriteThemeCfgText(DrawnPaper({4, 5}));
    for (const bool themeCfgThere : {true, false}) {
        if (!themeCfgThere)
            QVERIFY(QFile::remove(ThemeCfgFileName()));
        TPaperStore store(TPaperRequest::OfRun());
        store.FDrawnPaper = std::make_unique<TIniFile>(QString());
        store.FDrawnPaper->FromBytes(DrawnPaper({3, 1, 2}, QStringLiteral("25")));
        QVERIFY(store.SavePaper());
        QCOMPARE(store.FExamMinutes, 25);
        QCOMPARE(PaperRows(*FBank, QStringLiteral("T_KS_ExamineTheme"), store.FExamineID),
                 (QList<QVariantList>{{1, 3, 1}, {2, 1, 2}, {3, 2, 3}}));
    }
}

void TestUPaperStore::LoadPaperPractice_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("scope");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QList<int>>("themeIds");
    // Set "01" holds 25 questions of chapter 1 and one of a safety chapter.
    QList<int> set;
    for (int id = 101; id <= 125; ++id)
        set << id;
    QTest::newRow("set practice") << "1"
                                  << "01"
                                  << "THEMECHAPTER in (1)" << 180 << set;
    QTest::newRow("chapter practice") << "2"
                                      << "21"
                                      << "THEMECHAPTER in (20,21,22,23,24,25,26)" << 480 << QList<int>{200, 201, 202};
}

void TestUPaperStore::LoadPaperPractice()
{
    QFETCH(QString, mode);
    QFETCH(QString, scope);
    QFETCH(QString, filter);
    QFETCH(int, minutes);
    QFETCH(QList<int>, themeIds);
    for (int id = 101; id <= 125; ++id)
        FBank->AddTheme(id, {{QStringLiteral("TT"), QStringLiteral("01")}});
    FBank->AddTheme(126, {{QStringLiteral("TT"), QStringLiteral("01")}, {QStringLiteral("ThemeChapter"), 20}});
    FBank->AddTheme(127, {{QStringLiteral("TT"), QStringLiteral("1")}});
    for (int id = 200; id <= 202; ++id)
        FBank->AddTheme(id, {{QStringLiteral("ThemeChapter"), 21}});
    WriteThemeCfgText("[1]\nThemeBit=9\n[2]\nThemeBit=9\n"); // a mock exam's points do not leak in
    SetRun(mode, scope);
    RunContext.ChapterFilter = filter;

    TScriptedMessages messages;
    TQuery paper;
    TPaperStore store(TPaperRequest::OfRun());
    QVERIFY(store.LoadPaper(&paper));
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(store.FExamineID, 1);
    QCOMPARE(store.FExamMinutes, minutes);
    QCOMPARE(store.FQuestionCount, themeIds.size());
    QCOMPARE(paper.RecordCount(), themeIds.size());
    QCOMPARE(paper.FieldByName(QStringLiteral("ID"))->AsInteger(), 1);
    const QList<QVariantList> rows = PaperRows(*FBank, QStringLiteral("T_KS_ExamineTheme_TT"), 1);
    QCOMPARE(rows.size(), themeIds.size());
    for (int k = 0; k < rows.size(); ++k)
        QCOMPARE(rows[k], (QVariantList{k + 1, themeIds[k], 1}));
    QCOMPARE(FBank->Scalar(QStringLiteral("select count(*) from T_KS_ExamineTheme")).toInt(), 0);
}

void TestUPaperStore::LoadPaperPracticeNotFound_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("scope");
    QTest::addColumn<QString>("message");
    QTest::newRow("set of another class")
        << "1"
        << "02" << QStringLiteral("类别为%1，试卷编号为02的试卷未找到。").arg(KCaption);
    QTest::newRow("set number with a quote")
        << "1"
        << "0'2" << QStringLiteral("类别为%1，试卷编号为0'2的试卷未找到。").arg(KCaption);
    QTest::newRow("chapter of another class") << "2"
                                              << "20" << QStringLiteral("类别为%1的试卷未找到。").arg(KCaption);
}

void TestUPaperStore::LoadPaperPracticeNotFound()
{
    QFETCH(QString, mode);
    QFETCH(QString, scope);
    QFETCH(QString, message);
    FBank->AddTheme(1, {{QStringLiteral("TT"), QStringLiteral("02")}, {QStringLiteral("ThemeChapter"), 20}});
    SetRun(mode, scope);
    TQuery paper;
    TPaperStore store(TPaperRequest::OfRun());
    QCOMPARE(PaperErrorOf([&] { store.LoadPaper(&paper); }), message);
    QVERIFY(!paper.Active());
    QCOMPARE(FBank->Scalar(QStringLiteral("select count(*) from T_KS_ExamineTheme_TT")).toInt(), 0);
}

// A Theme.Cfg that is a pipe tells whether anyone opened it: a writer
// thread gets through its open only once a reader opens the other end.
void TestUPaperStore::PracticeModesDoNotReadThemeCfg_data()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("set practice") << "1";
    QTest::newRow("chapter practice") << "2";
}

void TestUPaperStore::PracticeModesDoNotReadThemeCfg()
{
    QFETCH(QString, mode);
    for (int id = 1; id <= 3; ++id)
        FBank->AddTheme(id, {{QStringLiteral("TT"), QStringLiteral("1")}});
    const QByteArray pipe = QFile::encodeName(ThemeCfgFileName());
    QCOMPARE(mkfifo(pipe.constData(), 0600), 0);
    std::atomic<bool> opened = false;
    std::thread writer([&pipe, &opened] {
        const int fd = open(pipe.constData(), O_WRONLY);
        opened = true;
        if (fd >= 0) {
            (void)write(fd, "[1]\nThemeBit=9\n", 15);
            close(fd);
        }
    });
    SetRun(mode, QStringLiteral("1"));
    TPaperStore store(TPaperRequest::OfRun());
    const bool saved = store.SavePaper();
    const bool read = opened;
    // Lets the writer through in any case, so that it can be joined.
    const int reader = open(pipe.constData(), O_RDONLY | O_NONBLOCK);
    writer.join();
    close(reader);
    QVERIFY(saved);
    QVERIFY(!read);
    QCOMPARE(PaperRows(*FBank, QStringLiteral("T_KS_ExamineTheme_TT"), 1).size(), 3);
}

void TestUPaperStore::PaperNumbersGoPast32Bits()
{
    for (int id = 1; id <= 3; ++id)
        FBank->AddTheme(id, {{QStringLiteral("TT"), QStringLiteral("01")}});
    WriteThemeCfgText(DrawnPaper({3, 1, 2}));
    FBank->Exec(QStringLiteral("insert into T_KS_ExamineTheme (ID, ExamineID) values (1, 2147483647)"));
    TScriptedMessages messages;
    for (const qint64 expected : {Q_INT64_C(2147483648), Q_INT64_C(2147483649)}) {
        TPaperStore store(TPaperRequest::OfRun());
        QVERIFY(store.SavePaper());
        QCOMPARE(store.FExamineID, expected);
        QCOMPARE(PaperRows(*FBank, QStringLiteral("T_KS_ExamineTheme"), expected),
                 (QList<QVariantList>{{1, 3, 1}, {2, 1, 2}, {3, 2, 3}}));
    }

    // The paper is opened by its number too.
    FBank->Exec(QStringLiteral("insert into T_KS_ExamineTheme_TT (ID, ExamineID) values (1, 4294967295)"));
    SetRun(QStringLiteral("1"), QStringLiteral("01"));
    TQuery paper;
    TPaperStore store(TPaperRequest::OfRun());
    QVERIFY(store.LoadPaper(&paper));
    QCOMPARE(store.FExamineID, Q_INT64_C(4294967296));
    QCOMPARE(paper.RecordCount(), 3);
    QCOMPARE(paper.FieldByName(QStringLiteral("ExamineID"))->AsString(), QStringLiteral("4294967296"));
    QCOMPARE(messages.Count(), 0);
}

void TestUPaperStore::LargestPossiblePaperNumberIsRefused()
{
    FBank->Exec(QStringLiteral("insert into T_KS_ExamineTheme (ID, ExamineID) values (1, 9223372036854775806)"));
    TPaperStore store(TPaperRequest::OfRun());
    QCOMPARE(store.NextExamineID(), std::numeric_limits<qint64>::max());
    FBank->Exec(QStringLiteral("insert into T_KS_ExamineTheme (ID, ExamineID) values (1, 9223372036854775807)"));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, store.NextExamineID());
}

QTEST_GUILESS_MAIN(TestUPaperStore)
#include "tst_UPaperStore.moc"
