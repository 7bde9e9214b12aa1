#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/UDM.h"
#include "app/UJpeg.h"
#include "components/QVAdoQuery.h"
#include "components/QVComboBox.h"
#include "components/QVDBGrid.h"
#include "components/QVEdit.h"
#include "components/QVImage.h"
#include "components/QVMemo.h"
#include "components/QVPageTool.h"
#include "components/UQVImageSelect.h"
#include "editor/UEditor.h"
#include "tests/common/TestSupport.h"
#include "tools/USampleBank.h"

namespace {

// Runs the action on the crop dialog once it is open modally.
void WhenCropDialogOpens(QObject *context, std::function<void(TFrmQVImageSelect *)> action)
{
    auto *timer = new QTimer(context);
    QObject::connect(timer, &QTimer::timeout, context, [timer, action] {
        if (auto *dialog = qobject_cast<TFrmQVImageSelect *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(dialog);
        }
    });
    timer->start(10);
}

} // namespace

class TestUEditor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void PagesThroughSampleBank();
    void EditsQuestionWithNormalisedAnswer();
    void WrongAnswerKeepsTheEdit();
    void AddsQuestionWithCroppedPicture();
    void DeletesQuestionOnlyWhenConfirmed();

private:
    template <typename T>
    T *Child(const char *name) const { return FForm->findChild<T *>(QString::fromLatin1(name)); }
    void Click(const char *button) const { Child<QPushButton>(button)->click(); }

    std::unique_ptr<TTestBank> FBank;
    std::unique_ptr<TScriptedMessages> FMessages;
    std::unique_ptr<TFrmEditor> FForm;
    int FBankSize = 0;
};

void TestUEditor::init()
{
    FBank = std::make_unique<TTestBank>();
    QSqlDatabase db = FBank->Db();
    WriteSampleBank(db);
    FBankSize = FBank->Scalar("select Count(*) from T_KS_THEME").toInt();
    FMessages = std::make_unique<TScriptedMessages>();
    FForm = std::make_unique<TFrmEditor>();
    FForm->show();
}

void TestUEditor::cleanup()
{
    FForm.reset();
    FMessages.reset();
    FBank.reset();
}

void TestUEditor::PagesThroughSampleBank()
{
    QVERIFY(FBankSize > 40);
    TQVAdoQuery *query = FForm->Query();
    QCOMPARE(query->RecordCount(), 20);
    QCOMPARE(query->FieldByName("Xh")->AsInteger(), FBank->Scalar("select Min(ThemeID) from T_KS_THEME").toInt());
    const QString caption = Child<QGroupBox>("GrpList")->title();
    QCOMPARE(caption, QStringLiteral(" 共有记录 %1 条，当前记录 20 条 ").arg(FBankSize));
    QCOMPARE(Child<TQVDBGrid>("DBGrid1")->model()->rowCount(), 20);
    QVERIFY(!Child<TQVDBGrid>("DBGrid1")->isColumnHidden(0));

    const int lastOfFirstPage = Child<TQVPageTool>("PageTool1")->LastXh();
    FForm->findChild<QToolButton *>("FBtnAutoNext")->click();
    QCOMPARE(Child<TQVPageTool>("PageTool1")->CurrentPage(), 2);
    QVERIFY(query->FieldByName("Xh")->AsInteger() > lastOfFirstPage);
    // The controls follow the current row of the new page.
    QCOMPARE(Child<TQVMemo>("MemContent")->toPlainText(), query->FieldByName("ThemeContent")->AsString());
    FForm->findChild<QToolButton *>("FBtnAutoLast")->click();
    QCOMPARE(Child<TQVPageTool>("PageTool1")->CurrentPage(), Child<TQVPageTool>("PageTool1")->PageCount());
}

void TestUEditor::EditsQuestionWithNormalisedAnswer()
{
    TQVAdoQuery *query = FForm->Query();
    query->Next();
    const int themeId = query->FieldByName("ThemeID")->AsInteger();
    QVERIFY(!Child<QPushButton>("BtnSave")->isEnabled());
    Click("BtnEdit");
    QVERIFY(Child<QPushButton>("BtnSave")->isEnabled());
    Child<TQVMemo>("MemContent")->setPlainText("改过的题目");
    Child<TQVComboBox>("CmbType")->SetValue("3");
    Child<TQVMemo>("MemSpareA")->setPlainText("甲");
    Child<TQVMemo>("MemSpareB")->setPlainText("乙");
    Child<TQVMemo>("MemSpareC")->setPlainText("丙");
    Child<TQVEdit>("EdtResult")->setText("31");
    Click("BtnSave");
    QCOMPARE(FMessages->Count(), 0);
    QCOMPARE(query->State(), TQuery::dsBrowse);
    const QString where = QStringLiteral(" from T_KS_THEME where ThemeID=%1").arg(themeId);
    QCOMPARE(FBank->Scalar("select ThemeContent" + where).toString(), QStringLiteral("改过的题目"));
    QCOMPARE(FBank->Scalar("select ThemeResult" + where).toString(), QStringLiteral("13"));
    QCOMPARE(FBank->Scalar("select ThemeType" + where).toInt(), 3);
}

