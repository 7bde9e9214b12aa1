#include <memory>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include "app/UApplication.h"
#include "app/UComm.h"
#include "app/UJpeg.h"
#include "app/UQuery.h"
#include "app/UQuit.h"
#include "exam/UExamRules.h"
#include "exam/UExamWidgets.h"
#include "exam/UMain.h"
#include "report/UFrPreview.h"
#include "tests/common/TestSupport.h"

namespace {

const QString KConfirm = QStringLiteral("交卷后系统将关闭答题功能，确定要交卷吗？");
const QString KLongText = QStringLiteral("驾驶机动车在道路上行驶，遇到前方路口交通信号灯为黄灯持续闪烁、"
                                         "路口没有交通警察指挥、两侧都有行人和非机动车正在通过时，"
                                         "驾驶人应当怎样做才能确保安全并且符合道路交通安全法律法规的要求？");

// Answers the set-up dialogs the exam screen opens while it is created and
// closes the result-sheet preview, as a candidate would.
class TDialogAnswerer : public QObject
{
public:
    TDialogAnswerer()
    {
        connect(&FTimer, &QTimer::timeout, this, &TDialogAnswerer::Poll);
        FTimer.start(10);
    }
    int LicenceDialogs = 0;
    int Previews = 0;
    int PreviewPages = 0;

private:
    void Poll()
    {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        if (dialog->objectName() == QLatin1String("FrmXtglLogin")) {
            ++LicenceDialogs;
            dialog->findChild<QAbstractButton *>(QStringLiteral("SpeedButton1"))->click();
        } else if (dialog->objectName() == QLatin1String("FrmSelLxType")) {
            // The mock exam; each test sets the mode it needs afterwards.
            if (auto *mockExam = dialog->findChild<QAbstractButton *>(QStringLiteral("RadioButton3")))
                mockExam->click();
            if (auto *ok = dialog->findChild<QAbstractButton *>(QStringLiteral("BitBtn1")))
                ok->click();
        } else if (QByteArray(dialog->metaObject()->className()) == "TPreForm") {
            ++Previews;
            if (const auto *pages = dialog->findChild<TfrPreview *>())
                PreviewPages = pages->AllPages();
            dialog->done(1);
        }
    }
    QTimer FTimer;
};

// Four questions of chapter 1, set "01", in the order the template draws
// them: a true/false question with a picture, two single choices (the
// second without option 3) and a multiple choice with a long text.
void FillBank(TTestBank &bank)
{
    QImage picture(64, 48, QImage::Format_RGB888);
    picture.fill(QColor(30, 120, 200));
    bank.AddTheme(1, {{"ThemeType", 1}, {"ThemeContent", "路口黄灯闪烁时应减速。"}, {"ThemeSpareA", "正确"},
                      {"ThemeSpareB", "错误"}, {"ThemeSpareC", ""}, {"ThemeSpareD", ""}, {"ThemeResult", "1"},
                      {"ThemeImage", EncodeJpeg(picture)}, {"TT", "01"}});
    bank.AddTheme(2, {{"ThemeType", 2}, {"ThemeResult", "2"}, {"TT", "01"}});
    bank.AddTheme(3, {{"ThemeType", 2}, {"ThemeSpareC", ""}, {"ThemeResult", "4"}, {"TT", "01"}});
    bank.AddTheme(4, {{"ThemeType", 3}, {"ThemeContent", KLongText}, {"ThemeSpareE", "戊"}, {"ThemeResult", "135"},
                      {"TT", "01"}});
    bank.AddModel(1, "001", 1, 45);
    bank.AddContent(1, 1, 1, 1, 1, 1, 25, 25);
    bank.AddContent(1, 1, 1, 2, 2, 2, 25, 50);
    bank.AddContent(1, 1, 1, 3, 1, 1, 25, 25);
}

QString PaperTable()
{
    return IsPracticeMode(RunContext.PracticeMode) ? QStringLiteral("T_KS_ExamineTheme_TT")
                                                   : QStringLiteral("T_KS_ExamineTheme");
}

} // namespace

class TestUMain : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void ScreenLayout();
    void QuestionDisplay();
    void LongQuestionMakesRoomAndIsCut();
    void AnswersByClickAndTyping();
    void ValiditySelectorAndSheetColours();
    void NavigationByButtonsKeysAndSheet();
    void PracticeFeedback();
    void ChapterPracticeHasNoSheet();
    void HandInMockExamAndReview();
    void HandInCancelledGoesOn();
    void HandInSetPracticeShowsResultSheet();
    void HandInChapterPractice();
    void ClockCountsDownAndHandsInAtZero();
    void TimeOutDuringConfirmationHandsInOnce();
    void TimeOutClosesTheOpenConfirmationBox();
    void LargePaperSheetScrolls();
    void BrokenPictureIsReportedAfterTheText();
    void ClearedAnswerIsStoredAsEmptyText();
    void AnswerSheetButtonsShowNoFaceOrHover();
    void WholeMockExamThroughTheForms();

