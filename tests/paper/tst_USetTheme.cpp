#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include "TestSupport.h"
#include "UApplication.h"
#include "UComm.h"
#include "UIniFile.h"
#include "UPaperDraw.h"
#include "UPaperLoad.h"
#include "UQuit.h"
#include "USetTheme.h"

class TestUSetTheme : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { InstallChineseFonts(); }
    void init();
    void cleanup();

    void DrawRunsOnTheTimerOfTheModalWindow();
    void PrepareMockExamReportsEveryFailure_data();
    void PrepareMockExamReportsEveryFailure();
    void ClosingBeforeTheTickCancelsTheDraw();
    void ClosingDuringTheDrawIsIgnored();
    void QuitRequestCancelsTheDraw();
    void DrawnPaperIsHandedOverAsWritten();

private:
    void AddSoundTemplate(const QVariant &randomTheme);
    std::unique_ptr<TTestBank> FBank;
};

void TestUSetTheme::init()
{
    FBank = std::make_unique<TTestBank>();
    RunContext.DriveTypeCode = QStringLiteral("001");
}

void TestUSetTheme::cleanup()
{
    FBank.reset();
    ResetQuitRequestForTesting();
}

void TestUSetTheme::AddSoundTemplate(const QVariant &randomTheme)
{
    for (int id = 1; id <= 30; ++id)
        FBank->AddTheme(id, {{QStringLiteral("ThemeType"), 1 + id % 3}});
    FBank->AddModel(5, QStringLiteral("001"), randomTheme, 45);
    FBank->AddContent(5, 1, 1, 1, 10, 4, 10, 40);
    FBank->AddContent(5, 1, 1, 2, 10, 6, 10, 60);
}