void TestUEditor::WrongAnswerKeepsTheEdit()
{
    TQVAdoQuery *query = FForm->Query();
    const QString before = query->FieldByName("ThemeResult")->AsString();
    Click("BtnEdit");
    Child<TQVEdit>("EdtResult")->setText("9");
    Click("BtnSave");
    QCOMPARE(FMessages->Count(), 1);
    QCOMPARE(FMessages->Last().Caption, QStringLiteral("错误"));
    QCOMPARE(FMessages->Last().Text, QStringLiteral("答案只能由选项号 1～5 组成！"));
    QCOMPARE(query->State(), TQuery::dsEdit);
    QCOMPARE(Child<TQVEdit>("EdtResult")->text(), QStringLiteral("9"));

    // A required control that is empty stops the save the same way.
    Child<TQVEdit>("EdtResult")->setText("1");
    Child<TQVMemo>("MemContent")->setPlainText("  ");
    Click("BtnSave");
    QCOMPARE(FMessages->Last().Text, QStringLiteral("本项是必填项！"));
    QCOMPARE(query->State(), TQuery::dsEdit);
    Click("BtnCancel");
    QCOMPARE(query->FieldByName("ThemeResult")->AsString(), before);
}

void TestUEditor::AddsQuestionWithCroppedPicture()
{
    const QString fileName = FBank->AppPath() + "scene.jpg";
    QImage scene(640, 480, QImage::Format_RGB32);
    scene.fill(Qt::darkGreen);
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(EncodeJpeg(scene));
    file.close();
    const int expectedId = FBank->Scalar("select Max(ThemeID) from T_KS_THEME").toInt() + 1;

    Click("BtnAdd");
    QCOMPARE(Child<TQVEdit>("EdtThemeID")->text(), QString::number(expectedId));
    Child<TQVMemo>("MemContent")->setPlainText("图中是什么标志？");
    Child<TQVComboBox>("CmbType")->SetValue("2");
    Child<TQVMemo>("MemSpareA")->setPlainText("注意行人");
    Child<TQVMemo>("MemSpareB")->setPlainText("注意儿童");
    Child<TQVEdit>("EdtResult")->setText("2");
    bool cropped = false;
    WhenCropDialogOpens(this, [&](TFrmQVImageSelect *dialog) {
        cropped = dialog->LoadPictureFile(fileName);
        dialog->findChild<QPushButton *>("BtnOk")->click();
    });
    QTest::mouseDClick(Child<TQVImage>("ImgTheme")->findChild<QWidget *>("Image1"), Qt::LeftButton);
    QVERIFY(cropped);
    Click("BtnSave");
    QCOMPARE(FMessages->Count(), 0);

    const QString where = QStringLiteral(" from T_KS_THEME where ThemeID=%1").arg(expectedId);
    QCOMPARE(FBank->Scalar("select Count(*) from T_KS_THEME").toInt(), FBankSize + 1);
    QCOMPARE(FBank->Scalar("select ThemeContent" + where).toString(), QStringLiteral("图中是什么标志？"));
    QCOMPARE(FBank->Scalar("select ThemeSpareC" + where).toString(), QString(""));
    QVERIFY(!FBank->Scalar("select ThemeSpareC" + where).isNull());
    QCOMPARE(FBank->Scalar("select ZT" + where).toInt(), 1);
    const QImage stored = DecodeJpeg(FBank->Scalar("select ThemeImage" + where).toByteArray());
    QCOMPARE(stored.size(), QSize(160, 200));
    QVERIFY(QFile::exists(FBank->AppPath() + "ImgConfig.Cfg"));
}

void TestUEditor::DeletesQuestionOnlyWhenConfirmed()
{
    TQVAdoQuery *query = FForm->Query();
    const int themeId = query->FieldByName("ThemeID")->AsInteger();
    const QString count = QStringLiteral("select Count(*) from T_KS_THEME where ThemeID=%1").arg(themeId);
    FMessages->Answer(2);
    Click("BtnDelete");
    QCOMPARE(FMessages->Last().Text, QStringLiteral("确定删除第 %1 题吗？").arg(themeId));
    QCOMPARE(FBank->Scalar(count).toInt(), 1);
    FMessages->Answer(1);
    Click("BtnDelete");
    QCOMPARE(FBank->Scalar(count).toInt(), 0);
    QCOMPARE(query->RecordCount(), 19);
}

QTEST_MAIN(TestUEditor)

#include "tst_UEditor.moc"