private:
    std::unique_ptr<TFrmMain> OpenExam(const QString &mode, const QString &scope = QString());
    QVariant Stored(TFrmMain &form, int id, const char *column);
    QPushButton *SheetButton(TFrmMain &form, int number);
    int CurrentId(TFrmMain &form) { return form.AQry->FieldByName("ID")->AsInteger(); }
    void GoTo(TFrmMain &form, int id);

    std::unique_ptr<TTestBank> FBank;
    std::unique_ptr<TScriptedMessages> FMessages;
    std::unique_ptr<TDialogAnswerer> FAnswerer;
};

void TestUMain::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestUMain::init()
{
    RunContext = TRunContext();
    ResetQuitRequestForTesting();
    FBank = std::make_unique<TTestBank>();
    FillBank(*FBank);
    FMessages = std::make_unique<TScriptedMessages>();
    FAnswerer = std::make_unique<TDialogAnswerer>();
}

void TestUMain::cleanup()
{
    FAnswerer.reset();
    FMessages.reset();
    FBank.reset();
}

std::unique_ptr<TFrmMain> TestUMain::OpenExam(const QString &mode, const QString &scope)
{
    auto form = std::make_unique<TFrmMain>();
    RunContext.PracticeMode = mode;
    RunContext.PracticeScope = scope;
    form->show();
    form->activateWindow();
    if (!QTest::qWaitFor([&] { return form->Panel3->isEnabled(); }, 10000) || !QTest::qWaitForWindowActive(form.get()))
        return nullptr;
    form->Timer1->stop();
    return form;
}

QVariant TestUMain::Stored(TFrmMain &form, int id, const char *column)
{
    QSqlQuery query(FBank->Db());
    query.prepare(QStringLiteral("select %1 from %2 where ExamineID=? and ID=?").arg(column, PaperTable()));
    query.addBindValue(form.FExamineID);
    query.addBindValue(id);
    if (!query.exec() || !query.next())
        return QStringLiteral("<no row>");
    return query.value(0);
}

QPushButton *TestUMain::SheetButton(TFrmMain &form, int number)
{
    return form.findChild<QPushButton *>(QStringLiteral("AutoBtn%1").arg(number));
}

void TestUMain::GoTo(TFrmMain &form, int id)
{
    form.AnswerSheetClick(SheetButton(form, id));
    QCOMPARE(CurrentId(form), id);
}

void TestUMain::ScreenLayout()
{
    auto form = std::make_unique<TFrmMain>();
    QCOMPARE(FAnswerer->LicenceDialogs, 1);
    form->show();
    QVERIFY(!form->Panel3->isEnabled());
    QCOMPARE(form->size(), QSize(1022, 683));
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(form->windowTitle(), QStringLiteral("Examora"));
    QCOMPARE(form->palette().color(QPalette::Window), QColor(234, 238, 244));
    QCOMPARE(form->LabCylb->text(), QStringLiteral("小型汽车（C1、C2、C3、C4）"));

    const auto at = [&](QWidget *widget) { return QRect(widget->mapTo(form.get(), QPoint(0, 0)), widget->size()); };
    QCOMPARE(at(form->Label5).topLeft(), QPoint(4, 54 + 62));
    QCOMPARE(at(form->LabCylb), QRect(32, 54 + 87, 180, 50));
    QCOMPARE(at(form->LabTime).topLeft(), QPoint(25, 54 + 209));
    QCOMPARE(at(form->Label2).topLeft(), QPoint(6, 54 + 291));
    QCOMPARE(at(form->Panel1), QRect(0, 54 + 309, 218, 320));
    QCOMPARE(at(form->LabContent).topLeft(), QPoint(218 + 30, 54 + 51));
    QCOMPARE(at(form->ImgTheme), QRect(218 + 487, 54 + 146, 318, 223));
    QCOMPARE(at(form->Panel5), QRect(218 + 32, 54 + 157, 454, 334));
    QCOMPARE(at(form->Panel3), QRect(218, 683 - 106, 804, 106));
    QCOMPARE(at(form->SpeedButton5), QRect(1022 - 173, 683 - 106, 173, 38));
    for (QWidget *button : {form->SpeedButton1, form->SpeedButton2, form->SpeedButton3})
        QCOMPARE(button->size(), QSize(86, 23));
    QCOMPARE(form->LabB->toolTip(), QStringLiteral("单击本项，选择答案2。"));

    QStringList words;
    for (const TPicture *picture : form->findChildren<TPicture *>())
        words << picture->Word();
    for (const TFaceButton *button : form->findChildren<TFaceButton *>())
        words << button->accessibleName();
    for (const char *word : {"考生信息", "计时", "快速选题", "试题信息", "答题区", "答案：", "← 上一题", "→ 下一题",
                             "✓ 交卷", "退出系统"})
        QVERIFY2(words.contains(QString::fromUtf8(word)), word);
    // Before the paper is loaded the close box ends the program.
    QVERIFY(form->close());
}

