#include <atomic>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProgressBar>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

#include "app/UApplication.h"
#include "app/UComm.h"
#include "app/UDbError.h"
#include "app/UIniFile.h"
#include "app/UQuery.h"
#include "paper/UBarStepper.h"
#include "paper/UPaperDraw.h"
#include "paper/UPaperStore.h"
#include "paper/UProgess.h"
#include "tests/common/TestSupport.h"

namespace {

const QString KCaption = QStringLiteral("小型汽车（C1、C2、C3、C4）");

void WriteThemeCfg(const QByteArray &text)
{
    QFile file(ThemeCfgFileName());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// Theme.Cfg of a drawn paper: section n names question ids[n-1] with n points.
QByteArray DrawnPaper(const QList<int> &ids, const QString &time = QStringLiteral("45"))
{
    QByteArray text = "[System]\nTime=" + time.toUtf8() + "\nThemeCount=" + QByteArray::number(ids.size()) + "\n";
    for (int n = 1; n <= ids.size(); ++n)
        text += "[" + QByteArray::number(n) + "]\nThemeID=" + QByteArray::number(ids[n - 1]) + "\nThemeBit="
            + QByteArray::number(n) + "\n";
    return text;
}

void SetRun(const QString &mode, const QString &scope = QString())
{
    RunContext.PracticeMode = mode;
    RunContext.PracticeScope = scope;
    RunContext.DriveTypeCode = QStringLiteral("001");
    RunContext.DriveTypeCaption = KCaption;
    RunContext.ChapterFilter = QStringLiteral("THEMECHAPTER in (1)");
}

} // namespace

class TestUPaperStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { InstallChineseFonts(); }
    void init();
    void cleanup();

    void NextExamineIDCountsPerTable_data();
    void NextExamineIDCountsPerTable();
    void MockExamStoresTheSectionsInOrder();
    void MockExamSkipsQuestionsMissingFromTheBank();
    void DrawnIdsAreFoundByTheirExactText_data();
    void DrawnIdsAreFoundByTheirExactText();
    void ProgressBarShowsFirstAndLastStep();
    void ThemeCfgDefaults();
    void NonNumericThemeCfgValuesFailAndLeaveNoRows_data();
    void NonNumericThemeCfgValuesFailAndLeaveNoRows();
    void FailingPostRollsBackAndNamesTheQuestion();
    void MissingThemeCfgFailsSilently();
    void ProgressWindowShowsWhileCopying();
    void LoadPaperPractice_data();
    void LoadPaperPractice();
    void LoadPaperPracticeNotFound_data();
    void LoadPaperPracticeNotFound();
    void LoadPaperMockExam_data();
    void LoadPaperMockExam();
    void TwoProcessesStoringAtOnceGetDifferentNumbers();
    void TwoProcessesDrawingForDifferentClassesStoreTheirOwnPapers();
    void PracticeModesDoNotReadThemeCfg_data();
    void PracticeModesDoNotReadThemeCfg();
    void PaperNumbersGoPast32Bits();
    void LargestPossiblePaperNumberIsRefused();

private:
    QList<QVariantList> PaperRows(const QString &table, qint64 examineId) const;
    std::unique_ptr<TTestBank> FBank;
};

void TestUPaperStore::init()
{
    FBank = std::make_unique<TTestBank>();
    SetRun(QStringLiteral("3"));
}

void TestUPaperStore::cleanup()
{
    FBank.reset();
}

QList<QVariantList> TestUPaperStore::PaperRows(const QString &table, qint64 examineId) const
{
    QSqlQuery query(FBank->Db());
    query.exec(QStringLiteral("select ID, ThemeID, ThemeBit from %1 where ExamineID=%2 order by ID").arg(table).arg(examineId));
    QList<QVariantList> rows;
    while (query.next())
        rows << QVariantList{query.value(0).toInt(), query.value(1).toInt(), query.value(2).toInt()};
    return rows;
}

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
    TPaperStore store;
    QCOMPARE(store.NextExamineID(), next);
}

