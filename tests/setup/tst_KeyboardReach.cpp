#include <algorithm>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "QVComboBox.h"
#include "RecordFixture.h"
#include "TabWalk.h"
#include "UComm.h"
#include "UEditor.h"
#include "UFrmLearningRecord.h"
#include "UQVComboBoxSelValue.h"
#include "UQVImageSelect.h"
#include "UQVImageShow.h"
#include "USelLxType.h"
#include "USetTheme.h"
#include "UXtglLogin.h"
#include "UnitInitialization.h"

// Tab, pressed on real windows of the three programs, reaches every control
// in the order the window reads.

namespace {

QStringList NamesOf(const QList<QWidget *> &widgets)
{
    QStringList names;
    for (const QWidget *widget : widgets)
        names << widget->objectName();
    return names;
}

QWidget *Named(QWidget *window, const char *name)
{
    return window->findChild<QWidget *>(QLatin1String(name));
}

} // namespace

class TestKeyboardReach : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void LicenceDialogTabsThroughClassAndButtons();
    void LicenceDialogButtonsWorkFromTheKeyboard_data();
    void LicenceDialogButtonsWorkFromTheKeyboard();
    void PracticeDialogTabsAlongItsBands();
    void PracticeDialogListIsReached_data();
    void PracticeDialogListIsReached();
    void EveryControlOfTheOtherWindowsIsReached_data();
    void EveryControlOfTheOtherWindowsIsReached();
    void EditorGoesFromListThroughFieldsToButtons();
    void ConnectionDialogEntersItsModesAtTheChosenOne();

private:
    // Fails with the names of the controls Tab does not reach.
    static void CheckEveryControlReached(QWidget *window);

    std::unique_ptr<TRecordFixture> FRecord;
    std::unique_ptr<TScriptedMessages> FMessages;
};

void TestKeyboardReach::init()
{
    FRecord = std::make_unique<TRecordFixture>();
    FMessages = std::make_unique<TScriptedMessages>();
    RunContext = TRunContext();
    RunContext.DriveTypeCode = QStringLiteral("001");
    RunContext.DriveTypeCaption = QStringLiteral("小型汽车（C1、C2、C3、C4）");
    for (int themeId = 1; themeId <= 3; ++themeId)
        FRecord->Bank().AddTheme(themeId, {{QStringLiteral("TT"), themeId}});
}

void TestKeyboardReach::cleanup()
{
    FMessages.reset();
    FRecord.reset();
    RunContext = TRunContext();
}

void TestKeyboardReach::CheckEveryControlReached(QWidget *window)
{
    const QList<QWidget *> walk = TabWalk(window);
    QList<QWidget *> missed;
    for (QWidget *control : KeyboardControls(window)) {
        if (!Reached(walk, control))
            missed << control;
    }
    QVERIFY2(missed.isEmpty(),
             qPrintable(QStringLiteral("not reached: ") + Described(missed) + QStringLiteral("; Tab went: ")
                        + Described(walk)));
    // Back with Shift+Tab the same way round, reversed.
    QList<QWidget *> back = TabWalk(window, true);
    if (back.size() > 1)
        std::reverse(back.begin() + 1, back.end());
    QCOMPARE(NamesOf(back), NamesOf(walk));
}

void TestKeyboardReach::LicenceDialogTabsThroughClassAndButtons()
{
    TFrmXtglLogin dialog;
    QVERIFY(ShowActive(&dialog));
    QWidget *login = Named(&dialog, "SpeedButton1");
    const QImage unfocused = login->grab().toImage();
    QCOMPARE(NamesOf(TabWalk(&dialog)), QStringList({"RadioButton1", "SpeedButton1", "SpeedButton2"}));
    // The picture button shows where the focus is.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), login);
    QVERIFY(login->grab().toImage() != unfocused);
    QTest::keyClick(login, Qt::Key_Tab, Qt::ShiftModifier);
    CheckEveryControlReached(&dialog);
    // A class chosen by its digit keeps the focus frame, and Tab comes back to it.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("7"));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("RadioButton7"));
    QCOMPARE(NamesOf(TabWalk(&dialog)), QStringList({"RadioButton7", "SpeedButton1", "SpeedButton2"}));
    QVERIFY(Named(&dialog, "SpeedButton1")->focusPolicy() & Qt::TabFocus);
}

