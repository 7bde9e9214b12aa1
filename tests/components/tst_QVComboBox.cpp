#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include "QVAdoQuery.h"
#include "QVComboBox.h"
#include "TestSupport.h"
#include "UApplication.h"
#include "UDM.h"
#include "UMessageSeam.h"
#include "UQVComboBoxSelValue.h"

namespace {

QStringList Numbered(const QString &prefix, int count)
{
    QStringList list;
    for (int i = 1; i <= count; ++i)
        list << prefix + QString::number(i);
    return list;
}

// Runs the check inside the next modal dialog once it is open.
void InDialog(const std::function<void(TFrmQVComboBoxSelValue *)> &work)
{
    QTimer::singleShot(0, qApp, [work] {
        auto *dialog = qobject_cast<TFrmQVComboBoxSelValue *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        work(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

template <typename T>
T *Child(QObject *parent, const char *name)
{
    return parent->findChild<T *>(QString::fromLatin1(name));
}

QStringList Rows(TFrmQVComboBoxSelValue *dialog)
{
    auto *list = Child<QTreeWidget>(dialog, "LvData");
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << list->topLevelItem(i)->text(0) + QLatin1Char('=') + list->topLevelItem(i)->text(1);
    return rows;
}

} // namespace

class TestQVComboBox : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void SearchRows_data();
    void SearchRows();
    void PresentationSwitchesAboveShowSelectFormRow();
    void ValueThroughList();
    void ValueThroughOverlayEdit();
    void CountMismatches();
    void BoundStateAndRequiredCheck();
    void DialogPreselectsAndSearches();
    void DialogMatchesEqualNamesBackToTheFirst();
    void DialogOkWithoutSelection();
    void SpeedButtonTakesARealClickWhileTheQueryEdits();
    void RequiredCheckRunsOnceWhenFocusGoesElsewhere();
    void OverlayEditTakesTheControlsTabPlace();

private:
    void Fill(int count);
    TQVAdoQuery *BoundEditingQuery(TTestBank &bank, int names);

    std::unique_ptr<QWidget> FForm;
    TQVComboBox *FCombo = nullptr;
};

void TestQVComboBox::init()
{
    FForm = std::make_unique<QWidget>();
    FForm->resize(300, 80);
    FCombo = new TQVComboBox(FForm.get());
    FCombo->setObjectName(QStringLiteral("QVComboBox1"));
    FCombo->setGeometry(10, 10, 243, 21);
}

void TestQVComboBox::cleanup()
{
    FForm.reset();
}

void TestQVComboBox::Fill(int count)
{
    FCombo->clear();
    FCombo->addItems(Numbered(QStringLiteral("名称"), count));
    FCombo->ValueItems() = Numbered(QStringLiteral("C"), count);
    FCombo->SetItemIndex(-1);
}

void TestQVComboBox::SearchRows_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("rows");
    const QStringList codes{"10", "21", "30", "44"};
    QTest::newRow("digit anywhere") << codes << "0" << QList<int>{0, 2};
    QTest::newRow("whole code") << codes << "44" << QList<int>{3};
    QTest::newRow("no match") << codes << "5" << QList<int>{};
    QTest::newRow("case-sensitive") << QStringList{"Ab", "ab"} << "a" << QList<int>{1};
    QTest::newRow("equal entries repeat the first") << QStringList{"张", "李", "张"} << "张" << QList<int>{0, 0};
}

void TestQVComboBox::SearchRows()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, text);
    QFETCH(QList<int>, rows);
    QCOMPARE(QVSearchRows(entries, text), rows);
}

void TestQVComboBox::PresentationSwitchesAboveShowSelectFormRow()
{
    Fill(20);
    FForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
    FCombo->UpdateEditState();
    QVERIFY(!FCombo->EditShowing());
    Fill(21);
    FCombo->UpdateEditState();
    QVERIFY(FCombo->EditShowing());
    QLineEdit *edit = FCombo->OverlayEdit();
    QCOMPARE(edit->objectName(), QStringLiteral("QVComboBox1Edit"));
    QCOMPARE(FCombo->SpeedBtn()->objectName(), QStringLiteral("QVComboBox1SpeedBtn"));
    QCOMPARE(FCombo->SpeedBtn()->text(), QStringLiteral(".."));
    QVERIFY(FCombo->SpeedBtn()->isVisible());
    QVERIFY(edit->isReadOnly());
    QCOMPARE(edit->parentWidget(), FForm.get());
    QCOMPARE(edit->geometry().topLeft(), FCombo->geometry().topLeft());
    QCOMPARE(edit->width(), FCombo->width());
    QCOMPARE(FCombo->SpeedBtn()->x(), edit->width() - FCombo->SpeedBtn()->width() - 4);
    // Raising the threshold, like any refresh, decides anew.
    FCombo->SetShowSelectFormRow(21);
    QVERIFY(!FCombo->EditShowing());
    // Filling in place waits for the next paint.
    FCombo->SetShowSelectFormRow(20);
    Fill(3);
    QVERIFY(FCombo->EditShowing());
    FCombo->repaint();
    QVERIFY(!FCombo->EditShowing());
}