void TestUPaperStore::MockExamStoresTheSectionsInOrder()
{
    const QByteArray picture("\xff\xd8\xff\xe0 not decoded here \xff\xd9", 24);
    QList<int> ids;
    for (int id = 1; id <= 100; ++id) {
        FBank->AddTheme(1000 - id, id == 5 ? QVariantMap{{QStringLiteral("ThemeImage"), picture},
                                                        {QStringLiteral("ThemeSpareF"), QStringLiteral("六")}}
                                           : QVariantMap{});
        ids << 1000 - id;
    }
    std::reverse(ids.begin(), ids.end()); // sections in another order than the bank's
    WriteThemeCfg(DrawnPaper(ids, QStringLiteral("45")));
    FBank->Exec(QStringLiteral("insert into T_KS_ExamineTheme (ID, ExamineID) values (1, 6)"));

    TScriptedMessages messages;
    TPaperStore store;
    QVERIFY(store.SavePaper());
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(store.FExamineID, 7);
    QCOMPARE(store.FExamMinutes, 45);
    QCOMPARE(store.FQuestionCount, 100);
    const QList<QVariantList> rows = PaperRows(QStringLiteral("T_KS_ExamineTheme"), 7);
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
    QVERIFY(FBank->Scalar(QStringLiteral("select count(*) from T_KS_ExamineTheme where ExamineID=7 and ThemeSpareF is null")).toInt() == 99);
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
    text.replace("[60]\nThemeID=60\n", "[60]\n"); // no ThemeID: reads as -1
    text.replace("[61]\nThemeID=61\nThemeBit=61\n", "[61]\nThemeID=61\n"); // no ThemeBit: 1 point
    WriteThemeCfg(text);

    TPaperStore store;
    QVERIFY(store.SavePaper());
    QCOMPARE(store.FQuestionCount, 100);
    const QList<QVariantList> rows = PaperRows(QStringLiteral("T_KS_ExamineTheme"), 1);
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
    WriteThemeCfg("[System]\nThemeCount=1\n[1]\nThemeID=" + drawnId + "\n");
    TPaperStore store;
    QVERIFY(store.SavePaper());
    const QList<QVariantList> rows = PaperRows(QStringLiteral("T_KS_ExamineTheme"), 1);
    QCOMPARE(rows.size(), stored ? 1 : 0);
    if (stored)
        QCOMPARE(rows.first().value(1).toInt(), stored);
}

void TestUPaperStore::ProgressBarShowsFirstAndLastStep()
{
    QProgressBar bar;
    bar.setRange(0, 500);
    bar.setValue(0);
    TBarStepper stepper(&bar);
    stepper.StepIt();
    QCOMPARE(bar.value(), 1);
    for (int step = 2; step <= 499; ++step)
        stepper.StepIt();
    QCOMPARE(stepper.Position(), 499);
    QVERIFY(bar.value() <= 499);
    stepper.StepIt();
    stepper.StepIt(); // beyond the end the bar stays full
    QCOMPARE(bar.value(), 500);
    QCOMPARE(stepper.Position(), 500);
}

void TestUPaperStore::ThemeCfgDefaults()
{
    FBank->AddTheme(1);
    WriteThemeCfg("[System]\n[1]\nThemeID=1\n");
    TPaperStore store;
    QVERIFY(store.SavePaper());
    QCOMPARE(store.FExamMinutes, 60);
    QCOMPARE(store.FQuestionCount, 0);
    QVERIFY(PaperRows(QStringLiteral("T_KS_ExamineTheme"), 1).isEmpty());
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
    WriteThemeCfg(cfg);
    TScriptedMessages messages;
    TPaperStore store;
    QVERIFY(!store.SavePaper());
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(messages.Last().Text, message);
    QCOMPARE(FBank->Scalar(QStringLiteral("select count(*) from T_KS_ExamineTheme")).toInt(), 0);
    QCOMPARE(FBank->Scalar(QStringLiteral("select count(*) from T_KS_THEME")).toInt(), 2);
    for (QWidget *window : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<TFrmProgess *>(window));
}

