#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "QVAdoQuery.h"
#include "QVImage.h"
#include "TestSupport.h"
#include "UConnection.h"
#include "UDM.h"
#include "UJpeg.h"
#include "UQVImageSelect.h"
#include "UQVImageShow.h"

namespace {

QImage Picture(int width, int height, QColor color)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(color);
    return picture;
}

// Runs the action on the first modal dialog of type T that opens.
template <typename T, typename F>
void WhenModal(QObject *context, F action)
{
    auto *timer = new QTimer(context);
    QObject::connect(timer, &QTimer::timeout, context, [timer, action] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(dialog);
        }
    });
    timer->start(10);
}

} // namespace

class TestQVImage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void LoadsPictureOfEachRecordAndClearsOnClose();
    void EditStateSwitchesDoubleClickAndMenu();
    void CroppedPictureIsPostedAsJpeg();
    void UnchangedPictureKeepsItsBytes();
    void ClearedPictureWritesNull();
    void BrowseDoubleClickShowsViewerOnlyWithPicture();
    void KeyboardReachesViewerAndMenu();

private:
    QByteArray StoredImage(int themeId) const;

    std::unique_ptr<TTestBank> FBank;
    std::unique_ptr<TScriptedMessages> FMessages;
    std::unique_ptr<QWidget> FForm;
    TQVAdoQuery *FQuery = nullptr;
    TQVImage *FImage = nullptr;
    QByteArray FJpeg;
};

void TestQVImage::init()
{
    FBank = std::make_unique<TTestBank>();
    FMessages = std::make_unique<TScriptedMessages>();
    FJpeg = EncodeJpeg(Picture(120, 150, Qt::blue));
    FBank->AddTheme(1, {{"ThemeImage", FJpeg}});
    FBank->AddTheme(2);
    FBank->AddTheme(3, {{"ThemeImage", QByteArray("not a picture")}});
    FForm = std::make_unique<QWidget>();
    FForm->setObjectName("FrmTest");
    FQuery = new TQVAdoQuery(FForm.get());
    FQuery->SetConnection(DM->ACon);
    FQuery->SetSQL("select * from T_KS_THEME order by ThemeID");
    FImage = new TQVImage(FForm.get());
    FImage->setObjectName("ImgTheme");
    FImage->resize(160, 200);
    FImage->SetDataSet(FQuery);
    FImage->SetEditFieldName("ThemeImage");
    FForm->show();
}

void TestQVImage::cleanup()
{
    FForm.reset();
    FMessages.reset();
    FBank.reset();
}

QByteArray TestQVImage::StoredImage(int themeId) const
{
    return FBank->Scalar(QStringLiteral("select ThemeImage from T_KS_THEME where ThemeID=%1").arg(themeId)).toByteArray();
}

void TestQVImage::LoadsPictureOfEachRecordAndClearsOnClose()
{
    FQuery->Open();
    QCOMPARE(FImage->Picture().size(), QSize(120, 150));
    FQuery->Next();
    QVERIFY(FImage->Picture().isNull());
    FQuery->Next();
    // Bytes that are no JPEG show no picture and raise nothing.
    QVERIFY(FImage->Picture().isNull());
    QCOMPARE(FMessages->Count(), 0);
    FQuery->First();
    QVERIFY(!FImage->Picture().isNull());
    FQuery->Close();
    QVERIFY(FImage->Picture().isNull());
}

void TestQVImage::EditStateSwitchesDoubleClickAndMenu()
{
    auto *display = FImage->findChild<QWidget *>("Image1");
    const auto actions = FImage->findChild<QMenu *>()->actions();
    QCOMPARE(display->toolTip(), QStringLiteral("双击显示图片"));
    FQuery->Open();
    QCOMPARE(actions[0]->text(), QStringLiteral("显示图片"));
    QVERIFY(!actions[2]->isEnabled());
    FQuery->Edit();
    QCOMPARE(display->toolTip(), QStringLiteral("双击选择图片"));
    QCOMPARE(actions[0]->text(), QStringLiteral("选择图片"));
    QVERIFY(actions[2]->isEnabled());
    FQuery->Cancel();
    QCOMPARE(display->toolTip(), QStringLiteral("双击显示图片"));
}