void TestUMain::QuestionDisplay()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    QVERIFY(form->Label2->isVisible());
    QVERIFY(form->Panel9->isVisible());
    QVERIFY(!form->Label1->isVisible());
    QCOMPARE(form->LabContent->text(), QStringLiteral("    1、路口黄灯闪烁时应减速。"));
    QCOMPARE(form->LabType->text(), QStringLiteral("（本题为 判断）"));
    QCOMPARE(form->LabType->size(), QSize(241, 15));
    QCOMPARE(form->LabType->y(), form->LabContent->geometry().bottom() + 1 + 12);
    QCOMPARE(form->LabA->text(), QStringLiteral("1、正确"));
    QCOMPARE(form->LabB->text(), QStringLiteral("2、错误"));
    for (QLabel *label : {form->LabC, form->LabD, form->LabE}) {
        QVERIFY(label->isHidden());
        QVERIFY(label->text().isEmpty());
    }
    QVERIFY(!form->ImgTheme->pixmap().isNull());
    QCOMPARE(QApplication::focusWidget(), form->Edit1);
    const int oneLineTypeTop = form->LabType->y();

    form->SpeedButton2Click();
    QVERIFY(form->ImgTheme->pixmap().isNull());
    QCOMPARE(form->LabType->text(), QStringLiteral("（本题为 单选）"));

    form->SpeedButton2Click();
    // Option 3 is empty: 1, 2 and 4 are offered and the gap stays.
    QVERIFY(form->LabC->isHidden());
    QCOMPARE(form->LabD->text(), QStringLiteral("4、丁"));
    QCOMPARE(form->LabD->y(), form->LabC->y() + form->LabC->height() + 12);
    QCOMPARE(form->LabC->height(), form->LabC->fontMetrics().height());

    form->SpeedButton2Click();
    QCOMPARE(form->LabType->text(), QStringLiteral("（本题为 多选）"));
    QVERIFY(form->LabType->y() > oneLineTypeTop);
    QCOMPARE(form->LabType->y(), form->LabContent->geometry().bottom() + 1 + 12);
    QCOMPARE(form->LabA->y(), 0);
    QCOMPARE(form->LabE->text(), QStringLiteral("5、戊"));
}

void TestUMain::LongQuestionMakesRoomAndIsCut()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    QCOMPARE(form->Panel5->y(), 157);
    const auto showContent = [&form](const QString &content) {
        form->AQry->Edit();
        form->AQry->FieldByName(QStringLiteral("ThemeContent"))->SetAsString(content);
        form->AQry->Post();
        form->ShowQuestion();
    };
    const auto checkLayout = [&form] {
        // Nothing overlaps: question, type line, options and picture in turn,
        // and the options end where the design has them end.
        QVERIFY(form->LabType->y() > form->LabContent->geometry().bottom());
        QVERIFY(form->Panel5->y() > form->LabType->geometry().bottom());
        QVERIFY(form->ImgTheme->y() > form->LabContent->geometry().bottom());
        QCOMPARE(form->Panel5->geometry().bottom() + 1, 157 + 334);
        QVERIFY(form->ImgTheme->geometry().bottom() < form->Panel3->y());
    };
    showContent(KLongText + KLongText);
    checkLayout();
    QVERIFY(form->Panel5->y() > 157);
    QVERIFY(form->LabContent->text().endsWith(KLongText));

    // A question of 100,000 characters is cut to what the screen can hold.
    showContent(QString(100000, QChar(0x9053)));
    checkLayout();
    QVERIFY(form->LabContent->height() <= 220);
    QVERIFY(form->LabContent->text().endsWith(QStringLiteral("道……")));
    QVERIFY(form->Panel5->height() >= 5 * form->LabA->fontMetrics().height());

    showContent(QStringLiteral("路口黄灯闪烁时应减速。"));
    QCOMPARE(form->Panel5->y(), 157);
    QCOMPARE(form->ImgTheme->y(), 146);
}