void TestUPaperStore::FailingPostRollsBackAndNamesTheQuestion()
{
    for (int id = 1; id <= 5; ++id)
        FBank->AddTheme(20 + id, {{QStringLiteral("TT"), QStringLiteral("01")}});
    FBank->Exec(QStringLiteral("create trigger RefuseThird before insert on T_KS_ExamineTheme_TT when NEW.ID = 3 "
                               "begin select raise(abort, 'refused'); end"));
    SetRun(QStringLiteral("1"), QStringLiteral("01"));
    TScriptedMessages messages;
    TPaperStore store;
    QVERIFY(!store.SavePaper());
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(messages.Last().Text, QStringLiteral("23保存试题出错！"));
    QCOMPARE(FBank->Scalar(QStringLiteral("select count(*) from T_KS_ExamineTheme_TT")).toInt(), 0);
    // The write lock is released: the next paper can be stored.
    FBank->Exec(QStringLiteral("drop trigger RefuseThird"));
    QVERIFY(store.SavePaper());
    QCOMPARE(store.FExamineID, 1);
}

void TestUPaperStore::MissingThemeCfgFailsSilently()
{
    FBank->AddTheme(1);
    QFile::remove(ThemeCfgFileName());
    TScriptedMessages messages;
    TPaperStore store;
    QVERIFY(!store.SavePaper());
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(FBank->Scalar(QStringLiteral("select count(*) from T_KS_ExamineTheme")).toInt(), 0);
}

void TestUPaperStore::ProgressWindowShowsWhileCopying()
{
    for (int id = 1; id <= 3; ++id)
        FBank->AddTheme(id);
    WriteThemeCfg(DrawnPaper({1, 2, 3}));
    bool seen = false;
    QTimer::singleShot(0, this, [&seen] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *progress = qobject_cast<TFrmProgess *>(window);
            if (!progress || !progress->isVisible())
                continue;
            seen = true;
            QCOMPARE(progress->windowTitle(), QStringLiteral("正在保存数据……"));
            QCOMPARE(progress->size(), QSize(540, 31));
            QVERIFY(!progress->isModal());
            QVERIFY(progress->windowFlags() & Qt::WindowStaysOnTopHint);
            QVERIFY(!(progress->windowFlags() & Qt::WindowCloseButtonHint));
            QCOMPARE(progress->ProgressBar1->maximum(), 3);
            QCOMPARE(progress->ProgressBar1->value(), 1);
            progress->close(); // cannot be closed
            QVERIFY(progress->isVisible());
            QDir().mkpath(QStringLiteral("/work/shots"));
            progress->grab().save(QStringLiteral("/work/shots/paper-progess.png"));
        }
    });
    TPaperStore store;
    QVERIFY(store.SavePaper());
    QVERIFY(seen);
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
    QTest::newRow("set practice") << "1" << "01" << "THEMECHAPTER in (1)" << 180 << set;
    QTest::newRow("chapter practice")
        << "2" << "21" << "THEMECHAPTER in (20,21,22,23,24,25,26)" << 480 << QList<int>{200, 201, 202};
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
    WriteThemeCfg("[1]\nThemeBit=9\n[2]\nThemeBit=9\n"); // a mock exam's points do not leak in
    SetRun(mode, scope);
    RunContext.ChapterFilter = filter;

    TScriptedMessages messages;
    TQuery paper;
    TPaperStore store;
    QVERIFY(store.LoadPaper(&paper, QString(), QStringLiteral("001")));
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(store.FExamineID, 1);
    QCOMPARE(store.FExamMinutes, minutes);
    QCOMPARE(store.FQuestionCount, themeIds.size());
    QCOMPARE(paper.RecordCount(), themeIds.size());
    QCOMPARE(paper.FieldByName(QStringLiteral("ID"))->AsInteger(), 1);
    const QList<QVariantList> rows = PaperRows(QStringLiteral("T_KS_ExamineTheme_TT"), 1);
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
        << "1" << "02" << QStringLiteral("类别为%1，试卷编号为02的试卷未找到。").arg(KCaption);
    QTest::newRow("set number with a quote")
        << "1" << "0'2" << QStringLiteral("类别为%1，试卷编号为0'2的试卷未找到。").arg(KCaption);
    QTest::newRow("chapter of another class") << "2" << "20" << QStringLiteral("类别为%1的试卷未找到。").arg(KCaption);
}

