#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "ExamScreenFixture.h"
#include "UAnswerSheetPanel.h"
#include "UExamWidgets.h"
#include "UQuery.h"

// The exam screen's layout, the question on show and the ways from one
// question to another.

class TestUMain : public TExamScreenTest
{
    Q_OBJECT

private slots:
    void ScreenLayout();
    void QuestionDisplay();
    void LongQuestionMakesRoomAndIsCut();
    void NavigationByButtonsKeysAndSheet();
    void LargePaperSheetScrolls();
    void BrokenPictureIsReportedAfterTheText();
    void AnswerSheetButtonsShowNoFaceOrHover();
};

void TestUMain::ScreenLayout()
{
    auto form = std::make_unique<TFrmMain>();
    QCOMPARE(FAnswerer->LicenceDialogs, 1);
    const TExamScreen ui(*form);
    form->show();
    QVERIFY(!ui.Panel3->isEnabled());
    QCOMPARE(form->size(), QSize(1022, 683));
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(form->windowTitle(), QStringLiteral("Examora"));
    QCOMPARE(form->palette().color(QPalette::Window), QColor(234, 238, 244));
    QCOMPARE(ui.LabCylb->text(), QStringLiteral("小型汽车（C1、C2、C3、C4）"));

    const auto at = [&](QWidget *widget) { return QRect(widget->mapTo(form.get(), QPoint(0, 0)), widget->size()); };
    QCOMPARE(at(ui.Label5).topLeft(), QPoint(4, 54 + 62));
    QCOMPARE(at(ui.LabCylb), QRect(32, 54 + 87, 180, 50));
    QCOMPARE(at(ui.LabTime).topLeft(), QPoint(25, 54 + 209));
    QCOMPARE(at(ui.Label2).topLeft(), QPoint(6, 54 + 291));
    QCOMPARE(at(ui.Panel1), QRect(0, 54 + 309, 218, 320));
    QCOMPARE(at(ui.LabContent).topLeft(), QPoint(218 + 30, 54 + 51));
    QCOMPARE(at(ui.ImgTheme), QRect(218 + 487, 54 + 146, 318, 223));
    QCOMPARE(at(ui.Panel5), QRect(218 + 32, 54 + 157, 454, 334));
    QCOMPARE(at(ui.Panel3), QRect(218, 683 - 106, 804, 106));
    QCOMPARE(at(ui.SpeedButton5), QRect(1022 - 173, 683 - 106, 173, 38));
    for (QWidget *button : {ui.SpeedButton1, ui.SpeedButton2, ui.SpeedButton3})
        QCOMPARE(button->size(), QSize(86, 23));
    QCOMPARE(ui.LabB->toolTip(), QStringLiteral("单击本项，选择答案2。"));

    QStringList words;
    for (const TPicture *picture : form->findChildren<TPicture *>())
        words << picture->Word();
    for (const TFaceButton *button : form->findChildren<TFaceButton *>())
        words << button->accessibleName();
    for (const char *word :
         {"考生信息", "计时", "快速选题", "试题信息", "答题区", "答案：", "← 上一题", "→ 下一题", "✓ 交卷", "退出系统"})
        QVERIFY2(words.contains(QString::fromUtf8(word)), word);
    // Before the paper is loaded the close box ends the program.
    QVERIFY(form->close());
}