void TestKeyboardReach::LicenceDialogButtonsWorkFromTheKeyboard_data()
{
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    QTest::newRow("Enter on 登录") << 1 << int(Qt::Key_Return) << 1;
    QTest::newRow("Space on 登录") << 1 << int(Qt::Key_Space) << 1;
    QTest::newRow("Enter on 取消") << 2 << int(Qt::Key_Return) << 2;
    QTest::newRow("Space on 取消") << 2 << int(Qt::Key_Space) << 2;
}

void TestKeyboardReach::LicenceDialogButtonsWorkFromTheKeyboard()
{
    QFETCH(int, tabs);
    QFETCH(int, key);
    QFETCH(int, result);
    TFrmXtglLogin dialog;
    QVERIFY(ShowActive(&dialog));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("3"));
    for (int tab = 0; tab < tabs; ++tab)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(dialog.result(), result);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(RunContext.ChapterFilter.isEmpty(), result == 2);
    if (result == 1)
        QCOMPARE(RunContext.DriveTypeCaption, QStringLiteral("货车（A2、B2）"));
}

void TestKeyboardReach::PracticeDialogTabsAlongItsBands()
{
    TFrmSelLxType dialog;
    QVERIFY(ShowActive(&dialog));
    // The focus starts on the chosen mode, and Tab comes back to it.
    QCOMPARE(NamesOf(TabWalk(&dialog)), QStringList({"RadioButton3", "BitBtn3", "BitBtn1", "BitBtn2"}));
    CheckEveryControlReached(&dialog);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QVERIFY(qobject_cast<QRadioButton *>(Named(&dialog, "RadioButton2"))->isChecked());
    QCOMPARE(NamesOf(TabWalk(&dialog)).first(), QStringLiteral("RadioButton2"));
}

void TestKeyboardReach::PracticeDialogListIsReached_data()
{
    QTest::addColumn<int>("sets");
    QTest::newRow("plain list") << 3;
    QTest::newRow("selection edit of a long list") << 25;
}

void TestKeyboardReach::PracticeDialogListIsReached()
{
    QFETCH(int, sets);
    for (int themeId = 4; themeId <= sets; ++themeId)
        FRecord->Bank().AddTheme(themeId, {{QStringLiteral("TT"), themeId}});
    TFrmSelLxType dialog;
    QVERIFY(ShowActive(&dialog));
    // Arrows choose set practice, as a keyboard user would.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QVERIFY(qobject_cast<QRadioButton *>(Named(&dialog, "RadioButton1"))->isChecked());
    auto *list = dialog.findChild<TQVComboBox *>(QStringLiteral("QVComboBox1"));
    QTRY_COMPARE(list->EditShowing(), sets > 20);
    CheckEveryControlReached(&dialog);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget *listFocus = QApplication::focusWidget();
    QVERIFY(listFocus == list || listFocus == list->OverlayEdit());
    QStringList after;
    for (int tab = 0; tab < 3; ++tab) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        after << QApplication::focusWidget()->objectName();
    }
    // The long list's ".." button may come first; then the band's buttons in order.
    after.removeAll(QString());
    QCOMPARE(after.mid(0, 2), QStringList({"BitBtn3", "BitBtn1"}));
}

void TestKeyboardReach::EveryControlOfTheOtherWindowsIsReached_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("learning record") << "record";
    QTest::newRow("connection settings") << "connect";
    QTest::newRow("question-bank editor") << "editor";
    QTest::newRow("crop dialog") << "crop";
    QTest::newRow("picture viewer") << "viewer";
    QTest::newRow("value selection") << "selection";
    QTest::newRow("draw window") << "draw";
}