void TestUPaperStore::LoadPaperPracticeNotFound()
{
    QFETCH(QString, mode);
    QFETCH(QString, scope);
    QFETCH(QString, message);
    FBank->AddTheme(1, {{QStringLiteral("TT"), QStringLiteral("02")}, {QStringLiteral("ThemeChapter"), 20}});
    SetRun(mode, scope);
    TScriptedMessages messages;
    TQuery paper;
    TPaperStore store;
    QVERIFY(!store.LoadPaper(&paper, QString(), QStringLiteral("001")));
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(messages.Last().Text, message);
    QCOMPARE(messages.Last().Caption, QStringLiteral("错误"));
    QVERIFY(!paper.Active());
}

void TestUPaperStore::LoadPaperMockExam_data()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("mode 3") << "3";
    QTest::newRow("empty mode") << "";
    QTest::newRow("mode 0") << "0";
}

void TestUPaperStore::LoadPaperMockExam()
{
    QFETCH(QString, mode);
    const QByteArray picture(2000, '\x33');
    for (int id = 1; id <= 12; ++id)
        FBank->AddTheme(id, {{QStringLiteral("ThemeType"), 1 + id % 2}, {QStringLiteral("ThemeImage"), id == 4 ? QVariant(picture) : QVariant()}});
    FBank->AddModel(3, QStringLiteral("001"), 0, 30);
    FBank->AddContent(3, 1, 1, 2, 6, 4, 10, 40);
    FBank->AddContent(3, 1, 1, 1, 6, 6, 10, 60);
    FBank->Exec(QStringLiteral("insert into T_KS_ExamineTheme_TT (ID, ExamineID) values (1, 4)"));
    SetRun(mode);

    TScriptedMessages messages;
    TQuery paper;
    TPaperStore store;
    int openRows = -1;
    store.OnPaperOpened = [&] { openRows = paper.RecordCount(); };
    QVERIFY(store.LoadPaper(&paper, QString(), QStringLiteral("001")));
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(store.FExamineID, 1);
    QCOMPARE(store.FExamMinutes, 30);
    QCOMPARE(store.FQuestionCount, 10);
    QCOMPARE(openRows, 10);
    QCOMPARE(paper.RecNo(), 1);
    QCOMPARE(paper.FieldByName(QStringLiteral("ID"))->AsInteger(), 1);
    // Type 1 first: the first six rows are the even-numbered questions.
    for (int k = 0; k < 10; ++k, paper.Next()) {
        QCOMPARE(paper.FieldByName(QStringLiteral("ThemeType"))->AsInteger(), k < 6 ? 1 : 2);
        QCOMPARE(paper.FieldByName(QStringLiteral("ThemeBit"))->AsInteger(), 10);
    }
    // Hand-in deletes the rows; the review still shows every question.
    QCOMPARE(ExecSql(QStringLiteral("Delete from T_KS_ExamineTheme where ExamineID=1")), 10);
    QVERIFY(paper.Locate(QStringLiteral("ThemeID"), 4));
    QCOMPARE(paper.FieldByName(QStringLiteral("ThemeImage"))->AsBytes(), picture);
    paper.Last();
    QCOMPARE(paper.FieldByName(QStringLiteral("ThemeContent"))->AsString().isEmpty(), false);
}