void TestUMain::QuestionDisplay()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    QVERIFY(ui.Label2->isVisible());
    QVERIFY(ui.Panel9->isVisible());
    QVERIFY(!ui.Label1->isVisible());
    QCOMPARE(ui.LabContent->text(), QStringLiteral("    1、路口黄灯闪烁时应减速。"));
    QCOMPARE(ui.LabType->text(), QStringLiteral("（本题为 判断）"));
    QCOMPARE(ui.LabType->size(), QSize(241, 15));
    QCOMPARE(ui.LabType->y(), ui.LabContent->geometry().bottom() + 1 + 12);
    QCOMPARE(ui.LabA->text(), QStringLiteral("1、正确"));
    QCOMPARE(ui.LabB->text(), QStringLiteral("2、错误"));
    for (QLabel *label : {ui.LabC, ui.LabD, ui.LabE}) {
        QVERIFY(label->isHidden());
        QVERIFY(label->text().isEmpty());
    }
    QVERIFY(!ui.ImgTheme->pixmap().isNull());
    QCOMPARE(QApplication::focusWidget(), ui.Edit1);
    const int oneLineTypeTop = ui.LabType->y();

    QTest::mouseClick(ui.SpeedButton2, Qt::LeftButton);
    QVERIFY(ui.ImgTheme->pixmap().isNull());
    QCOMPARE(ui.LabType->text(), QStringLiteral("（本题为 单选）"));

    QTest::mouseClick(ui.SpeedButton2, Qt::LeftButton);
    // Option 3 is empty: 1, 2 and 4 are offered and the gap stays.
    QVERIFY(ui.LabC->isHidden());
    QCOMPARE(ui.LabD->text(), QStringLiteral("4、丁"));
    QCOMPARE(ui.LabD->y(), ui.LabC->y() + ui.LabC->height() + 12);
    QCOMPARE(ui.LabC->height(), ui.LabC->fontMetrics().height());

    QTest::mouseClick(ui.SpeedButton2, Qt::LeftButton);
    QCOMPARE(ui.LabType->text(), QStringLiteral("（本题为 多选）"));
    QVERIFY(ui.LabType->y() > oneLineTypeTop);
    QCOMPARE(ui.LabType->y(), ui.LabContent->geometry().bottom() + 1 + 12);
    QCOMPARE(ui.LabA->y(), 0);
    QCOMPARE(ui.LabE->text(), QStringLiteral("5、戊"));
}

void TestUMain::LongQuestionMakesRoomAndIsCut()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    QCOMPARE(ui.Panel5->y(), 157);
    const auto showContent = [&ui](const QString &content) {
        ui.AQry->Edit();
        ui.AQry->FieldByName(QStringLiteral("ThemeContent"))->SetAsString(content);
        ui.AQry->Post();
        // Away and back shows the question again.
        QTest::mouseClick(ui.SpeedButton2, Qt::LeftButton);
        QTest::mouseClick(ui.SpeedButton1, Qt::LeftButton);
    };
    const auto checkLayout = [&ui] {
        // Nothing overlaps: question, type line, options and picture in turn,
        // and the options end where the design has them end.
        QVERIFY(ui.LabType->y() > ui.LabContent->geometry().bottom());
        QVERIFY(ui.Panel5->y() > ui.LabType->geometry().bottom());
        QVERIFY(ui.ImgTheme->y() > ui.LabContent->geometry().bottom());
        QCOMPARE(ui.Panel5->geometry().bottom() + 1, 157 + 334);
        QVERIFY(ui.ImgTheme->geometry().bottom() < ui.Panel3->y());
    };
    showContent(KLongText + KLongText);
    checkLayout();
    QVERIFY(ui.Panel5->y() > 157);
    QVERIFY(ui.LabContent->text().endsWith(KLongText));

    // A question of 100,000 characters is cut to what the screen can hold.
    showContent(QString(100000, QChar(0x9053)));
    checkLayout();
    QVERIFY(ui.LabContent->height() <= 220);
    QVERIFY(ui.LabContent->text().endsWith(QStringLiteral("道……")));
    QVERIFY(ui.Panel5->height() >= 5 * ui.LabA->fontMetrics().height());

    showContent(QStringLiteral("路口黄灯闪烁时应减速。"));
    QCOMPARE(ui.Panel5->y(), 157);
    QCOMPARE(ui.ImgTheme->y(), 146);
}