void TestQVImage::CroppedPictureIsPostedAsJpeg()
{
    const QString fileName = FBank->AppPath() + "photo.jpg";
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(EncodeJpeg(Picture(400, 500, Qt::green)));
    file.close();

    FQuery->Open();
    FQuery->Next();
    FQuery->Edit();
    bool dialogSeen = false;
    WhenModal<TFrmQVImageSelect>(this, [&](TFrmQVImageSelect *dialog) {
        dialogSeen = true;
        QVERIFY(dialog->LoadPictureFile(fileName));
        dialog->findChild<QPushButton *>("BtnOk")->click();
    });
    QTest::mouseDClick(FImage->findChild<QWidget *>("Image1"), Qt::LeftButton);
    QVERIFY(dialogSeen);
    // The default frame of 160 x 200 is cut; under 240 wide it stays so.
    QCOMPARE(FImage->Picture().size(), QSize(160, 200));
    FQuery->Post();

    const QImage stored = DecodeJpeg(StoredImage(2));
    QCOMPARE(stored.size(), QSize(160, 200));
    QVERIFY(qGreen(stored.pixel(80, 100)) > 200);
    QVERIFY(QFile::exists(FBank->AppPath() + "ImgConfig.Cfg"));
    QVERIFY(ReadCropSettings(FBank->AppPath() + "ImgConfig.Cfg", "FrmTest-ImgTheme").has_value());
}

void TestQVImage::UnchangedPictureKeepsItsBytes()
{
    FQuery->Open();
    FQuery->Edit();
    FQuery->Post();
    QCOMPARE(StoredImage(1), FJpeg);
    FQuery->Last();
    FQuery->Edit();
    FQuery->FieldByName("ThemeContent")->SetValue("改过的题目");
    FQuery->Post();
    QCOMPARE(StoredImage(3), QByteArray("not a picture"));
}

void TestQVImage::ClearedPictureWritesNull()
{
    FQuery->Open();
    FQuery->Edit();
    FImage->findChild<QMenu *>()->actions()[2]->trigger();
    QVERIFY(FImage->Picture().isNull());
    FQuery->Post();
    QVERIFY(FBank->Scalar("select ThemeImage from T_KS_THEME where ThemeID=1").isNull());
}

void TestQVImage::BrowseDoubleClickShowsViewerOnlyWithPicture()
{
    FQuery->Open();
    QString shownTitle;
    WhenModal<TFrmQVImageShow>(this, [&](TFrmQVImageShow *viewer) {
        shownTitle = viewer->windowTitle();
        viewer->reject();
    });
    QTest::mouseDClick(FImage->findChild<QWidget *>("Image1"), Qt::LeftButton);
    QCOMPARE(shownTitle, QStringLiteral("图片显示"));

    // Without a picture nothing opens (a modal loop would hang the test).
    FQuery->Next();
    QTest::mouseDClick(FImage->findChild<QWidget *>("Image1"), Qt::LeftButton);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestQVImage::KeyboardReachesViewerAndMenu()
{
    FQuery->Open();
    QVERIFY(FImage->focusPolicy() & Qt::TabFocus);
    FForm->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(FForm.get()));
    FImage->clearFocus();
    const QImage unfocused = FImage->grab().toImage();
    FImage->setFocus(Qt::TabFocusReason);
    QVERIFY(FImage->hasFocus());
    QVERIFY2(FImage->grab().toImage() != unfocused, "the focus is not shown");
    QString shownTitle;
    WhenModal<TFrmQVImageShow>(this, [&](TFrmQVImageShow *viewer) {
        shownTitle = viewer->windowTitle();
        viewer->reject();
    });
    QTest::keyClick(FImage, Qt::Key_Return);
    QCOMPARE(shownTitle, QStringLiteral("图片显示"));

    // The menu key's menu, as the window system sends it to the focus.
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(), FImage->mapToGlobal(QPoint()));
    QApplication::sendEvent(FImage, &menuKey);
    auto *menu = FImage->findChild<QMenu *>();
    QVERIFY(menu && menu->isVisible());
    QCOMPARE(menu->actions().constFirst()->text(), QStringLiteral("显示图片"));
    menu->close();
}

QTEST_MAIN(TestQVImage)

#include "tst_QVImage.moc"