void TestUPaperStore::TwoProcessesStoringAtOnceGetDifferentNumbers()
{
    QList<int> ids;
    for (int id = 1; id <= 40; ++id) {
        FBank->AddTheme(id);
        ids << 41 - id;
    }
    WriteThemeCfg(DrawnPaper(ids));
    const QString startFile = FBank->AppPath() + QStringLiteral("start");
    constexpr int KPapers = 12;
    QProcess first, second;
    for (QProcess *process : {&first, &second}) {
        process->setProcessChannelMode(QProcess::SeparateChannels);
        process->start(QStringLiteral(STORE_PAPER_PROCESS),
                       {FBank->AppPath(), QStringLiteral("3"), QString::number(KPapers), startFile});
        QVERIFY(process->waitForStarted());
    }
    QFile(startFile).open(QIODevice::WriteOnly);
    QList<int> numbers;
    for (QProcess *process : {&first, &second}) {
        QVERIFY(process->waitForFinished(120000));
        QVERIFY2(process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0,
                 process->readAllStandardError().constData());
        const QList<QByteArray> lines = process->readAllStandardOutput().split('\n');
        for (const QByteArray &line : lines) {
            if (!line.isEmpty())
                numbers << line.toInt();
        }
    }
    QCOMPARE(numbers.size(), 2 * KPapers);
    std::sort(numbers.begin(), numbers.end());
    for (int k = 0; k < numbers.size(); ++k) {
        QCOMPARE(numbers[k], k + 1);
        const QList<QVariantList> rows = PaperRows(QStringLiteral("T_KS_ExamineTheme"), numbers[k]);
        QCOMPARE(rows.size(), 40);
        for (int n = 1; n <= 40; ++n)
            QCOMPARE(rows[n - 1], (QVariantList{n, 41 - n, n}));
    }
}

// Two copies of the program in one folder, started together, draw mock
// exams for different licence classes round after round: each stores the
// paper of its own draw, whatever the other one leaves in Theme.Cfg.
void TestUPaperStore::TwoProcessesDrawingForDifferentClassesStoreTheirOwnPapers()
{
    struct TClass { QString Code; int Chapter; int Minutes; int Questions; };
    const QList<TClass> classes{{QStringLiteral("001"), 1, 45, 100}, {QStringLiteral("002"), 2, 30, 50}};
    for (int id = 1; id <= 120; ++id)
        FBank->AddTheme(id, {{QStringLiteral("ThemeType"), 1}});
    for (int id = 201; id <= 260; ++id)
        FBank->AddTheme(id, {{QStringLiteral("ThemeType"), 1}, {QStringLiteral("ThemeChapter"), 2}});
    FBank->AddModel(1, QStringLiteral("001"), 0, 45);
    FBank->AddContent(1, 1, 1, 1, 120, 100, 1, 100);
    FBank->AddModel(2, QStringLiteral("002"), 0, 30);
    FBank->AddContent(2, 1, 2, 1, 60, 50, 2, 100);

    const QString startFile = FBank->AppPath() + QStringLiteral("start");
    constexpr int KRounds = 50;
    QProcess processes[2];
    for (int k = 0; k < 2; ++k) {
        processes[k].setProcessChannelMode(QProcess::SeparateChannels);
        processes[k].start(QStringLiteral(STORE_PAPER_PROCESS), {FBank->AppPath(), QStringLiteral("3"),
                                                                 QString::number(KRounds), startFile, classes[k].Code});
        QVERIFY(processes[k].waitForStarted());
    }
    QFile(startFile).open(QIODevice::WriteOnly);
    for (int k = 0; k < 2; ++k) {
        QProcess &process = processes[k];
        const TClass &own = classes[k];
        QVERIFY(process.waitForFinished(300000));
        QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
                 qPrintable(own.Code + QStringLiteral(": ") + QString::fromUtf8(process.readAllStandardError())));
        const QList<QByteArray> lines = process.readAllStandardOutput().trimmed().split('\n');
        QCOMPARE(lines.size(), KRounds);
        for (const QByteArray &line : lines) {
            const QList<QByteArray> values = line.split(' ');
            QCOMPARE(values.size(), 3);
            const qint64 paper = values[0].toLongLong();
            QCOMPARE(values[1].toInt(), own.Minutes);
            QCOMPARE(values[2].toInt(), own.Questions);
            QSqlQuery rows(FBank->Db());
            QVERIFY(rows.exec(QStringLiteral("select count(*), count(distinct p.ThemeID), min(t.ThemeChapter), "
                                             "max(t.ThemeChapter), sum(p.ThemeBit) from T_KS_ExamineTheme p "
                                             "join T_KS_THEME t on t.ThemeID = p.ThemeID where p.ExamineID=%1")
                                  .arg(paper)));
            QVERIFY(rows.next());
            QCOMPARE(rows.value(0).toInt(), own.Questions);
            QCOMPARE(rows.value(1).toInt(), own.Questions);
            QCOMPARE(rows.value(2).toInt(), own.Chapter);
            QCOMPARE(rows.value(3).toInt(), own.Chapter);
            QCOMPARE(rows.value(4).toInt(), 100);
        }
    }
    QCOMPARE(FBank->Scalar(QStringLiteral("select count(distinct ExamineID) from T_KS_ExamineTheme")).toInt(), 2 * KRounds);
    // Theme.Cfg records one whole draw, of one class or the other.
    const TIniFile last(ThemeCfgFileName());
    const int count = last.ReadString(QStringLiteral("System"), QStringLiteral("ThemeCount"), QString()).toInt();
    QVERIFY(count == 100 || count == 50);
    QCOMPARE(last.Sections().size(), count + 1);
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
    TPaperStore store;
    const bool saved = store.SavePaper();
    const bool read = opened;
    // Lets the writer through in any case, so that it can be joined.
    const int reader = open(pipe.constData(), O_RDONLY | O_NONBLOCK);
    writer.join();
    close(reader);
    QVERIFY(saved);
    QVERIFY(!read);
    QCOMPARE(PaperRows(QStringLiteral("T_KS_ExamineTheme_TT"), 1).size(), 3);
}