void TestUMain::NavigationByButtonsKeysAndSheet()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    QTest::mouseClick(ui.SpeedButton1, Qt::LeftButton);
    QCOMPARE(CurrentId(*form), 1);
    QTest::keyClick(ui.Edit1, Qt::Key_PageDown);
    QCOMPARE(CurrentId(*form), 2);
    QCOMPARE(ui.LabContent->text().trimmed().left(2), QStringLiteral("2、"));
    QTest::keyClick(ui.Edit1, Qt::Key_Down);
    QCOMPARE(CurrentId(*form), 3);
    QTest::keyClick(ui.Edit1, Qt::Key_Up);
    QTest::keyClick(ui.Edit1, Qt::Key_PageUp);
    QCOMPARE(CurrentId(*form), 1);
    QTest::keyClick(ui.Edit1, Qt::Key_Return);
    QCOMPARE(CurrentId(*form), 1);
    QTest::keyClicks(ui.Edit1, "2");
    QTest::keyClick(ui.Edit1, Qt::Key_Return);
    QCOMPARE(CurrentId(*form), 2);
    QTest::mouseClick(SheetButton(*form, 4), Qt::LeftButton);
    QCOMPARE(CurrentId(*form), 4);
    QTest::mouseClick(ui.SpeedButton2, Qt::LeftButton);
    QCOMPARE(CurrentId(*form), 4);
    QCOMPARE(ui.LabContent->text().trimmed().left(2), QStringLiteral("4、"));
    QTest::mouseClick(ui.SpeedButton1, Qt::LeftButton);
    QCOMPARE(CurrentId(*form), 3);
    // Keys reach the window also when the focus is elsewhere in it, once each.
    ui.SpeedButton5->setFocusPolicy(Qt::StrongFocus);
    ui.SpeedButton5->setFocus();
    QTest::keyClick(ui.SpeedButton5, Qt::Key_PageUp);
    QCOMPARE(CurrentId(*form), 2);
}

void TestUMain::LargePaperSheetScrolls()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    // Rebuild the sheet as a 200-question paper would have it.
    ui.Panel1->Build(200);
    QVERIFY(ui.Panel1->verticalScrollBar()->isVisible() || ui.Panel1->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn);
    QPushButton *last = SheetButton(*form, 200);
    QVERIFY(last);
    QVERIFY(last->geometry().right() < ui.Panel1->viewport()->width());
    ui.Panel1->ensureWidgetVisible(last);
    QVERIFY(ui.Panel1->viewport()->rect().contains(QRect(last->mapTo(ui.Panel1->viewport(), QPoint(0, 0)), last->size())));
}

void TestUMain::BrokenPictureIsReportedAfterTheText()
{
    FBank->Exec("update T_KS_THEME set ThemeImage=X'FFD8FF0011' where ThemeID=2");
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    QVERIFY(!ui.ImgTheme->pixmap().isNull());
    ui.Edit1->clearFocus();
    // While the error is up, the first question's picture is already gone
    // and the second question's text and options are on the screen.
    bool pictureGone = false;
    QString textUnderBox;
    FMessages->WhileOpen = [&](const TMessageRequest &) {
        pictureGone = ui.ImgTheme->pixmap().isNull();
        textUnderBox = ui.LabContent->text().trimmed().left(2);
    };
    QTest::mouseClick(ui.SpeedButton2, Qt::LeftButton);
    QCOMPARE(FMessages->Count(), 1);
    QCOMPARE(FMessages->Last().Caption, QStringLiteral("Examora"));
    QVERIFY(FMessages->Last().Text.startsWith(QStringLiteral("JPEG")));
    QVERIFY(pictureGone);
    QCOMPARE(textUnderBox, QStringLiteral("2、"));
    QCOMPARE(CurrentId(*form), 2);
    QCOMPARE(ui.LabD->text(), QStringLiteral("4、丁"));
    QVERIFY(ui.ImgTheme->pixmap().isNull());
    QVERIFY(ui.Edit1->hasFocus());
    // The question is answered as any other.
    QTest::keyClicks(ui.Edit1, "2");
    QCOMPARE(Stored(2, "AnswerResult").toString(), QStringLiteral("2"));
    QTest::mouseClick(ui.SpeedButton1, Qt::LeftButton);
    QVERIFY(!ui.ImgTheme->pixmap().isNull());
}

void TestUMain::AnswerSheetButtonsShowNoFaceOrHover()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    QPushButton *button = SheetButton(*form, 3);
    QVERIFY(button->isFlat());
    const QRect place = button->geometry();
    const auto sheetAt = [button, place] { return button->parentWidget()->grab(place).toImage(); };
    // Away from the caption the sheet's own picture shows through.
    button->hide();
    const QImage bare = sheetAt();
    button->show();
    const QImage plain = sheetAt();
    for (const QPoint corner : {QPoint(1, 1), QPoint(place.width() - 2, place.height() - 2)})
        QCOMPARE(plain.pixelColor(corner), bare.pixelColor(corner));
    QTest::mouseMove(button, QPoint(place.width() / 2, place.height() / 2));
    QTRY_VERIFY(button->underMouse());
    QCOMPARE(sheetAt(), plain);
}

QTEST_MAIN(TestUMain)
#include "tst_UMain.moc"