void TestUMain::AnswersByClickAndTyping()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    GoTo(*form, 4);
    const QList<std::pair<QLabel *, QString>> clicks{{form->LabC, "3"}, {form->LabA, "13"}, {form->LabE, "135"}};
    for (const auto &[label, expected] : clicks) {
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(Stored(*form, 4, "AnswerResult").toString(), expected);
    }
    QCOMPARE(form->Edit1->text(), QStringLiteral("315"));
    QCOMPARE(Stored(*form, 4, "Yxx_St").toString(), QStringLiteral("0"));
    QVERIFY(SheetButton(*form, 4)->font().bold());
    QCOMPARE(SheetButton(*form, 4)->palette().color(QPalette::ButtonText), QColor(3, 150, 0));
    // A repeated choice clears the whole answer.
    QTest::mouseClick(form->LabA, Qt::LeftButton);
    QCOMPARE(form->Edit1->text(), QString());
    QCOMPARE(Stored(*form, 4, "AnswerResult").toString(), QString());
    QCOMPARE(Stored(*form, 4, "Yxx_St").toString(), QString());
    QVERIFY(!SheetButton(*form, 4)->font().bold());
    QCOMPARE(SheetButton(*form, 4)->palette().color(QPalette::ButtonText), QColor(102, 102, 102));

    GoTo(*form, 2);
    QTest::keyClick(form->Edit1, Qt::Key_1);
    QCOMPARE(Stored(*form, 2, "AnswerResult").toString(), QStringLiteral("1"));
    QTest::keyClick(form->Edit1, Qt::Key_2);
    QCOMPARE(form->Edit1->text(), QString());
    QCOMPARE(Stored(*form, 2, "AnswerResult").toString(), QString());
    QTest::keyClick(form->Edit1, Qt::Key_2);
    QCOMPARE(Stored(*form, 2, "AnswerResult").toString(), QStringLiteral("2"));
    form->Edit1->clear();
    QTest::keyClicks(form->Edit1, "6");
    QCOMPARE(Stored(*form, 2, "AnswerResult").toString(), QString());
    // A click on a single choice replaces the entry.
    QTest::mouseClick(form->LabD, Qt::LeftButton);
    QTest::mouseClick(form->LabB, Qt::LeftButton);
    QCOMPARE(form->Edit1->text(), QStringLiteral("2"));
    QCOMPARE(Stored(*form, 2, "AnswerResult").toString(), QStringLiteral("2"));

    GoTo(*form, 3);
    QTest::keyClicks(form->Edit1, "3");
    QCOMPARE(form->Edit1->text(), QString());
    QTest::keyClicks(form->Edit1, "4");
    QCOMPARE(Stored(*form, 3, "AnswerResult").toString(), QStringLiteral("4"));

    GoTo(*form, 1);
    QTest::keyClicks(form->Edit1, "3");
    QCOMPARE(Stored(*form, 1, "AnswerResult").toString(), QString());
    QTest::keyClicks(form->Edit1, " 1 ");
    QCOMPARE(Stored(*form, 1, "AnswerResult").toString(), QStringLiteral("1"));
    QCOMPARE(form->Edit1->cursorPosition(), 1);

    // At most five characters can be typed.
    GoTo(*form, 4);
    QTest::keyClicks(form->Edit1, "543217");
    QCOMPARE(form->Edit1->text(), QStringLiteral("54321"));
    QCOMPARE(Stored(*form, 4, "AnswerResult").toString(), QStringLiteral("12345"));
}

void TestUMain::ValiditySelectorAndSheetColours()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    GoTo(*form, 2);
    QTest::keyClick(form->Edit1, Qt::Key_End);
    QCOMPARE(form->RGYxx->ItemIndex(), 1);
    QCOMPARE(Stored(*form, 2, "Yxx_St").toString(), QString());
    QCOMPARE(SheetButton(*form, 2)->palette().color(QPalette::ButtonText), QColor(102, 102, 102));
    QTest::keyClicks(form->Edit1, "2");
    QCOMPARE(Stored(*form, 2, "Yxx_St").toString(), QStringLiteral("1"));
    QCOMPARE(SheetButton(*form, 2)->palette().color(QPalette::ButtonText), QColor(255, 25, 0));
    QTest::keyClick(form->Edit1, Qt::Key_Home);
    QCOMPARE(Stored(*form, 2, "Yxx_St").toString(), QStringLiteral("0"));
    QCOMPARE(SheetButton(*form, 2)->palette().color(QPalette::ButtonText), QColor(3, 150, 0));
    QTest::mouseClick(form->RGYxx->Item(1), Qt::LeftButton);
    QCOMPARE(Stored(*form, 2, "Yxx_St").toString(), QStringLiteral("1"));

    // To an unanswered row: the selector returns to certain and writes the empty flag.
    QVERIFY(Stored(*form, 3, "Yxx_St").isNull());
    GoTo(*form, 3);
    QCOMPARE(form->RGYxx->ItemIndex(), 0);
    QCOMPARE(Stored(*form, 3, "Yxx_St"), QVariant(QString()));
    QCOMPARE(form->Edit1->text(), QString());
    GoTo(*form, 2);
    QCOMPARE(form->RGYxx->ItemIndex(), 1);
    QCOMPARE(form->Edit1->text(), QStringLiteral("2"));
    QCOMPARE(Stored(*form, 2, "AnswerResult").toString(), QStringLiteral("2"));
}

void TestUMain::NavigationByButtonsKeysAndSheet()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    QTest::mouseClick(form->SpeedButton1, Qt::LeftButton);
    QCOMPARE(CurrentId(*form), 1);
    QTest::keyClick(form->Edit1, Qt::Key_PageDown);
    QCOMPARE(CurrentId(*form), 2);
    QCOMPARE(form->LabContent->text().trimmed().left(2), QStringLiteral("2、"));
    QTest::keyClick(form->Edit1, Qt::Key_Down);
    QCOMPARE(CurrentId(*form), 3);
    QTest::keyClick(form->Edit1, Qt::Key_Up);
    QTest::keyClick(form->Edit1, Qt::Key_PageUp);
    QCOMPARE(CurrentId(*form), 1);
    QTest::keyClick(form->Edit1, Qt::Key_Return);
    QCOMPARE(CurrentId(*form), 1);
    QTest::keyClicks(form->Edit1, "2");
    QTest::keyClick(form->Edit1, Qt::Key_Return);
    QCOMPARE(CurrentId(*form), 2);
    QTest::mouseClick(SheetButton(*form, 4), Qt::LeftButton);
    QCOMPARE(CurrentId(*form), 4);
    QTest::mouseClick(form->SpeedButton2, Qt::LeftButton);
    QCOMPARE(CurrentId(*form), 4);
    QCOMPARE(form->LabContent->text().trimmed().left(2), QStringLiteral("4、"));
    QTest::mouseClick(form->SpeedButton1, Qt::LeftButton);
    QCOMPARE(CurrentId(*form), 3);
    // Keys reach the window also when the focus is elsewhere in it, once each.
    form->SpeedButton5->setFocusPolicy(Qt::StrongFocus);
    form->SpeedButton5->setFocus();
    QTest::keyClick(form->SpeedButton5, Qt::Key_PageUp);
    QCOMPARE(CurrentId(*form), 2);
}

