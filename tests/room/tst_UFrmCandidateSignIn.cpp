#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "TestSupport.h"
#include "UApplication.h"
#include "UComm.h"
#include "UFrmCandidateSignIn.h"
#include "UQuit.h"

// The sign-in driven by keys as a candidate types, through the real
// message seam and a modal run.
class TestUFrmCandidateSignIn : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void FocusStartsInTheNumberAndTabGoesThroughTheControls();
    void EnterSignsInWithASoundEntry();
    void RefusedEntriesKeepTheDialogOpen_data();
    void RefusedEntriesKeepTheDialogOpen();
    void OtherDocumentIsTakenWhenTheBoxIsTicked();
    void CancelEndsWithoutTouchingTheRun();
    void QuitRequestClosesTheDialog();
    void EveryControlHasAnAccessibleNameAndFitsTheScreen();
    void Screenshot();

private:
    // Shows the dialog modally; `typing` runs once it has the focus.
    int RunModal(TFrmCandidateSignIn &dialog, const std::function<void()> &typing);
    // Chinese characters arrive as an input method delivers them: text without a key code.
    static void Type(const QString &text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    static void Press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    static QString Focused()
    {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }

    std::unique_ptr<TScriptedMessages> FMessages;
};

void TestUFrmCandidateSignIn::initTestCase()
{
    InstallChineseFonts();
}

void TestUFrmCandidateSignIn::init()
{
    RunContext = TRunContext();
    FMessages = std::make_unique<TScriptedMessages>();
}

void TestUFrmCandidateSignIn::cleanup()
{
    FMessages.reset();
    ResetQuitRequestForTesting();
}

int TestUFrmCandidateSignIn::RunModal(TFrmCandidateSignIn &dialog, const std::function<void()> &typing)
{
    QTimer::singleShot(0, &dialog, [&dialog, typing] {
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        typing();
        if (dialog.isVisible())
            dialog.reject();
    });
    return ExecModal(dialog);
}

void TestUFrmCandidateSignIn::FocusStartsInTheNumberAndTabGoesThroughTheControls()
{
    TFrmCandidateSignIn dialog;
    QStringList order;
    RunModal(dialog, [&order] {
        order << Focused();
        for (int i = 0; i < 5; ++i) {
            Press(Qt::Key_Tab);
            order << Focused();
        }
    });
    QCOMPARE(order, QStringList({"EditIdNumber", "EditName", "CheckOtherId", "BtnOK", "BtnCancel", "EditIdNumber"}));
}

void TestUFrmCandidateSignIn::EnterSignsInWithASoundEntry()
{
    TFrmCandidateSignIn dialog(QStringLiteral("第一考场"));
    const int result = RunModal(dialog, [] {
        Type(QStringLiteral("11010519491231002x"));
        Press(Qt::Key_Tab);
        Type(QStringLiteral("王芳"));
        Press(Qt::Key_Return);
    });
    QCOMPARE(result, 1);
    QCOMPARE(FMessages->Count(), 0);
    QCOMPARE(RunContext.CandidateIdNumber, QStringLiteral("11010519491231002X"));
    QCOMPARE(RunContext.CandidateName, QStringLiteral("王芳"));
    QCOMPARE(dialog.findChild<QLabel *>("LabRoom")->text(), QStringLiteral("考场：第一考场"));
}

void TestUFrmCandidateSignIn::RefusedEntriesKeepTheDialogOpen_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focusAfter");
    QTest::newRow("wrong check digit") << "320102198511200013"
                                       << "王芳"
                                       << "校验位"
                                       << "EditIdNumber";
    QTest::newRow("empty name") << "320102198511200012"
                                << ""
                                << "请输入考生姓名"
                                << "EditName";
    QTest::newRow("short number") << "3201021985"
                                  << "王芳"
                                  << "18位"
                                  << "EditIdNumber";
}

