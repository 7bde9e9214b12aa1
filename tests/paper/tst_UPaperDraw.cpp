#include <QFile>
#include <QSet>
#include <QSqlQuery>
#include <QTest>

#include "TestSupport.h"
#include "UComm.h"
#include "UDbError.h"
#include "UIniFile.h"
#include "UPaperDraw.h"

namespace {

QVariantMap Kind(int part, int chapter, int type)
{
    return {{QStringLiteral("ThemePart"), part},
            {QStringLiteral("ThemeChapter"), chapter},
            {QStringLiteral("ThemeType"), type}};
}

// Questions first .. first+count-1 of one part, chapter and type.
void AddThemes(TTestBank &bank, int first, int count, int type, int part = 1, int chapter = 1)
{
    for (int id = first; id < first + count; ++id)
        bank.AddTheme(id, Kind(part, chapter, type));
}

QStringList DrawnIds(const TIniFile &cfg)
{
    QStringList ids;
    const int count = cfg.ReadString(QStringLiteral("System"), QStringLiteral("ThemeCount"), QStringLiteral("0")).toInt();
    for (int n = 1; n <= count; ++n)
        ids << cfg.ReadString(QString::number(n), QStringLiteral("ThemeID"), QStringLiteral("-1"));
    return ids;
}

QStringList Draw(const QString &modelId)
{
    TPaperDraw draw(modelId);
    draw.DrawQuestions();
    return DrawnIds(TIniFile(ThemeCfgFileName()));
}

} // namespace

class TestUPaperDraw : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void CheckTemplate_data();
    void CheckTemplate();

    void TakesEveryCandidateWhenTooFewAvailable_data();
    void TakesEveryCandidateWhenTooFewAvailable();
    void FixedSelectionRepeatsTheSamePaper();
    void FixedSelectionRepeatsTheLastCandidate();
    void RandomDrawNeverRepeatsAQuestion();
    void RandomDrawReachesOffsetAvailable();
    void WritesTypeOrderGaplessSectionsInFileOrder();
    void FailsOnNullRandomThemeOrMissingHead();
    void NeverEndingDrawFailsAfterBoundedAttempts_data();
    void NeverEndingDrawFailsAfterBoundedAttempts();
    void KindColumnsMustBeWholeNumbers_data();
    void KindColumnsMustBeWholeNumbers();
    void DrawIntoAMissingFolderFailsOnTheLock();

private:
    std::unique_ptr<TTestBank> FBank;
};

void TestUPaperDraw::init()
{
    EXAMORA_REQUIRE_TEST_ENGINE();
    FBank = std::make_unique<TTestBank>();
}

void TestUPaperDraw::cleanup()
{
    FBank.reset();
}

void TestUPaperDraw::CheckTemplate_data()
{
    // Each row: "themeCount/selectCount/bitCount" per content row.
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("passes");
    QTest::newRow("100 points") << QStringList{"10/5/50", "8/5/50"} << true;
    QTest::newRow("99 points") << QStringList{"10/5/50", "8/5/49"} << false;
    QTest::newRow("101 points") << QStringList{"10/5/50", "8/5/51"} << false;
    QTest::newRow("no rows") << QStringList{} << false;
    QTest::newRow("ThemeCount below SelectCount") << QStringList{"4/5/60", "8/5/40"} << false;
    QTest::newRow("ThemeCount equal to SelectCount") << QStringList{"5/5/60", "8/0/40"} << true;
}

void TestUPaperDraw::CheckTemplate()
{
    QFETCH(QStringList, rows);
    QFETCH(bool, passes);
    FBank->AddModel(7, QStringLiteral("001"), 0, 45);
    FBank->AddModel(8, QStringLiteral("002"), 0, 45);
    FBank->AddContent(8, 1, 1, 1, 10, 1, 100, 100); // another template's rows do not count
    for (const QString &row : rows) {
        const QStringList v = row.split(QLatin1Char('/'));
        FBank->AddContent(7, 1, 1, 2, v[0].toInt(), v[1].toInt(), 1, v[2].toInt());
    }
    QCOMPARE(::CheckTemplate(QStringLiteral("7")), passes);
}

void TestUPaperDraw::TakesEveryCandidateWhenTooFewAvailable_data()
{
    QTest::addColumn<int>("inBank");
    QTest::addColumn<int>("randomTheme");
    QTest::newRow("more in bank than claimed, random") << 5 << 0;
    QTest::newRow("fewer in bank than claimed, random") << 2 << 0;
    QTest::newRow("more in bank than claimed, fixed") << 5 << 1;
}

