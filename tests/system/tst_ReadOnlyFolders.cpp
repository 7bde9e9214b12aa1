#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "PaperTestSupport.h"
#include "TRunAsUser.h"
#include "TestSupport.h"
#include "UComm.h"
#include "UConnection.h"
#include "UDM.h"
#include "UPaperLoad.h"
#include "UPaperStore.h"
#include "UQuery.h"
#include "UQuit.h"

// A program installed where it may not write (a shared folder, a school's
// read-only image): the candidate is told which folder or file refuses
// writes, where a draw or storing failure or the SQL Server dialog came.
class TestReadOnlyFolders : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void ReadOnlyBankFolderIsSaidAtStartUp();
    void ReadOnlyBankIsSaidWhenThePaperIsStored();
    void ReadOnlyProgramFolderIsSaidWhenThePaperIsDrawn();

private:
    // Closes every connection of the bank, so that the program opens the
    // file afresh as the user the bank's folder is handed to, and makes
    // path read-only; null when it could not.
    static std::unique_ptr<TRunAsUser> HandToUser(TTestBank &bank, const QString &readOnlyPath);
    // The program's start-up on the bank's folder, as the data module of
    // the run; true when the bank opened without a dialog or message.
    static bool StartProgram(TDM &dm, const TTestBank &bank);
    // The one message that loading the run's paper shows; empty when the
    // paper loaded, or more or fewer messages came.
    static QString LoadFailureMessage();
};

void TestReadOnlyFolders::init()
{
    RunContext = TRunContext();
    ResetQuitRequestForTesting();
    const QTemporaryDir probe;
    if (!TRunAsUser(probe.path()).Active())
        QSKIP("running as root, and root could not be given up: read-only files and folders would take writes");
}

void TestReadOnlyFolders::cleanup()
{
    DM = nullptr;
    ResetQuitRequestForTesting();
}

std::unique_ptr<TRunAsUser> TestReadOnlyFolders::HandToUser(TTestBank &bank, const QString &readOnlyPath)
{
    bank.DataModule().ACon->Close();
    bank.Db().close();
    auto user = std::make_unique<TRunAsUser>(bank.AppPath());
    if (!user->Active() || !user->MakeReadOnly(readOnlyPath))
        return nullptr;
    return user;
}

bool TestReadOnlyFolders::StartProgram(TDM &dm, const TTestBank &bank)
{
    TScriptedMessages messages;
    int dialogs = 0;
    dm.RunConnectDialog = [&dialogs] {
        ++dialogs;
        return 2;
    };
    dm.DataModuleCreate(QDir::cleanPath(bank.AppPath()));
    DM = &dm;
    return dm.ACon->Connected() && dialogs == 0 && messages.Count() == 0;
}

QString TestReadOnlyFolders::LoadFailureMessage()
{
    TScriptedMessages messages;
    TPaperStore store(TPaperRequest::OfRun());
    TQuery paper;
    if (LoadExamPaper(store, &paper, QString(), QStringLiteral("001")) || messages.Count() != 1 || paper.Active())
        return QString();
    return messages.Last().Text;
}

void TestReadOnlyFolders::ReadOnlyBankFolderIsSaidAtStartUp()
{
    TTestBank bank;
    const QString dataFolder = QFileInfo(bank.DatabaseFile()).absolutePath();
    const auto user = HandToUser(bank, dataFolder);
    QVERIFY(user);

    TScriptedMessages messages;
    TDM dm;
    int dialogs = 0;
    dm.RunConnectDialog = [&dialogs] {
        ++dialogs;
        return 2;
    };
    dm.DataModuleCreate(QDir::cleanPath(bank.AppPath()));
    QCOMPARE(dialogs, 0);
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(messages.Last().Text,
             QStringLiteral("题库所在的文件夹“%1”不可写入，无法打开题库。").arg(QDir::toNativeSeparators(dataFolder)));
    QCOMPARE(messages.Last().Icon, TMsgIcon::Error);
    QVERIFY(!dm.ACon->Connected());
    QVERIFY(QuitRequested());
}

void TestReadOnlyFolders::ReadOnlyBankIsSaidWhenThePaperIsStored()
{
    TTestBank bank;
    for (int id = 31; id <= 33; ++id)
        bank.AddTheme(id, {{QStringLiteral("TT"), QStringLiteral("01")}});
    const auto user = HandToUser(bank, bank.DatabaseFile());
    QVERIFY(user);
    // The file is read, so the program starts; only storing is refused.
    TDM dm;
    QVERIFY(StartProgram(dm, bank));
    SetRun(QStringLiteral("1"), QStringLiteral("01"));
    QCOMPARE(LoadFailureMessage(),
             QStringLiteral("题库文件“%1”为只读，无法保存试卷。")
                 .arg(QDir::toNativeSeparators(QFileInfo(bank.DatabaseFile()).absoluteFilePath())));
    QCOMPARE(bank.Scalar(QStringLiteral("select count(*) from T_KS_ExamineTheme_TT")).toInt(), 0);
}

void TestReadOnlyFolders::ReadOnlyProgramFolderIsSaidWhenThePaperIsDrawn()
{
    TTestBank bank;
    for (int id = 1; id <= 12; ++id)
        bank.AddTheme(id, {{QStringLiteral("ThemeType"), 1 + id % 2}});
    bank.AddModel(3, QStringLiteral("001"), 0, 30);
    bank.AddContent(3, 1, 1, 2, 6, 4, 10, 40);
    bank.AddContent(3, 1, 1, 1, 6, 6, 10, 60);
    // The bank's own folder stays writable: only Theme.Cfg has no place.
    const auto user = HandToUser(bank, bank.AppPath());
    QVERIFY(user);
    TDM dm;
    QVERIFY(StartProgram(dm, bank));
    SetRun(QStringLiteral("3"));
    QCOMPARE(LoadFailureMessage(),
             QStringLiteral("程序文件夹“%1”不可写入，无法生成试卷。")
                 .arg(QDir::toNativeSeparators(QDir::cleanPath(bank.AppPath()))));
    QVERIFY(!QFile::exists(bank.AppPath() + QStringLiteral("Theme.Cfg")));
}

QTEST_MAIN(TestReadOnlyFolders)
#include "tst_ReadOnlyFolders.moc"