void TestUFrmCandidateSignIn::RefusedEntriesKeepTheDialogOpen()
{
    QFETCH(QString, number);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QString, focusAfter);
    TFrmCandidateSignIn dialog;
    bool stayedOpen = false;
    QString focused;
    const int result = RunModal(dialog, [&] {
        Type(number);
        Press(Qt::Key_Tab);
        Type(name);
        Press(Qt::Key_Return);
        stayedOpen = dialog.isVisible();
        focused = Focused();
    });
    QVERIFY(stayedOpen);
    QCOMPARE(result, 2); // closed by the test afterwards
    QCOMPARE(FMessages->Count(), 1);
    QCOMPARE(FMessages->Last().Caption, QStringLiteral("错误"));
    QCOMPARE(FMessages->Last().Icon, TMsgIcon::Error);
    QVERIFY2(FMessages->Last().Text.contains(message), qPrintable(FMessages->Last().Text));
    QCOMPARE(focused, focusAfter);
    QVERIFY(RunContext.CandidateIdNumber.isEmpty());
    QVERIFY(RunContext.CandidateName.isEmpty());
}

void TestUFrmCandidateSignIn::OtherDocumentIsTakenWhenTheBoxIsTicked()
{
    TFrmCandidateSignIn dialog;
    int refusals = -1;
    const int result = RunModal(dialog, [&] {
        Type(QStringLiteral("E12345678"));
        Press(Qt::Key_Tab);
        Type(QStringLiteral("Anna Li"));
        Press(Qt::Key_Return); // refused: not a resident ID
        refusals = FMessages->Count();
        Press(Qt::Key_Tab);
        Press(Qt::Key_Tab);
        Press(Qt::Key_Space); // ticks 其他证件
        Press(Qt::Key_Return);
    });
    QCOMPARE(refusals, 1);
    QCOMPARE(result, 1);
    QVERIFY(dialog.findChild<QCheckBox *>("CheckOtherId")->isChecked());
    QCOMPARE(RunContext.CandidateIdNumber, QStringLiteral("E12345678"));
    QCOMPARE(RunContext.CandidateName, QStringLiteral("Anna Li"));
}

void TestUFrmCandidateSignIn::CancelEndsWithoutTouchingTheRun()
{
    TFrmCandidateSignIn dialog;
    const int result = RunModal(dialog, [&dialog] {
        Type(QStringLiteral("11010519491231002X"));
        Press(Qt::Key_Tab);
        Type(QStringLiteral("王芳"));
        QTest::mouseClick(dialog.findChild<QPushButton *>("BtnCancel"), Qt::LeftButton);
    });
    QCOMPARE(result, 2);
    QVERIFY(RunContext.CandidateIdNumber.isEmpty());
    QVERIFY(RunContext.CandidateName.isEmpty());
    QCOMPARE(FMessages->Count(), 0);

    TFrmCandidateSignIn escaped;
    QCOMPARE(RunModal(escaped, [] { Press(Qt::Key_Escape); }), 2);
}

void TestUFrmCandidateSignIn::QuitRequestClosesTheDialog()
{
    RequestQuit();
    TFrmCandidateSignIn dialog;
    QCOMPARE(ExecModal(dialog), 2);
}

void TestUFrmCandidateSignIn::EveryControlHasAnAccessibleNameAndFitsTheScreen()
{
    TFrmCandidateSignIn dialog(QStringLiteral("第一考场"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (QWidget *control : dialog.findChildren<QWidget *>()) {
        if (control->focusPolicy() == Qt::NoFocus || qobject_cast<QLabel *>(control))
            continue;
        QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
    }
    // Each label names its field for a screen reader and takes Alt+letter.
    QCOMPARE(dialog.findChild<QLabel *>("LabIdNumber")->buddy()->objectName(), QStringLiteral("EditIdNumber"));
    QCOMPARE(dialog.findChild<QLabel *>("LabName")->buddy()->objectName(), QStringLiteral("EditName"));
    QVERIFY(dialog.screen()->availableGeometry().contains(dialog.frameGeometry()));
    for (QWidget *control : dialog.findChildren<QWidget *>())
        QVERIFY2(dialog.rect().contains(control->geometry()), qPrintable(control->objectName()));
}

void TestUFrmCandidateSignIn::Screenshot()
{
    const QString folder = qEnvironmentVariable("EXAMORA_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("set EXAMORA_SCREENSHOT_DIR to save a picture of the dialog");
    TFrmCandidateSignIn dialog(QStringLiteral("第一考场"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.grab().save(folder + QStringLiteral("/room-signin-offscreen.png")));
}

QTEST_MAIN(TestUFrmCandidateSignIn)
#include "tst_UFrmCandidateSignIn.moc"