void TestUPaperDraw::TakesEveryCandidateWhenTooFewAvailable()
{
    QFETCH(int, inBank);
    QFETCH(int, randomTheme);
    AddThemes(*FBank, 1, inBank, 2);
    AddThemes(*FBank, 100, 3, 1);                                                        // another type
    FBank->AddTheme(200, {{QStringLiteral("ThemeType"), 2}, {QStringLiteral("ZT"), 0}}); // withdrawn
    FBank->AddModel(1, QStringLiteral("001"), randomTheme, 45);
    FBank->AddContent(1, 1, 1, 2, 3, 3, 2, 100);

    QStringList expected;
    for (int id = 1; id <= inBank; ++id)
        expected << QString::number(id);
    QCOMPARE(Draw(QStringLiteral("1")), expected);
}

void TestUPaperDraw::FixedSelectionRepeatsTheSamePaper()
{
    AddThemes(*FBank, 1, 10, 1);
    AddThemes(*FBank, 11, 10, 3);
    FBank->AddModel(1, QStringLiteral("001"), 1, 45);
    FBank->AddContent(1, 1, 1, 3, 10, 2, 4, 8);
    FBank->AddContent(1, 1, 1, 1, 10, 3, 2, 6);
    const QStringList first = Draw(QStringLiteral("1"));
    QCOMPARE(first, (QStringList{"1", "2", "3", "11", "12"}));
    QCOMPARE(Draw(QStringLiteral("1")), first);
}

void TestUPaperDraw::FixedSelectionRepeatsTheLastCandidate()
{
    // The template claims 10 questions but the bank holds 2 of them.
    AddThemes(*FBank, 1, 2, 2);
    FBank->AddModel(1, QStringLiteral("001"), -1, 45);
    FBank->AddContent(1, 1, 1, 2, 10, 4, 1, 100);
    QCOMPARE(Draw(QStringLiteral("1")), (QStringList{"1", "2", "2", "2"}));
}

void TestUPaperDraw::RandomDrawNeverRepeatsAQuestion()
{
    // Two rows draw from the same questions: the second must avoid what the
    // first took, and together they take every reachable question.
    AddThemes(*FBank, 1, 11, 2);
    FBank->AddModel(1, QStringLiteral("001"), 0, 45);
    FBank->AddContent(1, 1, 1, 2, 10, 6, 1, 50);
    FBank->AddContent(1, 1, 1, 2, 10, 5, 1, 50);
    for (int run = 0; run < 8; ++run) {
        const QStringList ids = Draw(QStringLiteral("1"));
        QCOMPARE(ids.size(), 11);
        QCOMPARE(QSet<QString>(ids.begin(), ids.end()).size(), 11);
    }
}

void TestUPaperDraw::RandomDrawReachesOffsetAvailable()
{
    // Offsets run 0 … available: with available 3 the fourth candidate can be
    // drawn, the fifth never.
    AddThemes(*FBank, 1, 5, 2);
    FBank->AddModel(1, QStringLiteral("001"), 0, 45);
    FBank->AddContent(1, 1, 1, 2, 3, 1, 1, 100);
    QSet<QString> seen;
    for (int run = 0; run < 60; ++run)
        seen += Draw(QStringLiteral("1")).first();
    QCOMPARE(seen, (QSet<QString>{"1", "2", "3", "4"}));
}

void TestUPaperDraw::WritesTypeOrderGaplessSectionsInFileOrder()
{
    QFile stale(ThemeCfgFileName());
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("[System]\nTime=60\nThemeCount=9\n[9]\nThemeID=99\nThemeBit=7\n");
    stale.close();
    AddThemes(*FBank, 1, 3, 3);
    AddThemes(*FBank, 11, 3, 1);
    AddThemes(*FBank, 21, 3, 2);
    FBank->AddModel(4, QStringLiteral("001"), 1, 45);
    FBank->AddContent(4, 1, 1, 3, 3, 2, 5, 10);
    FBank->AddContent(4, 1, 1, 1, 3, 0, 9, 0);
    FBank->AddContent(4, 1, 1, 2, 3, 1, 3, 3);

    int steps = 0;
    TPaperDraw draw(QStringLiteral("4"));
    draw.OnStep = [&steps] { ++steps; };
    draw.DrawQuestions();

    QFile file(ThemeCfgFileName());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()),
             QStringLiteral("[System]\nTime=45\nThemeCount=3\n"
                            "[1]\nThemeID=21\nThemeBit=3\n"
                            "[2]\nThemeID=1\nThemeBit=5\n"
                            "[3]\nThemeID=2\nThemeBit=5\n"));
    QCOMPARE(draw.DrawnCount(), 3);
    QCOMPARE(steps, 3 + 3); // each question and each content row
}

void TestUPaperDraw::FailsOnNullRandomThemeOrMissingHead()
{
    AddThemes(*FBank, 1, 3, 2);
    FBank->AddModel(1, QStringLiteral("001"), QVariant(), 45);
    FBank->AddContent(1, 1, 1, 2, 3, 1, 100, 100);
    TPaperDraw nullFlag(QStringLiteral("1"));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, nullFlag.DrawQuestions());
    QVERIFY(!QFile::exists(ThemeCfgFileName()));
    TPaperDraw noHead(QStringLiteral("2"));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, noHead.DrawQuestions());
}

