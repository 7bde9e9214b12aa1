#include <algorithm>

#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "UApplication.h"
#include "UComm.h"
#include "UQuit.h"
#include "UXtglLogin.h"

// The licence-class dialog driven by keys and clicks, as a candidate would.
class TestUXtglLogin : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void EnterAtOnceChoosesClassOne();
    void DigitThenEnterChoosesThatClass_data();
    void DigitThenEnterChoosesThatClass();
    void OtherKeysChangeNothing();
    void CancelLeavesTheRunValuesEmpty();
    void QuitRequestClosesTheDialogWithCancel();
    void LayoutFollowsTheDesignGrid();
    void RestoredAfterMinimisingKeepsTheClass();
    void RadioButtonsShowTheirBackgroundColour();
    void BannerShowsOnlyTheTitleOverAPlainArea();

private:
    // Shows the dialog modally and types the keys once it is up.
    int RunWithKeys(TFrmXtglLogin &dialog, const QString &keys);
};

void TestUXtglLogin::init()
{
    RunContext = TRunContext();
}

void TestUXtglLogin::cleanup()
{
    ResetQuitRequestForTesting();
}

int TestUXtglLogin::RunWithKeys(TFrmXtglLogin &dialog, const QString &keys)
{
    QTimer::singleShot(0, &dialog, [&dialog, keys] {
        QWidget *focused = dialog.focusWidget();
        for (const QChar key : keys) {
            if (key == QLatin1Char('\r'))
                QTest::keyClick(dialog.focusWidget() ? dialog.focusWidget() : focused, Qt::Key_Return);
            else if (key == QLatin1Char('\x1b'))
                dialog.reject();
            else
                QTest::keyClicks(dialog.focusWidget() ? dialog.focusWidget() : focused, QString(key));
        }
        if (dialog.isVisible() && !keys.endsWith(QLatin1Char('\r')))
            dialog.reject();
    });
    return ExecModal(dialog);
}

void TestUXtglLogin::EnterAtOnceChoosesClassOne()
{
    TFrmXtglLogin dialog;
    QCOMPARE(RunWithKeys(dialog, "\r"), 1);
    QCOMPARE(RunContext.DriveTypeCode, QString("001"));
    QCOMPARE(RunContext.DriveTypeCaption, QString("小型汽车（C1、C2、C3、C4）"));
    QCOMPARE(RunContext.ChapterFilter, QString("THEMECHAPTER in (1)"));
}

void TestUXtglLogin::DigitThenEnterChoosesThatClass_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("caption");
    QTest::newRow("7 is the bus safety class") << "7\r"
                                               << "102"
                                               << "THEMECHAPTER in (20,21,22,23,24,25,26)"
                                               << "客车（A1、A3、B1）安全";
    QTest::newRow("5 is the motorcycle") << "5\r"
                                         << "005"
                                         << "THEMECHAPTER in (1)"
                                         << "摩托车（D、E、F）";
    QTest::newRow("last digit wins") << "93\r"
                                     << "003"
                                     << "THEMECHAPTER in (1)"
                                     << "货车（A2、B2）";
    QTest::newRow("0 and letters are ignored") << "6a0\r"
                                               << "101"
                                               << "THEMECHAPTER in (20,21,22,23,24,25,26)"
                                               << "小型汽车（C1、C2、C3、C4）安全";
}

void TestUXtglLogin::DigitThenEnterChoosesThatClass()
{
    QFETCH(QString, keys);
    QFETCH(QString, code);
    QFETCH(QString, filter);
    QFETCH(QString, caption);
    TFrmXtglLogin dialog;
    QCOMPARE(RunWithKeys(dialog, keys), 1);
    QCOMPARE(RunContext.DriveTypeCode, code);
    QCOMPARE(RunContext.ChapterFilter, filter);
    QCOMPARE(RunContext.DriveTypeCaption, caption);
}