void TestQVComboBox::ValueThroughList()
{
    Fill(5);
    FCombo->SetValue(QStringLiteral("C3"));
    QCOMPARE(FCombo->currentText(), QStringLiteral("名称3"));
    QCOMPARE(FCombo->GetValue(), QVariant(QStringLiteral("C3")));
    TScriptedMessages messages;
    FCombo->SetValue(QStringLiteral("C9"));
    QCOMPARE(FCombo->ItemIndex(), -1);
    QCOMPARE(FCombo->GetValue(), QVariant());
    QCOMPARE(messages.Count(), 0);
    // The own flag never hides the list; a refresh sets it again.
    FCombo->SetVisible(false);
    FForm->show();
    QVERIFY(FCombo->isVisible());
    FCombo->SetItemIndex(1);
    FCombo->UpdateEditState();
    QVERIFY(FCombo->Visible());
    QCOMPARE(FCombo->GetValue(), QVariant(QStringLiteral("C2")));
}

void TestQVComboBox::ValueThroughOverlayEdit()
{
    Fill(25);
    FForm->show();
    FCombo->UpdateEditState();
    FCombo->SetValue(QStringLiteral("C22"));
    QCOMPARE(FCombo->OverlayEdit()->text(), QStringLiteral("名称22"));
    QCOMPARE(FCombo->GetValue(), QVariant(QStringLiteral("C22")));
    // With the own flag off the value comes from the edit, which is hidden now.
    FCombo->SetVisible(false);
    QVERIFY(!FCombo->EditShowing());
    QCOMPARE(FCombo->GetValue(), QVariant());
    FCombo->SetValue(QStringLiteral("C7"));
    QCOMPARE(FCombo->ItemIndex(), 21);
    FCombo->UpdateEditState();
    QVERIFY(FCombo->Visible());
    QCOMPARE(FCombo->OverlayEdit()->text(), QStringLiteral("名称22"));
    QCOMPARE(FCombo->GetValue(), QVariant(QStringLiteral("C22")));
}

void TestQVComboBox::CountMismatches()
{
    Fill(25);
    FForm->show();
    FCombo->UpdateEditState();
    FCombo->SetItemIndex(2);
    FCombo->ValueItems().removeLast();
    TScriptedMessages messages;
    QCOMPARE(FCombo->GetValue(), QVariant());
    QCOMPARE(messages.Last().Text, QStringLiteral("TComboBox 赋值有错误！"));
    FCombo->SetValue(QStringLiteral("C1"));
    QCOMPARE(messages.Count(), 2);
    QCOMPARE(FCombo->ItemIndex(), -1);
    FCombo->SpeedBtn()->click();
    QCOMPARE(messages.Count(), 3);
    QCOMPARE(messages.Last().Text, QStringLiteral("名称项和编号项不符，请检查！"));
    QCOMPARE(messages.Last().Caption, QStringLiteral("错误"));
    QVERIFY(!QApplication::activeModalWidget());
}

void TestQVComboBox::BoundStateAndRequiredCheck()
{
    TTestBank bank;
    bank.Exec(QStringLiteral("INSERT INTO T_KS_CHAPTER VALUES (1, '总则')"));
    auto *query = new TQVAdoQuery(FForm.get());
    query->SetConnection(DM->ACon);
    query->SetSQL(QStringLiteral("select * from T_KS_CHAPTER"));
    Fill(3);
    FCombo->SetDataSet(query);
    FCombo->SetEditFieldName(QStringLiteral("THEMENAME"));
    FCombo->SetIsMust(true);
    FForm->show();
    QVERIFY(QTest::qWaitForWindowActive(FForm.get()));
    query->Open();
    QVERIFY(!FCombo->isEnabled());
    QCOMPARE(FCombo->ItemIndex(), -1); // 总则 is not a code
    query->Edit();
    QVERIFY(FCombo->isEnabled());
    TScriptedMessages messages;
    QVERIFY(!FCombo->CheckValue());
    QCOMPARE(messages.Last().Text, QStringLiteral("本项是必填项！"));
    QVERIFY(FCombo->hasFocus());
    FCombo->SetCanEdit(false);
    FCombo->UpdateEditState();
    QVERIFY(!FCombo->isEnabled());
    // In the edit presentation only the button follows the state.
    FCombo->SetCanEdit(true);
    Fill(30);
    FCombo->UpdateEditState();
    QVERIFY(FCombo->SpeedBtn()->isEnabled());
    query->Cancel();
    QVERIFY(!FCombo->SpeedBtn()->isEnabled());
}