void TestUPaperDraw::NeverEndingDrawFailsAfterBoundedAttempts_data()
{
    QTest::addColumn<int>("inBank");
    QTest::addColumn<QStringList>("recorded");
    QTest::newRow("fewer reachable than wanted") << 2 << QStringList{"1", "2"};
    QTest::newRow("no candidates at all") << 0 << QStringList{""};
}

void TestUPaperDraw::NeverEndingDrawFailsAfterBoundedAttempts()
{
    QFETCH(int, inBank);
    QFETCH(QStringList, recorded);
    AddThemes(*FBank, 1, inBank, 2);
    FBank->AddModel(1, QStringLiteral("001"), 0, 45);
    FBank->AddContent(1, 1, 1, 2, 5, 3, 1, 100);
    TPaperDraw draw(QStringLiteral("1"));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, draw.DrawQuestions());
    QCOMPARE(QSet<QString>(draw.DrawnThemeIDs().begin(), draw.DrawnThemeIDs().end()),
             QSet<QString>(recorded.begin(), recorded.end()));
    // What was recorded stays in the file, without a question count.
    const TIniFile cfg(ThemeCfgFileName());
    QVERIFY(!cfg.ValueExists(QStringLiteral("System"), QStringLiteral("ThemeCount")));
    QCOMPARE(cfg.Sections().size(), 1 + recorded.size());
}

void TestUPaperDraw::KindColumnsMustBeWholeNumbers_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QStringList>("drawn");
    const QStringList chapterOne{"1", "2", "3"};
    QTest::newRow("whole number") << "ThemeChapter" << QVariant(1) << chapterOne;
    QTest::newRow("whole number as text") << "ThemeChapter" << QVariant(QStringLiteral("1")) << chapterOne;
    QTest::newRow("condition in the chapter")
        << "ThemeChapter" << QVariant(QStringLiteral("1 and 0 or ThemeChapter=20")) << QStringList();
    QTest::newRow("statement in the part")
        << "ThemePart" << QVariant(QStringLiteral("(select max(ThemePart) from T_KS_THEME)")) << QStringList();
    QTest::newRow("recursive statement in the type")
        << "ThemeType"
        << QVariant(QStringLiteral(
               "(with recursive r(n) as (select 1 union all select n + 1 from r) select n from r limit 1 offset 1)"))
        << QStringList();
    QTest::newRow("fraction") << "ThemeType" << QVariant(2.5) << QStringList();
    QTest::newRow("blank text") << "ThemePart" << QVariant(QStringLiteral(" ")) << QStringList();
}

// Part, chapter and type choose the questions: only numbers do, and a row
// with anything else fails the draw rather than drawing from another pool.
void TestUPaperDraw::KindColumnsMustBeWholeNumbers()
{
    // A server's integer columns refuse such values in the first place.
    EXAMORA_SQLITE_ONLY();
    QFETCH(QString, column);
    QFETCH(QVariant, value);
    QFETCH(QStringList, drawn);
    AddThemes(*FBank, 1, 3, 2);
    AddThemes(*FBank, 21, 3, 2, 1, 20);
    FBank->AddModel(1, QStringLiteral("001"), 1, 45);
    FBank->AddContent(1, 1, 1, 2, 3, 3, 1, 100);
    QSqlQuery update(FBank->Db());
    QVERIFY(update.prepare(QStringLiteral("update T_KS_ThemeModelContent set %1 = ?").arg(column)));
    update.addBindValue(value);
    QVERIFY(update.exec());
    if (!drawn.isEmpty()) {
        QCOMPARE(Draw(QStringLiteral("1")), drawn);
        return;
    }
    TPaperDraw draw(QStringLiteral("1"));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, draw.DrawQuestions());
    QVERIFY(draw.DrawnThemeIDs().isEmpty());
}

// Theme.Cfg is written under its lock: where the lock file cannot be made
// the draw fails with our own error rather than writing unlocked.
void TestUPaperDraw::DrawIntoAMissingFolderFailsOnTheLock()
{
    AddThemes(*FBank, 1, 3, 2);
    FBank->AddModel(1, QStringLiteral("001"), 1, 45);
    FBank->AddContent(1, 1, 1, 2, 3, 3, 1, 100);
    RunContext.AppPath = FBank->AppPath() + QStringLiteral("missing/");
    TPaperDraw draw(QStringLiteral("1"));
    QString message;
    try {
        draw.DrawQuestions();
    } catch (const EExamoraError &error) {
        message = error.Message();
    }
    QCOMPARE(message, QStringLiteral("cannot lock ") + ThemeCfgFileName());
    QCOMPARE(draw.DrawnCount(), 3);
    QVERIFY(!QFile::exists(ThemeCfgFileName()));
}

QTEST_GUILESS_MAIN(TestUPaperDraw)
#include "tst_UPaperDraw.moc"