void TestKeyboardReach::EveryControlOfTheOtherWindowsIsReached()
{
    QFETCH(QString, window);
    std::unique_ptr<QWidget> shown;
    if (window == QLatin1String("record"))
        shown = std::make_unique<TFrmLearningRecord>(RunContext.DriveTypeCode, RunContext.DriveTypeCaption,
                                                     QStringLiteral("THEMECHAPTER in (1)"));
    else if (window == QLatin1String("connect"))
        shown = std::make_unique<TFrmConnect>();
    else if (window == QLatin1String("editor"))
        shown = std::make_unique<TFrmEditor>();
    else if (window == QLatin1String("crop"))
        shown = std::make_unique<TFrmQVImageSelect>(FRecord->Bank().AppPath());
    else if (window == QLatin1String("viewer"))
        shown = std::make_unique<TFrmQVImageShow>(QImage(40, 30, QImage::Format_RGB32));
    else if (window == QLatin1String("selection")) {
        auto selection = std::make_unique<TFrmQVComboBoxSelValue>();
        selection->SetNames({QStringLiteral("第一章"), QStringLiteral("第二章")});
        selection->SetCodes({QStringLiteral("1"), QStringLiteral("2")});
        shown = std::move(selection);
    } else
        // The draw window works by itself and holds no control to reach.
        shown = std::make_unique<TFrmSetTheme>();
    QVERIFY(ShowActive(shown.get()));
    CheckEveryControlReached(shown.get());
}

void TestKeyboardReach::EditorGoesFromListThroughFieldsToButtons()
{
    TFrmEditor editor;
    QVERIFY(ShowActive(&editor));
    Named(&editor, "EdtSearch")->setFocus(Qt::TabFocusReason);
    const QStringList walk = NamesOf(TabWalk(&editor));
    const QStringList expected{"EdtSearch",    "DBGrid1",         "FBtnAutoFirst",   "FBtnAutoPrior", "FBtnAutoNext",
                               "FBtnAutoLast", "FComboxAutoPage", "FBtnAutoConnect", "EdtThemeID",    "EdtThemePart"};
    QCOMPARE(walk.mid(0, expected.size()), expected);
    QVERIFY(walk.indexOf(QStringLiteral("MemSpareE")) < walk.indexOf(QStringLiteral("EdtResult")));
    QCOMPARE(walk.indexOf(QStringLiteral("BtnAdd")), walk.indexOf(QStringLiteral("EdtResult")) + 1);
    // The picture field too: Enter opens its dialog, the menu key its menu.
    QVERIFY(walk.contains(QStringLiteral("ImgTheme")));
    // Tab in a question text moves on; it is no character of the text.
    QTest::keyClick(Named(&editor, "MemContent"), Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() != Named(&editor, "MemContent"));
}

void TestKeyboardReach::ConnectionDialogEntersItsModesAtTheChosenOne()
{
    TFrmConnect dialog;
    QVERIFY(ShowActive(&dialog));
    const QStringList walk = NamesOf(TabWalk(&dialog));
    QCOMPARE(walk.mid(0, 3), QStringList({"ComBServer", "RadioButton2", "EdtUser"}));
    // An arrow chooses another mode, and Tab comes back to that one.
    Named(&dialog, "RadioButton2")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QVERIFY(qobject_cast<QRadioButton *>(Named(&dialog, "RadioButton1"))->isChecked());
    QCOMPARE(NamesOf(TabWalk(&dialog)).first(), QStringLiteral("RadioButton1"));
    QVERIFY(!NamesOf(TabWalk(&dialog)).contains(QStringLiteral("RadioButton2")));
}

QTEST_MAIN(TestKeyboardReach)
#include "tst_KeyboardReach.moc"