void TestUMain::PracticeFeedback()
{
    auto form = OpenExam("1", "01");
    QVERIFY(form);
    QVERIFY(SheetButton(*form, 4));
    QVERIFY(form->Label2->isHidden());
    QVERIFY(form->Panel9->isHidden());
    QVERIFY(form->Label1->isHidden());
    QCOMPARE(form->Label1->text(), QStringLiteral("很遗憾，答错了，正确答案：1"));
    GoTo(*form, 4);
    for (QLabel *label : {form->LabC, form->LabA, form->LabE})
        QTest::mouseClick(label, Qt::LeftButton);
    QVERIFY(form->Label1->isVisible());
    QCOMPARE(form->Label1->text(), QStringLiteral("恭喜你答对了，正确答案：135"));
    QCOMPARE(Stored(*form, 4, "AnswerResult").toString(), QStringLiteral("135"));
    QTest::mouseClick(form->LabB, Qt::LeftButton);
    QCOMPARE(form->Label1->text(), QStringLiteral("很遗憾，答错了，正确答案：135"));
    form->SpeedButton1Click();
    QVERIFY(form->Label1->isHidden());
}

void TestUMain::ChapterPracticeHasNoSheet()
{
    auto form = OpenExam("2", "1");
    QVERIFY(form);
    QVERIFY(!SheetButton(*form, 1));
    QVERIFY(form->Label2->isHidden());
    QVERIFY(form->Panel9->isHidden());
    QTest::keyClicks(form->Edit1, "1");
    QCOMPARE(Stored(*form, 1, "AnswerResult").toString(), QStringLiteral("1"));
    QCOMPARE(form->Label1->text(), QStringLiteral("恭喜你答对了，正确答案：1"));
    QCOMPARE(form->FExamMinutes, 480);
}

void TestUMain::HandInMockExamAndReview()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    QTest::keyClicks(form->Edit1, "1");
    form->SpeedButton2Click();
    QTest::keyClick(form->Edit1, Qt::Key_End);
    QTest::keyClicks(form->Edit1, "3");

    // While answering the window refuses to close, by every way.
    QVERIFY(!form->close());
    QTest::keyClick(form->Edit1, Qt::Key_Escape);
    QTest::mouseClick(form->SpeedButton5, Qt::LeftButton);
    QVERIFY(form->isVisible());

    FMessages->Answer(1);
    FMessages->Answer(2);
    QTest::keyClick(form->Edit1, Qt::Key_Insert);
    QCOMPARE(FMessages->Count(), 2);
    QCOMPARE(FMessages->Shown()[0].Text, KConfirm);
    QCOMPARE(FMessages->Shown()[0].Buttons, TMsgButtons::OkCancel);
    QCOMPARE(FMessages->Shown()[1].Text,
             QStringLiteral("本次答题共正确 1 道，错误 3 道，得分 25 分。\r是否需要查询答题信息？"));
    QCOMPARE(FAnswerer->Previews, 0);
    QCOMPARE(FBank->Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 0);
    QCOMPARE(RunContext.RightCount, 1);
    QVERIFY(form->Label1->isVisible());
    QCOMPARE(form->Label1->text(), QStringLiteral("正确答案：2"));

    // Review: the stored answers are shown, nothing can be changed or written.
    QVERIFY(form->Edit1->isReadOnly());
    QVERIFY(!form->RGYxx->isEnabled());
    QTest::mouseClick(form->LabA, Qt::LeftButton);
    QCOMPARE(form->Edit1->text(), QStringLiteral("3"));
    form->SpeedButton1Click();
    QCOMPARE(form->Edit1->text(), QStringLiteral("1"));
    QCOMPARE(form->Label1->text(), QStringLiteral("正确答案：1"));
    QTest::keyClick(form->Edit1, Qt::Key_End);
    QCOMPARE(form->RGYxx->ItemIndex(), 0);
    GoTo(*form, 2);
    QCOMPARE(form->RGYxx->ItemIndex(), 1);
    GoTo(*form, 3);
    QCOMPARE(FBank->Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 0);
    QTest::keyClick(form->Edit1, Qt::Key_Insert);
    QTest::mouseClick(form->SpeedButton3, Qt::LeftButton);
    QCOMPARE(FMessages->Count(), 2);

    QTest::keyClick(form->Edit1, Qt::Key_Escape);
    QVERIFY(!form->isVisible());
}