void TestUPaperStore::PaperNumbersGoPast32Bits()
{
    for (int id = 1; id <= 3; ++id)
        FBank->AddTheme(id, {{QStringLiteral("TT"), QStringLiteral("01")}});
    WriteThemeCfg(DrawnPaper({3, 1, 2}));
    FBank->Exec(QStringLiteral("insert into T_KS_ExamineTheme (ID, ExamineID) values (1, 2147483647)"));
    TScriptedMessages messages;
    for (const qint64 expected : {Q_INT64_C(2147483648), Q_INT64_C(2147483649)}) {
        TPaperStore store;
        QVERIFY(store.SavePaper());
        QCOMPARE(store.FExamineID, expected);
        QCOMPARE(PaperRows(QStringLiteral("T_KS_ExamineTheme"), expected),
                 (QList<QVariantList>{{1, 3, 1}, {2, 1, 2}, {3, 2, 3}}));
    }

    // The paper is opened by its number too.
    FBank->Exec(QStringLiteral("insert into T_KS_ExamineTheme_TT (ID, ExamineID) values (1, 4294967295)"));
    SetRun(QStringLiteral("1"), QStringLiteral("01"));
    TQuery paper;
    TPaperStore store;
    QVERIFY(store.LoadPaper(&paper, QString(), QStringLiteral("001")));
    QCOMPARE(store.FExamineID, Q_INT64_C(4294967296));
    QCOMPARE(paper.RecordCount(), 3);
    QCOMPARE(paper.FieldByName(QStringLiteral("ExamineID"))->AsString(), QStringLiteral("4294967296"));
    QCOMPARE(messages.Count(), 0);
}

void TestUPaperStore::LargestPossiblePaperNumberIsRefused()
{
    FBank->Exec(QStringLiteral("insert into T_KS_ExamineTheme (ID, ExamineID) values (1, 9223372036854775806)"));
    TPaperStore store;
    QCOMPARE(store.NextExamineID(), std::numeric_limits<qint64>::max());
    FBank->Exec(QStringLiteral("insert into T_KS_ExamineTheme (ID, ExamineID) values (1, 9223372036854775807)"));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, store.NextExamineID());
}

QTEST_MAIN(TestUPaperStore)
#include "tst_UPaperStore.moc"