void TestQVComboBox::DialogPreselectsAndSearches()
{
    Fill(25);
    FForm->show();
    FCombo->UpdateEditState();
    FCombo->SetValue(QStringLiteral("C12"));
    TScriptedMessages messages;
    InDialog([&messages](TFrmQVComboBoxSelValue *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("选择值"));
        auto *list = Child<QTreeWidget>(dialog, "LvData");
        QCOMPARE(list->topLevelItemCount(), 25);
        QCOMPARE(list->headerItem()->text(0), QStringLiteral("编号"));
        QCOMPARE(list->selectedItems().value(0)->text(0), QStringLiteral("C12"));
        QVERIFY(!Child<QLineEdit>(dialog, "EdtCode")->isReadOnly());
        QVERIFY(Child<QLineEdit>(dialog, "EdtName")->isReadOnly());

        Child<QLineEdit>(dialog, "EdtCode")->setText(QStringLiteral("C2"));
        Child<QPushButton>(dialog, "BtnQuery")->click();
        QCOMPARE(Rows(dialog),
                 (QStringList{"C2=名称2", "C20=名称20", "C21=名称21", "C22=名称22", "C23=名称23", "C24=名称24",
                              "C25=名称25"}));
        Child<QLineEdit>(dialog, "EdtCode")->setText(QStringLiteral("X"));
        Child<QPushButton>(dialog, "BtnQuery")->click();
        QCOMPARE(messages.Last().Text, QStringLiteral("没有找到符合条件的数据！"));
        QCOMPARE(Rows(dialog).size(), 7);

        Child<QRadioButton>(dialog, "RbName")->setChecked(true);
        QVERIFY(Child<QLineEdit>(dialog, "EdtCode")->text().isEmpty());
        QVERIFY(Child<QLineEdit>(dialog, "EdtCode")->isReadOnly());
        Child<QLineEdit>(dialog, "EdtName")->setText(QStringLiteral("称9"));
        Child<QPushButton>(dialog, "BtnQuery")->click();
        QCOMPARE(Rows(dialog), QStringList{"C9=名称9"});
        Child<QLineEdit>(dialog, "EdtName")->clear();
        Child<QPushButton>(dialog, "BtnQuery")->click();
        QCOMPARE(Rows(dialog).size(), 25);

        list->setCurrentItem(list->topLevelItem(4));
        Child<QPushButton>(dialog, "BtnOk")->click();
    });
    FCombo->SpeedBtn()->click();
    QCOMPARE(FCombo->OverlayEdit()->text(), QStringLiteral("名称5"));
    QCOMPARE(FCombo->GetValue(), QVariant(QStringLiteral("C5")));
}

void TestQVComboBox::DialogMatchesEqualNamesBackToTheFirst()
{
    Fill(22);
    FCombo->setItemText(20, QStringLiteral("同名"));
    FCombo->setItemText(21, QStringLiteral("同名"));
    FForm->show();
    FCombo->UpdateEditState();
    InDialog([](TFrmQVComboBoxSelValue *dialog) {
        auto *list = Child<QTreeWidget>(dialog, "LvData");
        QCOMPARE(list->topLevelItem(21)->text(0), QStringLiteral("C22"));
        list->setCurrentItem(list->topLevelItem(21));
        emit list->itemDoubleClicked(list->topLevelItem(21), 0);
    });
    FCombo->SpeedBtn()->click();
    QCOMPARE(FCombo->ItemIndex(), 20);
    QCOMPARE(FCombo->GetValue(), QVariant(QStringLiteral("C21")));
}

void TestQVComboBox::DialogOkWithoutSelection()
{
    Fill(21);
    FForm->show();
    FCombo->UpdateEditState();
    TScriptedMessages messages;
    InDialog([&messages](TFrmQVComboBoxSelValue *dialog) {
        Child<QPushButton>(dialog, "BtnOk")->click();
        QCOMPARE(messages.Last().Text, QStringLiteral("请选择数据！"));
        QVERIFY(dialog->isVisible());
        Child<QPushButton>(dialog, "BtnCancel")->click();
    });
    FCombo->SpeedBtn()->click();
    QCOMPARE(FCombo->ItemIndex(), -1);
    QCOMPARE(FCombo->OverlayEdit()->text(), QString());
}

