#include "ExamScreenFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTest>

#include "FrmPrew.h"
#include "UAnswerSheetPanel.h"
#include "UComm.h"
#include "UExamClock.h"
#include "UExamWidgets.h"
#include "UFrPreview.h"
#include "UJpeg.h"
#include "UQuery.h"
#include "UQuit.h"

const QString KConfirm = QStringLiteral("交卷后系统将关闭答题功能，确定要交卷吗？");
const QString KLongText = QStringLiteral("驾驶机动车在道路上行驶，遇到前方路口交通信号灯为黄灯持续闪烁、"
                                         "路口没有交通警察指挥、两侧都有行人和非机动车正在通过时，"
                                         "驾驶人应当怎样做才能确保安全并且符合道路交通安全法律法规的要求？");

namespace {

void FillBank(TTestBank &bank)
{
    QImage picture(64, 48, QImage::Format_RGB888);
    picture.fill(QColor(30, 120, 200));
    bank.AddTheme(1,
                  {{"ThemeType", 1},
                   {"ThemeContent", "路口黄灯闪烁时应减速。"},
                   {"ThemeSpareA", "正确"},
                   {"ThemeSpareB", "错误"},
                   {"ThemeSpareC", ""},
                   {"ThemeSpareD", ""},
                   {"ThemeResult", "1"},
                   {"ThemeImage", EncodeJpeg(picture)},
                   {"TT", "01"}});
    bank.AddTheme(2, {{"ThemeType", 2}, {"ThemeResult", "2"}, {"TT", "01"}});
    bank.AddTheme(3, {{"ThemeType", 2}, {"ThemeSpareC", ""}, {"ThemeResult", "4"}, {"TT", "01"}});
    bank.AddTheme(
        4, {{"ThemeType", 3}, {"ThemeContent", KLongText}, {"ThemeSpareE", "戊"}, {"ThemeResult", "135"}, {"TT", "01"}});
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

template <class T>
T *Named(const QObject &form, const char *name)
{
    return form.findChild<T *>(QString::fromLatin1(name));
}

} // namespace

TDialogAnswerer::TDialogAnswerer()
{
    connect(&FTimer, &QTimer::timeout, this, &TDialogAnswerer::Poll);
    FTimer.start(10);
}

void TDialogAnswerer::Poll()
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
        PreviewLines.clear();
        for (const TfrPage &page : static_cast<TPreForm *>(dialog)->Report().PreparedPages()) {
            for (const TfrPageItem &item : page.Items)
                PreviewLines += item.Lines;
        }
        dialog->done(1);
    }
}

TExamScreen::TExamScreen(TFrmMain &form)
    : Clock(Named<TExamClock>(form, "ExamClock")),
      AQry(Named<TQuery>(form, "AQry")),
      Qry_Print(Named<TQuery>(form, "Qry_Print")),
      Label1(Named<QLabel>(form, "Label1")),
      Label2(Named<QLabel>(form, "Label2")),
      Label5(Named<QLabel>(form, "Label5")),
      LabCylb(Named<QLabel>(form, "LabCylb")),
      LabTime(Named<QLabel>(form, "LabTime")),
      LabContent(Named<QLabel>(form, "LabContent")),
      LabType(Named<QLabel>(form, "LabType")),
      ImgTheme(Named<QLabel>(form, "ImgTheme")),
      LabA(Named<QLabel>(form, "LabA")),
      LabB(Named<QLabel>(form, "LabB")),
      LabC(Named<QLabel>(form, "LabC")),
      LabD(Named<QLabel>(form, "LabD")),
      LabE(Named<QLabel>(form, "LabE")),
      Panel1(Named<TAnswerSheetPanel>(form, "Panel1")),
      Panel3(Named<QWidget>(form, "Panel3")),
      Panel5(Named<QWidget>(form, "Panel5")),
      Panel9(Named<QWidget>(form, "Panel9")),
      Edit1(Named<QLineEdit>(form, "Edit1")),
      RGYxx(Named<TRadioGroup>(form, "RGYxx")),
      SpeedButton1(Named<TFaceButton>(form, "SpeedButton1")),
      SpeedButton2(Named<TFaceButton>(form, "SpeedButton2")),
      SpeedButton3(Named<TFaceButton>(form, "SpeedButton3")),
      SpeedButton5(Named<TFaceButton>(form, "SpeedButton5"))
{
}

void TExamScreenTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TExamScreenTest::init()
{
    EXAMORA_REQUIRE_TEST_ENGINE();
    RunContext = TRunContext();
    ResetQuitRequestForTesting();
    FBank = std::make_unique<TTestBank>();
    FillBank(*FBank);
    FMessages = std::make_unique<TScriptedMessages>();
    FAnswerer = std::make_unique<TDialogAnswerer>();
}

void TExamScreenTest::cleanup()
{
    FAnswerer.reset();
    FMessages.reset();
    FBank.reset();
}

std::unique_ptr<TFrmMain> TExamScreenTest::OpenExam(const QString &mode, const QString &scope)
{
    auto form = std::make_unique<TFrmMain>();
    RunContext.PracticeMode = mode;
    RunContext.PracticeScope = scope;
    form->show();
    form->activateWindow();
    const TExamScreen ui(*form);
    if (!QTest::qWaitFor([&] { return ui.Panel3->isEnabled(); }, 10000) || !QTest::qWaitForWindowActive(form.get()))
        return nullptr;
    ui.Clock->Stop();
    return form;
}

QVariant TExamScreenTest::Stored(int id, const char *column) const
{
    // Every test's bank holds the one paper its screen drew.
    QSqlQuery query(FBank->Db());
    query.prepare(QStringLiteral("select %1 from %2 where ExamineID=(select max(ExamineID) from %2) and ID=?")
                      .arg(QString::fromLatin1(column), PaperTable()));
    query.addBindValue(id);
    if (!query.exec() || !query.next())
        return QStringLiteral("<no row>");
    return query.value(0);
}

QPushButton *TExamScreenTest::SheetButton(TFrmMain &form, int number)
{
    return form.findChild<QPushButton *>(QStringLiteral("AutoBtn%1").arg(number));
}

int TExamScreenTest::CurrentId(TFrmMain &form)
{
    return Named<TQuery>(form, "AQry")->FieldByName("ID")->AsInteger();
}

void TExamScreenTest::GoTo(TFrmMain &form, int id)
{
    QTest::mouseClick(SheetButton(form, id), Qt::LeftButton);
    QCOMPARE(CurrentId(form), id);
}
