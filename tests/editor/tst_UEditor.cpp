#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "QVAdoQuery.h"
#include "QVComboBox.h"
#include "QVDBGrid.h"
#include "QVEdit.h"
#include "QVImage.h"
#include "QVMemo.h"
#include "QVPageTool.h"
#include "QVPaging.h"
#include "TestSupport.h"
#include "UDM.h"
#include "UEditor.h"
#include "UJpeg.h"
#include "UQVImageSelect.h"
#include "USampleBank.h"

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

// Types the text as a person would: each character a key press, the
// Chinese ones as an input method hands them over.
void Type(QWidget *widget, const QString &text)
{
    widget->setFocus();
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Replaces a spin box's number by typing, as a person would.
void TypeNumber(QSpinBox *spin, int value)
{
    spin->setFocus();
    QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
    // No Enter: in a dialog it would press the default button.
    QTest::keyClicks(spin, QString::number(value));
}

// Picks the file in the file dialog that opens next.
void ChooseFileWhenAsked(QTimer &picker, const QString &fileName)
{
    QObject::connect(&picker, &QTimer::timeout, &picker, [&picker, fileName] {
        if (auto *files = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            picker.stop();
            files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(fileName);
            QMetaObject::invokeMethod(files, &QDialog::accept, Qt::QueuedConnection);
        }
    });
    picker.start(10);
}

// Qt reads GIF files but writes none: the picture in its colour table as
// a GIF whose LZW codes are all literal and 9 bits wide.
QByteArray GifOf(const QImage &picture)
{
    const QImage indexed = picture.convertToFormat(QImage::Format_Indexed8);
    QByteArray gif("GIF89a");
    const auto word = [&gif](int value) { gif.append(char(value & 0xff)).append(char(value >> 8)); };
    word(indexed.width());
    word(indexed.height());
    gif.append(char(0xf7)).append(2, '\0'); // a global table of 256 colours
    for (int i = 0; i < 256; ++i) {
        const QRgb colour = indexed.colorTable().value(i);
        gif.append(char(qRed(colour))).append(char(qGreen(colour))).append(char(qBlue(colour)));
    }
    gif.append(',');
    word(0);
    word(0);
    word(indexed.width());
    word(indexed.height());
    gif.append('\0').append(char(8));
    QByteArray codes;
    quint32 bits = 0;
    int bitCount = 0;
    const auto put = [&](int code) {
        bits |= quint32(code) << bitCount;
        for (bitCount += 9; bitCount >= 8; bitCount -= 8, bits >>= 8)
            codes.append(char(bits & 0xff));
    };
    // A clear code often enough keeps the decoder's table, and so the code width, small.
    for (int i = 0; i < indexed.width() * indexed.height(); ++i) {
        if (i % 100 == 0)
            put(256);
        put(indexed.pixelIndex(i % indexed.width(), i / indexed.width()));
    }
    put(257);
    if (bitCount > 0)
        codes.append(char(bits & 0xff));
    for (int at = 0; at < codes.size(); at += 255)
        gif.append(char(qMin(255, int(codes.size()) - at))).append(codes.mid(at, 255));
    return gif.append('\0').append(';');
}

// The titles of the columns the grid shows, left to right.
QStringList ShownTitles(const TQVDBGrid *grid)
{
    QStringList titles;
    for (int column = 0; column < grid->model()->columnCount(); ++column) {
        if (!grid->isColumnHidden(column))
            titles << grid->model()->headerData(column, Qt::Horizontal).toString();
    }
    return titles;
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
    void AddedQuestionShowsOnItsPage();
    void ListShowsTitlesAndNames();
    void SearchFiltersThePagedList();
    void SearchTakesWildcardsAndQuotesLiterally();
    void PictureFilesAreStoredAsJpeg_data();
    void PictureFilesAreStoredAsJpeg();
    void FileThatIsNoPictureIsRefused();
    void CropFrameStartsWithThePictureFieldsShape();

private:
    template <typename T>
    T *Child(const char *name) const
    {
        return FForm->findChild<T *>(QString::fromLatin1(name));
    }
    void Click(const char *button) const { Child<QPushButton>(button)->click(); }
    void MouseClick(const char *button) const { QTest::mouseClick(Child<QPushButton>(button), Qt::LeftButton); }
    void Search(const QString &text) const;
    // Opens the crop dialog of the picture field, loads the file through
    // its file dialog and confirms or cancels the cut.
    void CropFromFile(const QString &fileName, const char *closeButton) const;
    QString Where(int themeId) const { return QStringLiteral(" from T_KS_THEME where ThemeID=%1").arg(themeId); }

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
        TypeNumber(dialog->findChild<QSpinBox *>("SpinWidth"), 160);
        TypeNumber(dialog->findChild<QSpinBox *>("SpinHeight"), 200);
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

void TestUEditor::AddedQuestionShowsOnItsPage()
{
    const int expectedId = FBank->Scalar("select Max(ThemeID) from T_KS_THEME").toInt() + 1;
    MouseClick("BtnAdd");
    Type(Child<TQVMemo>("MemContent"), "新加的判断题");
    QTest::keyClick(Child<TQVComboBox>("CmbType"), Qt::Key_Home);
    Type(Child<TQVMemo>("MemSpareA"), "正确");
    Type(Child<TQVMemo>("MemSpareB"), "错误");
    Type(Child<TQVEdit>("EdtResult"), "1");
    MouseClick("BtnSave");
    QCOMPARE(FMessages->Count(), 0);
    QCOMPARE(FBank->Scalar("select ThemeType" + Where(expectedId)).toInt(), 1);

    auto *bar = Child<TQVPageTool>("PageTool1");
    const int pages = PageCountOf(FBankSize + 1, 20);
    QCOMPARE(bar->RecordCount(), FBankSize + 1);
    QCOMPARE(bar->PageCount(), pages);
    QCOMPARE(bar->CurrentPage(), pages);
    QCOMPARE(bar->PageInfo(), PageInfoText(FBankSize + 1, 20, pages, pages));
    // The new question is current on the last page, numbered like every other row.
    TQVAdoQuery *query = FForm->Query();
    const int lastPageRows = FBankSize + 1 - 20 * (pages - 1);
    QCOMPARE(query->RecordCount(), lastPageRows);
    QCOMPARE(query->FieldByName("ThemeID")->AsInteger(), expectedId);
    QAbstractItemModel *rows = Child<TQVDBGrid>("DBGrid1")->model();
    QCOMPARE(rows->rowCount(), lastPageRows);
    for (int row = 0; row < rows->rowCount(); ++row)
        QVERIFY2(!rows->index(row, 0).data().toString().isEmpty(), qPrintable(QString::number(row)));
    QCOMPARE(rows->index(rows->rowCount() - 1, 0).data().toInt(), expectedId);
    QCOMPARE(Child<QGroupBox>("GrpList")->title(),
             QStringLiteral(" 共有记录 %1 条，当前记录 %2 条 ").arg(FBankSize + 1).arg(lastPageRows));
}

void TestUEditor::Search(const QString &text) const
{
    auto *box = Child<QLineEdit>("EdtSearch");
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Backspace);
    Type(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

void TestUEditor::ListShowsTitlesAndNames()
{
    auto *grid = Child<TQVDBGrid>("DBGrid1");
    QCOMPARE(ShownTitles(grid), (QStringList{"题号", "章节", "题型", "题目", "答案", "抽题", "套题号"}));
    const QHash<int, QString> typeNames{{1, "判断"}, {2, "单选"}, {3, "多选"}};
    TQVAdoQuery *query = FForm->Query();
    const int chapterColumn = query->FieldByName("ThemeChapter")->Index();
    const int typeColumn = query->FieldByName("ThemeType")->Index();
    for (int row = 0; row < grid->model()->rowCount(); ++row) {
        const int themeId = grid->model()->index(row, 0).data().toInt();
        const QString chapter = FBank
                                    ->Scalar("select c.THEMENAME from T_KS_THEME t join T_KS_CHAPTER c on "
                                             "c.ThemeChapter=t.ThemeChapter where t.ThemeID="
                                             + QString::number(themeId))
                                    .toString();
        QCOMPARE(grid->model()->index(row, chapterColumn).data().toString(), chapter);
        QCOMPARE(grid->model()->index(row, typeColumn).data().toString(),
                 typeNames.value(FBank->Scalar("select ThemeType" + Where(themeId)).toInt()));
    }

    // The third type, and codes the bank does not name, shown as stored.
    FBank->AddTheme(9001, {{"ThemeContent", "样例甲"}, {"ThemeType", 3}, {"ThemeChapter", 20}});
    FBank->AddTheme(9002, {{"ThemeContent", "样例乙"}, {"ThemeType", 7}, {"ThemeChapter", 99}});
    Search("样例");
    QCOMPARE(grid->model()->rowCount(), 2);
    QCOMPARE(grid->model()->index(0, chapterColumn).data().toString(), QStringLiteral("安全行车常识"));
    QCOMPARE(grid->model()->index(0, typeColumn).data().toString(), QStringLiteral("多选"));
    QCOMPARE(grid->model()->index(1, chapterColumn).data().toString(), QStringLiteral("99"));
    QCOMPARE(grid->model()->index(1, typeColumn).data().toString(), QStringLiteral("7"));
    QCOMPARE(ShownTitles(grid).size(), 7);
}

void TestUEditor::SearchFiltersThePagedList()
{
    const int matching = FBank->Scalar("select Count(*) from T_KS_THEME where instr(ThemeContent, '驾驶人') > 0").toInt();
    QVERIFY(matching > 40);
    auto *bar = Child<TQVPageTool>("PageTool1");
    TQVAdoQuery *query = FForm->Query();
    Search("驾驶人");
    const int pages = PageCountOf(matching, 20);
    QCOMPARE(bar->RecordCount(), matching);
    QCOMPARE(bar->PageInfo(), PageInfoText(matching, 20, pages, 1));
    QCOMPARE(bar->findChild<QComboBox *>("FComboxAutoPage")->count(), pages);
    FForm->findChild<QToolButton *>("FBtnAutoNext")->click();
    QCOMPARE(bar->PageInfo(), PageInfoText(matching, 20, pages, 2));
    for (query->First(); !query->Eof(); query->Next())
        QVERIFY(query->FieldByName("ThemeContent")->AsString().contains(QStringLiteral("驾驶人")));

    // A question number finds that question (and texts that hold the number).
    Search("1005");
    QCOMPARE(query->RecordCount(), 1);
    QCOMPARE(query->FieldByName("ThemeID")->AsInteger(), 1005);
    QCOMPARE(Child<TQVMemo>("MemContent")->toPlainText(), query->FieldByName("ThemeContent")->AsString());

    // Emptying the box shows the whole bank again at once.
    auto *box = Child<QLineEdit>("EdtSearch");
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(bar->RecordCount(), FBankSize);
    QCOMPARE(bar->PageInfo(), PageInfoText(FBankSize, 20, PageCountOf(FBankSize, 20), 1));
    QCOMPARE(query->RecordCount(), 20);

    // While a question is edited the list cannot be searched.
    MouseClick("BtnEdit");
    QVERIFY(!box->isEnabled());
    MouseClick("BtnCancel");
    QVERIFY(box->isEnabled());
}

void TestUEditor::SearchTakesWildcardsAndQuotesLiterally()
{
    FBank->AddTheme(9001, {{"ThemeContent", "灯光亮度达到100%时"}});
    FBank->AddTheme(9002, {{"ThemeContent", "路口a_b处"}});
    FBank->AddTheme(9003, {{"ThemeContent", "驾驶人's \"车\""}});
    auto *bar = Child<TQVPageTool>("PageTool1");
    TQVAdoQuery *query = FForm->Query();
    for (const auto &[typed, themeId] : {std::pair{"100%", 9001}, {"%", 9001}, {"_", 9002}, {"'s \"车\"", 9003}}) {
        Search(QString::fromUtf8(typed));
        QCOMPARE(bar->RecordCount(), 1);
        QCOMPARE(query->FieldByName("ThemeID")->AsInteger(), themeId);
    }
    Search("' or '1'='1");
    QCOMPARE(bar->RecordCount(), 0);
    QCOMPARE(query->RecordCount(), 0);
    QCOMPARE(FBank->Scalar("select Count(*) from T_KS_THEME").toInt(), FBankSize + 3);
}

void TestUEditor::CropFromFile(const QString &fileName, const char *closeButton) const
{
    WhenCropDialogOpens(FForm.get(), [fileName, closeButton](TFrmQVImageSelect *dialog) {
        QTimer picker;
        ChooseFileWhenAsked(picker, fileName);
        QTest::mouseClick(dialog->findChild<QPushButton *>("BtnFile"), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton *>(closeButton), Qt::LeftButton);
    });
    QTest::mouseDClick(Child<TQVImage>("ImgTheme")->findChild<QWidget *>("Image1"), Qt::LeftButton);
}

void TestUEditor::PictureFilesAreStoredAsJpeg_data()
{
    QTest::addColumn<QString>("format");
    for (const char *format : {"png", "bmp", "gif"})
        QTest::newRow(format) << QString::fromLatin1(format);
}

void TestUEditor::PictureFilesAreStoredAsJpeg()
{
    QFETCH(QString, format);
    // Red above, blue below: a picture turned or stretched would show it.
    QImage picture(480, 336, QImage::Format_RGB32);
    picture.fill(QColor(220, 0, 0));
    QPainter(&picture).fillRect(0, 168, 480, 168, QColor(0, 0, 220));
    const QString fileName = FBank->AppPath() + "sign." + format;
    if (format == QLatin1String("gif")) {
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(GifOf(picture));
    } else {
        QVERIFY(picture.save(fileName, qPrintable(format)));
    }
    const int themeId = FForm->Query()->FieldByName("ThemeID")->AsInteger();
    MouseClick("BtnEdit");
    CropFromFile(fileName, "BtnOk");
    MouseClick("BtnSave");
    QCOMPARE(FMessages->Count(), 0);

    const QByteArray bytes = FBank->Scalar("select ThemeImage" + Where(themeId)).toByteArray();
    QVERIFY(bytes.startsWith("\xff\xd8"));
    // The frame starts as large as the bank's pictures, at the top left.
    const QImage stored = DecodeJpeg(bytes);
    QCOMPARE(stored.size(), QSize(320, 224));
    QVERIFY(qRed(stored.pixel(160, 80)) > 180 && qBlue(stored.pixel(160, 80)) < 60);
    QVERIFY(qBlue(stored.pixel(160, 200)) > 180 && qRed(stored.pixel(160, 200)) < 60);
}

void TestUEditor::FileThatIsNoPictureIsRefused()
{
    const QString fileName = FBank->AppPath() + "notes.png";
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("这不是图片");
    file.close();
    MouseClick("BtnEdit");
    CropFromFile(fileName, "BtnCancel");
    QCOMPARE(FMessages->Count(), 1);
    QCOMPARE(FMessages->Last().Text, QStringLiteral("无法读取图片文件：") + fileName);
    MouseClick("BtnSave");
    QCOMPARE(FMessages->Count(), 1);
}

void TestUEditor::CropFrameStartsWithThePictureFieldsShape()
{
    QSize frame;
    const auto frameOnOpening = [this, &frame] {
        WhenCropDialogOpens(FForm.get(), [&frame](TFrmQVImageSelect *dialog) {
            frame = dialog->Model().Frame().size();
            dialog->reject();
        });
        QTest::mouseDClick(Child<TQVImage>("ImgTheme")->findChild<QWidget *>("Image1"), Qt::LeftButton);
    };
    MouseClick("BtnAdd");
    frameOnOpening();
    QCOMPARE(frame, QSize(320, 224));
    // The field shows the bank's pictures in their own shape.
    const QSize field = Child<TQVImage>("ImgTheme")->findChild<QWidget *>("Image1")->size();
    QCOMPARE(field.width() * 224, field.height() * 320);

    // Settings the crop dialog kept for this field come first.
    QFile settings(FBank->AppPath() + "ImgConfig.Cfg");
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("[FrmEditor-ImgTheme]\r\nCutWidth=150\r\nCutHeight=90\r\n");
    settings.close();
    frameOnOpening();
    QCOMPARE(frame, QSize(150, 90));
}

QTEST_MAIN(TestUEditor)

#include "tst_UEditor.moc"