// A bound combo with that many names, its query first browsing (which greys
// a list) and then editing.
TQVAdoQuery *TestQVComboBox::BoundEditingQuery(TTestBank &bank, int names)
{
    bank.Exec(QStringLiteral("INSERT INTO T_KS_CHAPTER VALUES (1, '总则')"));
    auto *query = new TQVAdoQuery(FForm.get());
    query->SetConnection(DM->ACon);
    query->SetSQL(QStringLiteral("select * from T_KS_CHAPTER"));
    Fill(3);
    FCombo->SetDataSet(query);
    FCombo->SetEditFieldName(QStringLiteral("THEMENAME"));
    FForm->show();
    // A helper that returns a query cannot QVERIFY; the failure is still recorded.
    if (!QTest::qWaitForWindowActive(FForm.get()))
        QTest::qFail("the form did not become active", __FILE__, __LINE__);
    query->Open();
    Fill(names);
    FCombo->UpdateEditState();
    query->Edit();
    return query;
}

void TestQVComboBox::SpeedButtonTakesARealClickWhileTheQueryEdits()
{
    TTestBank bank;
    BoundEditingQuery(bank, 30);
    QVERIFY(FForm->isActiveWindow());
    QToolButton *button = FCombo->SpeedBtn();
    QVERIFY(button->isVisible() && button->isEnabled());
    bool opened = false;
    QPoint dialogCentre;
    InDialog([&](TFrmQVComboBoxSelValue *dialog) {
        opened = true;
        dialogCentre = dialog->frameGeometry().center();
        auto *list = Child<QTreeWidget>(dialog, "LvData");
        list->setCurrentItem(list->topLevelItem(6));
        QTest::mouseClick(Child<QPushButton>(dialog, "BtnOk"), Qt::LeftButton);
    });
    // The form repaints while the button is held down.
    QTest::mousePress(button, Qt::LeftButton);
    FCombo->repaint();
    QTest::mouseRelease(button, Qt::LeftButton);
    QVERIFY(opened);
    QCOMPARE(FCombo->GetValue(), QVariant(QStringLiteral("C7")));
    // Centred on the desktop, wherever the form is.
    const QPoint screenCentre = FForm->screen()->availableGeometry().center();
    QVERIFY2((dialogCentre - screenCentre).manhattanLength() <= 4,
             qPrintable(QStringLiteral("%1,%2").arg(dialogCentre.x()).arg(dialogCentre.y())));
}

void TestQVComboBox::RequiredCheckRunsOnceWhenFocusGoesElsewhere()
{
    TTestBank bank;
    auto *other = new QLineEdit(FForm.get());
    other->setGeometry(10, 45, 100, 21);
    other->show();
    BoundEditingQuery(bank, 3);
    FCombo->SetIsMust(true);
    FCombo->setFocus();
    QVERIFY(FCombo->hasFocus());
    // Real boxes: each takes the focus from the form while it is open.
    InstallQtMessageBoxes();
    QStringList shown;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&shown] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown << box->text();
            box->accept();
        }
    });
    closer.start(20);

    QTest::keyClick(FCombo, Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(FCombo->view()->isVisible());
    QTest::qWait(100);
    QVERIFY2(shown.isEmpty(), qPrintable(shown.join(QLatin1Char('|'))));
    QTest::keyClick(FCombo->view(), Qt::Key_Escape);
    QTRY_VERIFY(!FCombo->view()->isVisible());

    QTest::keyClick(FCombo, Qt::Key_Tab);
    QTRY_COMPARE(shown, QStringList{"本项是必填项！"});
    QTest::qWait(200);
    QCOMPARE(shown, QStringList{"本项是必填项！"});
    // The form's focus is back on the control once the box has gone.
    QCOMPARE(FForm->focusWidget(), FCombo);
    closer.stop();
    SetMessageHandler(nullptr);
}

void TestQVComboBox::OverlayEditTakesTheControlsTabPlace()
{
    auto *before = new QLineEdit(FForm.get());
    auto *after = new QLineEdit(FForm.get());
    QWidget::setTabOrder(before, FCombo);
    QWidget::setTabOrder(FCombo, after);
    Fill(25);
    FForm->show();
    QVERIFY(QTest::qWaitForWindowActive(FForm.get()));
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), FCombo->OverlayEdit());
    QTest::keyClick(FCombo->OverlayEdit(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), after);
    QTest::keyClick(after, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), FCombo->OverlayEdit());
    QTest::keyClick(FCombo->OverlayEdit(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), before);
}

QTEST_MAIN(TestQVComboBox)
#include "tst_QVComboBox.moc"