void TestUSetTheme::DrawRunsOnTheTimerOfTheModalWindow()
{
    AddSoundTemplate(0);
    QFile stale(ThemeCfgFileName());
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("[System]\nTime=60\n[77]\nThemeID=5\nThemeBit=1\n");
    stale.close();

    QString title, label;
    QSize size;
    bool modal = false;
    QTimer::singleShot(0, this, [&] {
        auto *window = qobject_cast<TFrmSetTheme *>(QApplication::activeModalWidget());
        QVERIFY(window);
        title = window->windowTitle();
        size = window->size();
        modal = window->isModal();
        label = window->findChild<QLabel *>(QStringLiteral("Label1"))->text();
        QCOMPARE(window->findChild<QProgressBar *>(QStringLiteral("ProgressBar1"))->geometry(), QRect(2, 28, 607, 30));
        QDir().mkpath(QStringLiteral("/work/shots"));
        window->grab().save(QStringLiteral("/work/shots/paper-settheme.png"));
    });
    QVERIFY(RunPaperDraw(QStringLiteral("5"), QString()));
    QCOMPARE(title, QStringLiteral("正在生成证件号为  的试题……"));
    QCOMPARE(label, QStringLiteral("正在生成试题……"));
    QCOMPARE(size, QSize(613, 64));
    QVERIFY(modal);

    const TIniFile cfg(ThemeCfgFileName());
    QCOMPARE(cfg.Sections(), (QStringList{"System", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    QCOMPARE(cfg.ReadString("System", "Time", ""), QStringLiteral("45"));
    QCOMPARE(cfg.ReadString("System", "ThemeCount", ""), QStringLiteral("10"));
}

void TestUSetTheme::PrepareMockExamReportsEveryFailure_data()
{
    QTest::addColumn<QString>("arrangement");
    QTest::addColumn<QString>("message");
    QTest::newRow("no template") << "none"
                                 << "模板不存在或存在多个，请与管理员联系！";
    QTest::newRow("two templates") << "two"
                                   << "模板不存在或存在多个，请与管理员联系！";
    QTest::newRow("template not in use") << "unused"
                                         << "模板不存在或存在多个，请与管理员联系！";
    QTest::newRow("points add up to 99") << "99"
                                         << "编号为 5 的模板检查不通过！";
    QTest::newRow("NULL RandomTheme") << "null"
                                      << "编号为 5 的模板抽题失败！";
    QTest::newRow("chapter that is not a number") << "condition"
                                                  << "编号为 5 的模板抽题失败！";
    QTest::newRow("sound template") << "sound"
                                    << "";
}

void TestUSetTheme::PrepareMockExamReportsEveryFailure()
{
    QFETCH(QString, arrangement);
    QFETCH(QString, message);
    if (arrangement == QLatin1String("two")) {
        AddSoundTemplate(0);
        FBank->AddModel(6, QStringLiteral("001"), 0, 45);
    } else if (arrangement == QLatin1String("unused")) {
        FBank->AddModel(6, QStringLiteral("001"), 0, 45, 0);
        FBank->AddModel(7, QStringLiteral("002"), 0, 45);
    } else if (arrangement == QLatin1String("99")) {
        FBank->AddModel(5, QStringLiteral("001"), 0, 45);
        FBank->AddContent(5, 1, 1, 1, 10, 4, 10, 99);
    } else if (arrangement == QLatin1String("null")) {
        AddSoundTemplate(QVariant());
    } else if (arrangement == QLatin1String("condition")) {
        AddSoundTemplate(0);
        FBank->Exec(QStringLiteral(
            "update T_KS_ThemeModelContent set ThemeChapter = '1 or ThemeChapter = 20' where ThemeType = 2"));
    } else if (arrangement == QLatin1String("sound")) {
        AddSoundTemplate(1);
    }
    TScriptedMessages messages;
    const bool drawn = PrepareMockExam(QString(), QStringLiteral("001"));
    QCOMPARE(drawn, message.isEmpty());
    if (message.isEmpty()) {
        QCOMPARE(messages.Count(), 0);
        return;
    }
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(messages.Last().Text, message);
    QCOMPARE(messages.Last().Caption, QStringLiteral("错误"));
    QCOMPARE(messages.Last().Icon, TMsgIcon::Error);
}

void TestUSetTheme::ClosingBeforeTheTickCancelsTheDraw()
{
    AddSoundTemplate(0);
    QTimer::singleShot(0, this, [] { QApplication::activeModalWidget()->close(); });
    QVERIFY(!RunPaperDraw(QStringLiteral("5"), QString()));
    QVERIFY(!QFile::exists(ThemeCfgFileName()));
}

void TestUSetTheme::ClosingDuringTheDrawIsIgnored()
{
    AddSoundTemplate(0);
    int closesSent = 0;
    bool stillShown = false;
    QTimer::singleShot(0, this, [this, &closesSent, &stillShown] {
        QWidget *window = QApplication::activeModalWidget();
        auto *bar = window->findChild<QProgressBar *>(QStringLiteral("ProgressBar1"));
        // The first bar step happens inside the draw; the requests sent then
        // are handled by its event pass.
        connect(bar, &QProgressBar::valueChanged, this, [window, &closesSent, &stillShown](int value) {
            if (value != 1)
                return;
            ++closesSent;
            window->close();
            QTest::keyClick(window, Qt::Key_Escape);
            stillShown = window->isVisible();
        });
    });
    QVERIFY(RunPaperDraw(QStringLiteral("5"), QString()));
    QCOMPARE(closesSent, 1);
    QVERIFY(stillShown);
    QCOMPARE(TIniFile(ThemeCfgFileName()).ReadString("System", "ThemeCount", ""), QStringLiteral("10"));
}

void TestUSetTheme::QuitRequestCancelsTheDraw()
{
    AddSoundTemplate(0);
    RequestQuit();
    QVERIFY(!RunPaperDraw(QStringLiteral("5"), QString()));
    QCoreApplication::processEvents(); // the queued quit, before the next test
}

void TestUSetTheme::DrawnPaperIsHandedOverAsWritten()
{
    AddSoundTemplate(0);
    std::unique_ptr<TIniFile> drawn;
    QVERIFY(RunPaperDraw(QStringLiteral("5"), QString(), &drawn));
    QVERIFY(drawn);
    QFile file(ThemeCfgFileName());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(drawn->ToBytes(), file.readAll());
    QCOMPARE(drawn->ReadString("System", "ThemeCount", ""), QStringLiteral("10"));

    // A draw that never ran hands over nothing.
    std::unique_ptr<TIniFile> none;
    QTimer::singleShot(0, this, [] { QApplication::activeModalWidget()->close(); });
    QVERIFY(!RunPaperDraw(QStringLiteral("5"), QString(), &none));
    QVERIFY(!none);
}

QTEST_MAIN(TestUSetTheme)
#include "tst_USetTheme.moc"
