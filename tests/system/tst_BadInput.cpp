#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "QVComboBox.h"
#include "TestSupport.h"
#include "UComm.h"
#include "UConnection.h"
#include "UDM.h"
#include "UDbError.h"
#include "UFrRep.h"
#include "UPaperLoad.h"
#include "UPaperStore.h"
#include "UQuery.h"
#include "USelLxType.h"

// Input a school's bank may really hold: huge texts, thousands of sets,
// damaged files. Each gets a clear answer and loses nothing.
class TestBadInput : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void HugeQuestionIsStoredAndPrinted();
    void FiveThousandSetsAreListedAndChosen();
    void TruncatedDatabaseFailsCleanly();
};

void TestBadInput::init()
{
    RunContext = TRunContext();
}

void TestBadInput::HugeQuestionIsStoredAndPrinted()
{
    TTestBank bank;
    RunContext.AppPath = bank.AppPath();
    QString huge;
    while (huge.size() < 100000)
        huge += QStringLiteral("机动车在道路上行驶时应当遵守交通信号，");
    bank.AddTheme(1, {{"TT", "01"}, {"ThemeContent", huge}});
    bank.AddTheme(2, {{"TT", "01"}, {"ThemeContent", QStringLiteral("它's a quote ' and \"double\"")}});
    RunContext.PracticeMode = QStringLiteral("1");
    RunContext.PracticeScope = QStringLiteral("01");
    RunContext.ChapterFilter = QStringLiteral("THEMECHAPTER in (1)");
    RunContext.DriveTypeCaption = QStringLiteral("小型汽车（C1、C2、C3、C4）");
    TScriptedMessages messages;
    TPaperStore store(TPaperRequest::OfRun());
    TQuery paper;
    QVERIFY(LoadExamPaper(store, &paper, QString(), QStringLiteral("001")));
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(paper.RecordCount(), 2);
    QCOMPARE(paper.FieldByName("ThemeContent")->AsString(), huge);

    // A row taller than a page still ends up on paper, and the run ends.
    TQuery sheet;
    QVERIFY(OpenQuery(&sheet,
                      QStringLiteral("Select *,'' as OTZ From T_Ks_ExamineTheme_TT where ExamineID=%1 order by id")
                          .arg(store.FExamineID)));
    const QString pdf = bank.AppPath() + QStringLiteral("huge.pdf");
    bool written = false;
    try {
        written = WriteResultSheetPdf(&sheet, QStringLiteral(EXAMORA_SOURCE_DIR "/data/TestMn.frf"), pdf);
    } catch (const std::exception &error) {
        QFAIL(error.what());
    }
    QVERIFY(written);
    QVERIFY(QFileInfo(pdf).size() > 1000);
}

void TestBadInput::FiveThousandSetsAreListedAndChosen()
{
    TTestBank bank;
    bank.Exec("BEGIN");
    for (int id = 1; id <= 5000; ++id)
        bank.AddTheme(id, {{"TT", QStringLiteral("%1").arg(id, 4, 10, QLatin1Char('0'))}});
    bank.Exec("COMMIT");
    RunContext.DriveTypeCode = QStringLiteral("001");
    RunContext.ChapterFilter = QStringLiteral("THEMECHAPTER in (1)");
    TFrmSelLxType dialog;
    dialog.show();
    dialog.findChild<QRadioButton *>("RadioButton1")->click();
    auto *combo = dialog.findChild<TQVComboBox *>("QVComboBox1");
    QVERIFY(combo);
    QCOMPARE(combo->Items().size(), 5000);
    QCOMPARE(combo->ValueItems().size(), 5000);
    QCOMPARE(combo->ValueItems().last(), QString("5000"));
    combo->SetValue(QStringLiteral("4711"));
    QCOMPARE(combo->GetValue().toString(), QString("4711"));
}

void TestBadInput::TruncatedDatabaseFailsCleanly()
{
    TTestBank bank;
    for (int id = 1; id <= 2000; ++id)
        bank.AddTheme(id, {{"ThemeContent", QString(200, QLatin1Char('x'))}});
    QTemporaryDir folder;
    QDir(folder.path()).mkpath("Data");
    QFile source(bank.DatabaseFile());
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    QFile cut(folder.filePath("Data/Jsy_Data.mdb"));
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(bytes.size() / 3));
    cut.close();

    // Either the open fails (the connection dialog comes) or a statement
    // on the damaged pages reports the engine's error: never a crash.
    TDM dm;
    int dialogs = 0;
    dm.RunConnectDialog = [&dialogs] {
        ++dialogs;
        return 2;
    };
    dm.DataModuleCreate(folder.path());
    if (dm.ACon->Connected()) {
        TQuery all;
        all.SetConnection(dm.ACon);
        all.SetSQL(QStringLiteral("select * from T_KS_THEME"));
        bool failed = false;
        try {
            all.Open();
        } catch (const EDatabaseError &error) {
            failed = !error.Message().isEmpty();
        }
        QVERIFY(failed || all.RecordCount() < 2000);
    } else {
        QCOMPARE(dialogs, 1);
    }
}

QTEST_MAIN(TestBadInput)
#include "tst_BadInput.moc"