void TestUMain::HandInCancelledGoesOn()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    FMessages->Answer(2);
    QTest::mouseClick(form->SpeedButton3, Qt::LeftButton);
    QCOMPARE(FMessages->Count(), 1);
    QVERIFY(form->FAnswering);
    QVERIFY(!form->Edit1->isReadOnly());
    QCOMPARE(FBank->Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 4);
    QTest::keyClicks(form->Edit1, "2");
    QCOMPARE(Stored(*form, 1, "AnswerResult").toString(), QStringLiteral("2"));
}

void TestUMain::HandInSetPracticeShowsResultSheet()
{
    auto form = OpenExam("1", "01");
    QVERIFY(form);
    QTest::keyClicks(form->Edit1, "1");
    GoTo(*form, 3);
    QTest::keyClicks(form->Edit1, "2");
    FMessages->SetDefaultAnswer(1);
    form->SpeedButton3Click();
    QVERIFY(FMessages->Shown()[1].Text.startsWith(QStringLiteral("本次答题共正确 1 道，错误 3 道，得分 ")));
    QCOMPARE(FAnswerer->Previews, 1);
    QCOMPARE(FBank->Scalar("select count(*) from T_KS_ExamineTheme_TT").toInt(), 0);
    // The sheet's rows carry the verdict as their OTZ text.
    TQuery *sheet = form->Qry_Print;
    QVERIFY(sheet->Active());
    QCOMPARE(sheet->RecordCount(), 4);
    QStringList verdicts;
    for (sheet->First(); verdicts.size() < sheet->RecordCount(); sheet->Next())
        verdicts << sheet->FieldByName("OTZ")->DisplayText();
    QCOMPARE(verdicts, QStringList({"正确", "错误", "错误", "错误"}));
    QVERIFY(form->Label1->isVisible());
    QCOMPARE(form->Label1->text(), QStringLiteral("很遗憾，答错了，正确答案：4"));
    form->SpeedButton1Click();
    QCOMPARE(form->Label1->text(), QStringLiteral("很遗憾，答错了，正确答案：2"));
}

void TestUMain::HandInChapterPractice()
{
    auto form = OpenExam("2", "1");
    QVERIFY(form);
    QTest::keyClicks(form->Edit1, "1");
    form->SpeedButton1Click();
    QVERIFY(form->Label1->isVisible());
    form->SpeedButton3Click();
    QCOMPARE(FMessages->Count(), 2);
    QCOMPARE(FMessages->Last().Text, QStringLiteral("本次答题共正确 1 道。"));
    QCOMPARE(FMessages->Last().Icon, TMsgIcon::Information);
    QCOMPARE(FBank->Scalar("select count(*) from T_KS_ExamineTheme_TT").toInt(), 0);
    QVERIFY(form->Label1->isVisible());
    QVERIFY(form->close());
}

void TestUMain::ClockCountsDownAndHandsInAtZero()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    QCOMPARE(form->FSecondsLeft, form->FExamMinutes * 60);
    form->Timer1Timer();
    QCOMPARE(form->LabTime->text(), ClockText(form->FExamMinutes * 60 - 1));
    form->FSecondsLeft = 301;
    form->Timer1Timer();
    QCOMPARE(form->LabTime->text(), QStringLiteral("00小时05分00秒"));
    QCOMPARE(form->LabTime->palette().color(QPalette::WindowText), QColor(51, 51, 51));
    form->Timer1Timer();
    QCOMPARE(form->LabTime->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    form->FSecondsLeft = 1;
    form->Timer1Timer();
    QCOMPARE(form->LabTime->text(), QStringLiteral("00小时00分00秒"));
    QCOMPARE(FMessages->Count(), 0);
    FMessages->Answer(2);
    form->Timer1Timer();
    QCOMPARE(FMessages->Count(), 1);
    QVERIFY(FMessages->Last().Text.startsWith(QStringLiteral("本次答题共正确 0 道")));
    QVERIFY(!form->FAnswering);
    QVERIFY(!form->Timer1->isActive());
    QCOMPARE(form->LabTime->text(), QStringLiteral("00小时00分00秒"));
    QCOMPARE(form->LabTime->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    form->Timer1Timer();
    QCOMPARE(FMessages->Count(), 1);
}

void TestUMain::TimeOutDuringConfirmationHandsInOnce()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    QTest::keyClicks(form->Edit1, "1");
    form->FSecondsLeft = 1;
    TFrmMain *screen = form.get();
    FMessages->WhileOpen = [screen](const TMessageRequest &request) {
        if (request.Text != KConfirm)
            return;
        // The last second passes and the next tick finds no time left.
        screen->Timer1Timer();
        screen->Timer1Timer();
    };
    // Every box is answered OK: the summary inside the confirmation, then
    // the confirmation itself, which must not start a second hand-in.
    FMessages->SetDefaultAnswer(1);
    form->SpeedButton3Click();
    QStringList texts;
    for (const TMessageRequest &request : FMessages->Shown())
        texts << request.Text;
    QCOMPARE(texts.size(), 2);
    QCOMPARE(texts[0], KConfirm);
    QVERIFY(texts[1].startsWith(QStringLiteral("本次答题共正确 1 道，错误 3 道")));
    QVERIFY(!form->FAnswering);
    QCOMPARE(FBank->Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 0);
}