void TestUXtglLogin::OtherKeysChangeNothing()
{
    TFrmXtglLogin dialog;
    QCOMPARE(RunWithKeys(dialog, "0x"), 2);
    QVERIFY(dialog.findChild<QRadioButton *>("RadioButton1")->isChecked());
    QVERIFY(RunContext.DriveTypeCode.isEmpty());
}

void TestUXtglLogin::CancelLeavesTheRunValuesEmpty()
{
    TFrmXtglLogin dialog;
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.findChild<QAbstractButton *>("SpeedButton2")->click(); });
    QCOMPARE(ExecModal(dialog), 2);
    QVERIFY(RunContext.DriveTypeCode.isEmpty());
    QVERIFY(RunContext.DriveTypeCaption.isEmpty());
    QVERIFY(RunContext.ChapterFilter.isEmpty());
}

void TestUXtglLogin::QuitRequestClosesTheDialogWithCancel()
{
    RequestQuit();
    TFrmXtglLogin dialog;
    QCOMPARE(ExecModal(dialog), 2);
    QVERIFY(!dialog.isVisible());
}

void TestUXtglLogin::LayoutFollowsTheDesignGrid()
{
    TFrmXtglLogin dialog;
    QCOMPARE(dialog.size(), QSize(441, 284));
    QCOMPARE(dialog.findChild<QRadioButton *>("RadioButton1")->pos(), QPoint(20, 138));
    QCOMPARE(dialog.findChild<QRadioButton *>("RadioButton5")->pos(), QPoint(20, 222));
    QCOMPARE(dialog.findChild<QRadioButton *>("RadioButton9")->pos(), QPoint(209, 201));
    QCOMPARE(dialog.findChild<QAbstractButton *>("SpeedButton1")->geometry(), QRect(105, 248, 76, 25));
    QCOMPARE(dialog.findChild<QAbstractButton *>("SpeedButton2")->geometry(), QRect(257, 248, 76, 25));
    QCOMPARE(dialog.windowTitle(), QString("系统登录"));
}

void TestUXtglLogin::RestoredAfterMinimisingKeepsTheClass()
{
    TFrmXtglLogin dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClicks(dialog.focusWidget(), "7");
    dialog.hide();
    dialog.showMinimized();
    dialog.showNormal();
    QVERIFY(dialog.findChild<QRadioButton *>("RadioButton7")->isChecked());
    QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
    QCOMPARE(dialog.result(), 1);
    QCOMPARE(RunContext.DriveTypeCode, QString("102"));
}

void TestUXtglLogin::RadioButtonsShowTheirBackgroundColour()
{
    TFrmXtglLogin dialog;
    for (const char *name : {"RadioButton1", "RadioButton9"}) {
        auto *radio = dialog.findChild<QRadioButton *>(name);
        const QImage face = radio->grab().toImage();
        // The right end of the button, past its caption.
        QCOMPARE(face.pixelColor(face.width() - 2, face.height() / 2), QColor(219, 228, 233));
        QCOMPARE(radio->palette().color(QPalette::WindowText), QColor(Qt::black));
    }
}

void TestUXtglLogin::BannerShowsOnlyTheTitleOverAPlainArea()
{
    TFrmXtglLogin dialog;
    const QImage picture = dialog.grab().toImage();
    // Below the title the banner is the bare gradient: every row one colour.
    for (int y = 72; y < 118; ++y) {
        for (int x = 0; x < picture.width(); ++x)
            QCOMPARE(picture.pixelColor(x, y), picture.pixelColor(picture.width() - 1, y));
    }
    // The light area holds nothing but the controls.
    QList<QRect> controls;
    for (const QWidget *child : dialog.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        controls << child->geometry();
    const QColor light = picture.pixelColor(picture.width() - 1, picture.height() - 1);
    for (int y = 118; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (std::none_of(controls.begin(), controls.end(), [x, y](const QRect &r) { return r.contains(x, y); }))
                QCOMPARE(picture.pixelColor(x, y), light);
        }
    }
}

QTEST_MAIN(TestUXtglLogin)
#include "tst_UXtglLogin.moc"