void TestUMain::TimeOutClosesTheOpenConfirmationBox()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    InstallQtMessageBoxes();
    const auto visibleBox = [](const QString &text) -> QMessageBox * {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(window);
            if (box && box->isVisible() && box->text().startsWith(text))
                return box;
        }
        return nullptr;
    };
    // The candidate leaves the confirmation open while the time runs out;
    // the summary that follows is closed with Cancel (no result sheet).
    bool confirmationOpenUnderSummary = true;
    bool timedOut = false;
    bool summaryClosed = false;
    TFrmMain *screen = form.get();
    // Two timers: a timer does not fire again while its own slot still runs,
    // and the time-out runs the summary box inside the first one.
    QTimer timeOut;
    connect(&timeOut, &QTimer::timeout, screen, [&] {
        if (!timedOut && visibleBox(KConfirm)) {
            timedOut = true;
            screen->Timer1Timer();
            screen->Timer1Timer();
        }
    });
    QTimer closeSummary;
    connect(&closeSummary, &QTimer::timeout, screen, [&] {
        if (QMessageBox *summary = visibleBox(QStringLiteral("本次答题共正确"))) {
            confirmationOpenUnderSummary = visibleBox(KConfirm) != nullptr;
            summaryClosed = true;
            summary->reject();
        } else if (QMessageBox *stale = summaryClosed ? visibleBox(KConfirm) : nullptr) {
            stale->reject(); // a stale box would otherwise hold the test
        }
    });
    timeOut.start(10);
    closeSummary.start(10);
    form->FSecondsLeft = 1;
    form->SpeedButton3Click();
    QVERIFY(timedOut);
    QVERIFY(!confirmationOpenUnderSummary);
    QVERIFY(!visibleBox(KConfirm));
    QVERIFY(!form->FAnswering);
}

void TestUMain::LargePaperSheetScrolls()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    // Rebuild the sheet as a 200-question paper would have it.
    qDeleteAll(form->FSheetContent->findChildren<QPushButton *>());
    form->FQuestionCount = 200;
    form->BuildAnswerSheet();
    QVERIFY(form->Panel1->verticalScrollBar()->isVisible() || form->Panel1->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn);
    QPushButton *last = SheetButton(*form, 200);
    QVERIFY(last);
    QVERIFY(last->geometry().right() < form->Panel1->viewport()->width());
    form->Panel1->ensureWidgetVisible(last);
    QVERIFY(form->Panel1->viewport()->rect().contains(
        QRect(last->mapTo(form->Panel1->viewport(), QPoint(0, 0)), last->size())));
}

void TestUMain::BrokenPictureIsReportedAfterTheText()
{
    FBank->Exec("update T_KS_THEME set ThemeImage=X'FFD8FF0011' where ThemeID=2");
    auto form = OpenExam("3");
    QVERIFY(form);
    QVERIFY(!form->ImgTheme->pixmap().isNull());
    form->Edit1->clearFocus();
    // While the error is up, the first question's picture is already gone
    // and the second question's text and options are on the screen.
    bool pictureGone = false;
    QString textUnderBox;
    TFrmMain *screen = form.get();
    FMessages->WhileOpen = [&](const TMessageRequest &) {
        pictureGone = screen->ImgTheme->pixmap().isNull();
        textUnderBox = screen->LabContent->text().trimmed().left(2);
    };
    form->SpeedButton2Click();
    QCOMPARE(FMessages->Count(), 1);
    QCOMPARE(FMessages->Last().Caption, QStringLiteral("Examora"));
    QVERIFY(FMessages->Last().Text.startsWith(QStringLiteral("JPEG")));
    QVERIFY(pictureGone);
    QCOMPARE(textUnderBox, QStringLiteral("2、"));
    QCOMPARE(CurrentId(*form), 2);
    QCOMPARE(form->LabD->text(), QStringLiteral("4、丁"));
    QVERIFY(form->ImgTheme->pixmap().isNull());
    QVERIFY(form->Edit1->hasFocus());
    // The question is answered as any other.
    QTest::keyClicks(form->Edit1, "2");
    QCOMPARE(Stored(*form, 2, "AnswerResult").toString(), QStringLiteral("2"));
    form->SpeedButton1Click();
    QVERIFY(!form->ImgTheme->pixmap().isNull());
}

void TestUMain::ClearedAnswerIsStoredAsEmptyText()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    const auto storedType = [&](int id, const char *column) {
        return FBank->Scalar(QStringLiteral("select typeof(%1) from T_KS_ExamineTheme where ExamineID=%2 and ID=%3")
                                 .arg(QString::fromLatin1(column))
                                 .arg(form->FExamineID)
                                 .arg(id))
            .toString();
    };
    QCOMPARE(storedType(2, "AnswerResult"), QStringLiteral("null"));
    GoTo(*form, 2);
    QTest::keyClicks(form->Edit1, "1");
    QCOMPARE(storedType(2, "AnswerResult"), QStringLiteral("text"));
    // An invalid entry clears the answer and its flag.
    QTest::keyClicks(form->Edit1, "2");
    QCOMPARE(Stored(*form, 2, "AnswerResult").toString(), QString());
    QCOMPARE(storedType(2, "AnswerResult"), QStringLiteral("text"));
    QCOMPARE(storedType(2, "Yxx_St"), QStringLiteral("text"));
    // Emptied by hand.
    GoTo(*form, 3);
    QTest::keyClicks(form->Edit1, "4");
    QTest::keyClick(form->Edit1, Qt::Key_Backspace);
    QCOMPARE(storedType(3, "AnswerResult"), QStringLiteral("text"));
    QCOMPARE(Stored(*form, 3, "Yxx_St").toString(), QString());
    QCOMPARE(storedType(3, "Yxx_St"), QStringLiteral("text"));
    // The flag written when the selector follows an unanswered row.
    GoTo(*form, 1);
    QTest::keyClick(form->Edit1, Qt::Key_End);
    QCOMPARE(storedType(1, "Yxx_St"), QStringLiteral("text"));
    GoTo(*form, 4);
    QCOMPARE(form->RGYxx->ItemIndex(), 0);
    QCOMPARE(Stored(*form, 4, "Yxx_St").toString(), QString());
    QCOMPARE(storedType(4, "Yxx_St"), QStringLiteral("text"));
}

void TestUMain::AnswerSheetButtonsShowNoFaceOrHover()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    QPushButton *button = SheetButton(*form, 3);
    QVERIFY(button->isFlat());
    const QRect place = button->geometry();
    const auto sheetAt = [&form, place] { return form->FSheetContent->grab(place).toImage(); };
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

void TestUMain::WholeMockExamThroughTheForms()
{
    QVERIFY(QFile::copy(EXAMORA_SOURCE_DIR "/data/TestMn.frf", FBank->AppPath() + "TestMn.frf"));
    auto form = std::make_unique<TFrmMain>();
    QCOMPARE(FAnswerer->LicenceDialogs, 1);
    QCOMPARE(RunContext.DriveTypeCode, QStringLiteral("001"));
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QTRY_VERIFY_WITH_TIMEOUT(form->Panel3->isEnabled(), 10000);
    QCOMPARE(FBank->Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 4);
    QCOMPARE(form->FQuestionCount, 4);
    QVERIFY(form->Timer1->isActive());
    QTRY_VERIFY_WITH_TIMEOUT(!form->LabTime->text().isEmpty(), 3000);
    form->Timer1->stop();

    QTest::mouseClick(form->LabA, Qt::LeftButton);
    QCOMPARE(Stored(*form, 1, "AnswerResult").toString(), QStringLiteral("1"));
    QTest::keyClick(form->Edit1, Qt::Key_Return);
    QTest::keyClicks(form->Edit1, "2");
    QCOMPARE(Stored(*form, 2, "AnswerResult").toString(), QStringLiteral("2"));
    QTest::keyClick(form->Edit1, Qt::Key_End);
    QCOMPARE(Stored(*form, 2, "Yxx_St").toString(), QStringLiteral("1"));
    QTest::keyClick(form->Edit1, Qt::Key_PageDown);
    QTest::keyClicks(form->Edit1, "4");
    QCOMPARE(Stored(*form, 3, "AnswerResult").toString(), QStringLiteral("4"));
    QCOMPARE(Stored(*form, 3, "Yxx_St").toString(), QStringLiteral("0"));
    QTest::mouseClick(SheetButton(*form, 4), Qt::LeftButton);
    for (QLabel *label : {form->LabE, form->LabC})
        QTest::mouseClick(label, Qt::LeftButton);
    QCOMPARE(Stored(*form, 4, "AnswerResult").toString(), QStringLiteral("35"));

    FMessages->SetDefaultAnswer(1);
    QTest::mouseClick(form->SpeedButton3, Qt::LeftButton);
    QCOMPARE(FMessages->Count(), 2);
    QCOMPARE(FMessages->Last().Text,
             QStringLiteral("本次答题共正确 3 道，错误 1 道，得分 75 分。\r是否需要查询答题信息？"));
    QCOMPARE(FAnswerer->Previews, 1);
    QVERIFY(FAnswerer->PreviewPages >= 1);
    QCOMPARE(FBank->Scalar("select count(*) from T_KS_ExamineTheme").toInt(), 0);
    QCOMPARE(form->Label1->text(), QStringLiteral("正确答案：135"));
    QVERIFY(form->Label1->isVisible());

    QTest::keyClick(form->Edit1, Qt::Key_PageUp);
    QCOMPARE(form->Edit1->text(), QStringLiteral("4"));
    QCOMPARE(form->Label1->text(), QStringLiteral("正确答案：4"));
    QTest::mouseClick(form->SpeedButton5, Qt::LeftButton);
    QVERIFY(!form->isVisible());
}

QTEST_MAIN(TestUMain)
#include "tst_UMain.moc"
