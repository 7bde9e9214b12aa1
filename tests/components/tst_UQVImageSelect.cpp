#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QImageReader>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <QVideoSink>

#include "TestSupport.h"
#include "UJpeg.h"
#include "UQVCamera.h"
#include "UQVImageSelect.h"
#include "UQVImageShow.h"

namespace {

QImage Picture(int width, int height, QColor color = Qt::darkCyan)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(color);
    return picture;
}

// A camera that streams whatever frames the test hands it.
class TFakeCamera : public TQVCameraDevice
{
public:
    explicit TFakeCamera(bool present)
        : FPresent(present)
    {
    }
    bool Connect(QVideoSink *sink) override
    {
        Sink = FPresent ? sink : nullptr;
        return FPresent;
    }
    void Disconnect() override { Sink = nullptr; }

    void Feed(const QImage &image) const
    {
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        QVideoFrame frame(QVideoFrameFormat(rgb.size(), QVideoFrameFormat::Format_BGRX8888));
        QVERIFY(frame.map(QVideoFrame::WriteOnly));
        for (int y = 0; y < rgb.height(); ++y)
            memcpy(frame.bits(0) + y * frame.bytesPerLine(0), rgb.constScanLine(y), size_t(rgb.width()) * 4);
        frame.unmap();
        Sink->setVideoFrame(frame);
    }

    QVideoSink *Sink = nullptr;

private:
    bool FPresent;
};

void SendMouse(QWidget *widget, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class TestUQVImageSelect : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void OpeningFitsRatioFrameToSmallPicture();
    void PictureTakenInOnceOpenCutsSquare();
    void SpinsKeepRatio();
    void ConfirmCompressesAndWritesSettings_data();
    void ConfirmCompressesAndWritesSettings();
    void SettingsAreReadWhenOpening();
    void ConfirmWithoutPictureStaysOpen();
    void CancelWritesNoSettings();
    void UnwritableFolderStillHandsTheCutBack();
    void MouseMovesResizesAndCentresFrame();
    void OutsideAllowedShowsEmptyPixels();
    void FitBigPictureScalesToWorkArea();
    void ClipboardAndFileSources();
    void CameraFrameIsSavedAndLoaded();
    void NoCameraSaysSoAndDoesNothing();
    void ViewerShowsSizesAndKeepsCloseButtonCentred();
    void FilesOfEveryWritableFormatLoad();
    void PreviewKeepsTheCutsShape();
    void StartFrameGivesWayToSettings();

private:
    // The dialog's folder: settings and camera frames land in it.
    QString Folder() const { return FDir->path() + QLatin1Char('/'); }
    void WriteSettingsFile(const QByteArray &text) const;

    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<TScriptedMessages> FMessages;
};

void TestUQVImageSelect::init()
{
    FDir = std::make_unique<QTemporaryDir>();
    FMessages = std::make_unique<TScriptedMessages>();
}

void TestUQVImageSelect::cleanup()
{
    FMessages.reset();
    FDir.reset();
}

void TestUQVImageSelect::WriteSettingsFile(const QByteArray &text) const
{
    QFile file(FDir->filePath("ImgConfig.Cfg"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

void TestUQVImageSelect::OpeningFitsRatioFrameToSmallPicture()
{
    TFrmQVImageSelect dialog(Folder());
    dialog.SetKeepRatio(true);
    dialog.SetPicture(Picture(100, 100));
    dialog.show();
    QCOMPARE(dialog.Model().Frame(), QRect(0, 0, 80, 100));
    QCOMPARE(dialog.findChild<QSpinBox *>("SpinWidth")->value(), 80);
    QCOMPARE(dialog.findChild<QSpinBox *>("SpinHeight")->value(), 100);
    QCOMPARE(dialog.PreviewPicture().size(), QSize(80, 100));
    QCOMPARE(dialog.findChild<QWidget *>("ShpFrame")->geometry(), QRect(0, 0, 80, 100));
}

void TestUQVImageSelect::PictureTakenInOnceOpenCutsSquare()
{
    const QString fileName = FDir->filePath("square.jpg");
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(EncodeJpeg(Picture(100, 100)));
    file.close();
    for (bool keepRatio : {true, false}) {
        TFrmQVImageSelect dialog(Folder());
        dialog.SetKeepRatio(keepRatio);
        dialog.show();
        QVERIFY(dialog.LoadPictureFile(fileName));
        QCOMPARE(dialog.Model().Frame(), QRect(0, 0, 100, 100));
        QCOMPARE(dialog.findChild<QLabel *>("ImgPreview")->pixmap().size(), QSize(100, 100));
    }
}

void TestUQVImageSelect::SpinsKeepRatio()
{
    TFrmQVImageSelect dialog(Folder());
    dialog.SetKeepRatio(true);
    dialog.SetPicture(Picture(1000, 1000));
    dialog.show();
    auto *height = dialog.findChild<QSpinBox *>("SpinHeight");
    auto *width = dialog.findChild<QSpinBox *>("SpinWidth");
    height->setValue(100);
    height->setValue(200);
    QCOMPARE(width->value(), 160);
    width->setValue(161);
    QCOMPARE(height->value(), 201);
    QCOMPARE(dialog.Model().Frame().size(), QSize(161, 201));
    QCOMPARE(dialog.PreviewPicture().size(), QSize(161, 201));
}

void TestUQVImageSelect::ConfirmCompressesAndWritesSettings_data()
{
    QTest::addColumn<QSize>("cut");
    QTest::addColumn<bool>("zip");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("300 x 375 compressed") << QSize(300, 375) << true << QSize(240, 300);
    QTest::newRow("200 x 250 unchanged") << QSize(200, 250) << true << QSize(200, 250);
    QTest::newRow("no compression") << QSize(300, 375) << false << QSize(300, 375);
}

void TestUQVImageSelect::ConfirmCompressesAndWritesSettings()
{
    QFETCH(QSize, cut);
    QFETCH(bool, zip);
    QFETCH(QSize, expected);
    TFrmQVImageSelect dialog(Folder());
    dialog.SetSettingsSection("TFrmEditor-ImgTheme");
    dialog.SetPicture(Picture(600, 600));
    dialog.show();
    dialog.findChild<QCheckBox *>("ChkZip")->setChecked(zip);
    dialog.findChild<QSpinBox *>("SpinWidth")->setValue(cut.width());
    dialog.findChild<QSpinBox *>("SpinHeight")->setValue(cut.height());
    dialog.findChild<QPushButton *>("BtnOk")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.PreviewPicture().size(), expected);
    const std::optional<TCropSettings> saved = ReadCropSettings(FDir->filePath("ImgConfig.Cfg"), "TFrmEditor-ImgTheme");
    QVERIFY(saved.has_value());
    QCOMPARE(saved->CutWidth, std::optional<int>(cut.width()));
    QCOMPARE(saved->CutHeight, std::optional<int>(cut.height()));
    QCOMPARE(saved->CheckZip, zip);
}

void TestUQVImageSelect::SettingsAreReadWhenOpening()
{
    {
        TFrmQVImageSelect dialog(Folder());
        dialog.SetSettingsSection("F-Img");
        dialog.show();
        QVERIFY(!dialog.findChild<QCheckBox *>("ChkZip")->isChecked());
    }
    WriteSettingsFile("[F-Img]\nCutWidth=120\nCutHeight=150\nCutLeft=10\nCutTop=20\nCheckImgPos=1\n");
    TFrmQVImageSelect dialog(Folder());
    dialog.SetSettingsSection("F-Img");
    dialog.SetPicture(Picture(600, 600));
    dialog.show();
    QCOMPARE(dialog.Model().Frame(), QRect(10, 20, 120, 150));
    QVERIFY(dialog.findChild<QCheckBox *>("ChkZip")->isChecked());
    QVERIFY(dialog.findChild<QCheckBox *>("ChkImgPos")->isChecked());
    QVERIFY(dialog.findChild<QCheckBox *>("ChkSaveSettings")->isChecked());
}

void TestUQVImageSelect::ConfirmWithoutPictureStaysOpen()
{
    TFrmQVImageSelect dialog(Folder());
    dialog.show();
    dialog.findChild<QPushButton *>("BtnOk")->click();
    QCOMPARE(FMessages->Count(), 1);
    QCOMPARE(FMessages->Last().Caption, QStringLiteral("错误"));
    QCOMPARE(FMessages->Last().Text, QStringLiteral("没有图片信息！"));
    QVERIFY(dialog.isVisible());
    QVERIFY(!QFile::exists(FDir->filePath("ImgConfig.Cfg")));
}

void TestUQVImageSelect::CancelWritesNoSettings()
{
    TFrmQVImageSelect dialog(Folder());
    dialog.SetPicture(Picture(300, 300));
    dialog.show();
    dialog.findChild<QPushButton *>("BtnCancel")->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!QFile::exists(FDir->filePath("ImgConfig.Cfg")));
}

void TestUQVImageSelect::UnwritableFolderStillHandsTheCutBack()
{
    TFrmQVImageSelect dialog(FDir->filePath("missing") + QLatin1Char('/'));
    dialog.SetPicture(Picture(300, 300));
    dialog.show();
    dialog.findChild<QPushButton *>("BtnOk")->click();
    QCOMPARE(FMessages->Count(), 1);
    QCOMPARE(FMessages->Last().Caption, QStringLiteral("错误"));
    QVERIFY(!FMessages->Last().Text.isEmpty());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.PreviewPicture().isNull());
    QVERIFY(!QFile::exists(FDir->filePath("ImgConfig.Cfg")));
}

void TestUQVImageSelect::MouseMovesResizesAndCentresFrame()
{
    TFrmQVImageSelect dialog(Folder());
    dialog.SetPicture(Picture(600, 600));
    dialog.show();
    auto *shape = dialog.findChild<QWidget *>("ShpFrame");
    SendMouse(shape, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(shape, QEvent::MouseMove, {40, 30}, Qt::NoButton, Qt::LeftButton);
    SendMouse(shape, QEvent::MouseButtonRelease, {40, 30}, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(dialog.Model().Frame(), QRect(30, 20, 160, 200));
    QCOMPARE(shape->geometry(), QRect(30, 20, 160, 200));

    // A move with another button or a modifier does nothing.
    SendMouse(shape, QEvent::MouseButtonPress, {10, 10}, Qt::RightButton, Qt::RightButton);
    SendMouse(shape, QEvent::MouseMove, {50, 50}, Qt::NoButton, Qt::RightButton);
    QCOMPARE(dialog.Model().Frame(), QRect(30, 20, 160, 200));

    SendMouse(shape, QEvent::MouseMove, {158, 100}, Qt::NoButton, Qt::NoButton);
    QCOMPARE(shape->cursor().shape(), Qt::SizeHorCursor);
    SendMouse(shape, QEvent::MouseButtonPress, {158, 100}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(shape, QEvent::MouseMove, {198, 100}, Qt::NoButton, Qt::LeftButton);
    SendMouse(shape, QEvent::MouseButtonRelease, {198, 100}, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(dialog.Model().Frame(), QRect(30, 20, 200, 200));
    QCOMPARE(dialog.findChild<QSpinBox *>("SpinWidth")->value(), 200);
    QCOMPARE(dialog.PreviewPicture().size(), QSize(200, 200));

    auto *picture = dialog.findChild<QWidget *>("ImgWork");
    SendMouse(picture, QEvent::MouseButtonPress, {400, 300}, Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(dialog.Model().Frame(), QRect(300, 200, 200, 200));
}

void TestUQVImageSelect::OutsideAllowedShowsEmptyPixels()
{
    TFrmQVImageSelect dialog(Folder());
    dialog.SetPicture(Picture(200, 200, Qt::yellow));
    dialog.show();
    QCOMPARE(dialog.Model().Frame(), QRect(0, 0, 160, 200));
    dialog.findChild<QCheckBox *>("ChkImgPos")->click();
    auto *shape = dialog.findChild<QWidget *>("ShpFrame");
    SendMouse(shape, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(shape, QEvent::MouseMove, {110, 10}, Qt::NoButton, Qt::LeftButton);
    SendMouse(shape, QEvent::MouseButtonRelease, {110, 10}, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(dialog.Model().Frame(), QRect(100, 0, 160, 200));
    const QImage preview = dialog.PreviewPicture();
    QCOMPARE(QColor(preview.pixel(10, 10)), QColor(Qt::yellow));
    QCOMPARE(QColor(preview.pixel(150, 10)), QColor(Qt::black));

    // Held inside again once the option is switched off.
    dialog.findChild<QCheckBox *>("ChkImgPos")->click();
    SendMouse(shape, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(shape, QEvent::MouseMove, {60, 10}, Qt::NoButton, Qt::LeftButton);
    QVERIFY(dialog.Model().Frame().right() < 200);
}

void TestUQVImageSelect::FitBigPictureScalesToWorkArea()
{
    const QString fileName = FDir->filePath("big.bmp");
    QVERIFY(Picture(3000, 1500).save(fileName, "BMP"));
    for (bool fit : {true, false}) {
        TFrmQVImageSelect dialog(Folder());
        dialog.SetFitBigPicture(fit);
        dialog.show();
        QVERIFY(dialog.LoadPictureFile(fileName));
        const QSize area = dialog.findChild<QWidget *>("ScrollBox1")->size();
        const QSize expected = fit ? FitBigPictureSize({3000, 1500}, area) : QSize(3000, 1500);
        QCOMPARE(dialog.WorkPicture().size(), expected);
        QCOMPARE(dialog.findChild<QLabel *>("LabPicWidth")->text(), QString::number(expected.width()));
        QVERIFY(expected.width() <= qMax(3000 * !fit, area.width() - 10));
    }
}

void TestUQVImageSelect::ClipboardAndFileSources()
{
    TFrmQVImageSelect dialog(Folder());
    dialog.show();
    QGuiApplication::clipboard()->setImage(Picture(50, 60));
    dialog.findChild<QPushButton *>("BtnClipboard")->click();
    QCOMPARE(dialog.WorkPicture().size(), QSize(50, 60));
    QGuiApplication::clipboard()->clear();
    dialog.findChild<QPushButton *>("BtnClipboard")->click();
    QCOMPARE(dialog.WorkPicture().size(), QSize(50, 60));
    QCOMPARE(FMessages->Count(), 0);

    const QString fileName = FDir->filePath("photo.jpg");
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(EncodeJpeg(Picture(320, 400)));
    file.close();
    QTimer picker;
    connect(&picker, &QTimer::timeout, &dialog, [&] {
        // Typed into the name field: selectFile leaves a field that has the
        // focus alone, which it has once the dialog is up before this tick.
        if (auto *files = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            if (auto *name = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                name->setText(fileName);
            QMetaObject::invokeMethod(files, &QDialog::accept, Qt::QueuedConnection);
        }
    });
    picker.start(10);
    dialog.findChild<QPushButton *>("BtnFile")->click();
    picker.stop();
    QCOMPARE(dialog.WorkPicture().size(), QSize(320, 400));
    dialog.findChild<QPushButton *>("BtnOk")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(QFileInfo(dialog.ResultFileName()), QFileInfo(fileName));
}

void TestUQVImageSelect::CameraFrameIsSavedAndLoaded()
{
    TFrmQVImageSelect dialog(Folder());
    auto camera = std::make_unique<TFakeCamera>(true);
    TFakeCamera *fake = camera.get();
    dialog.SetCameraDevice(std::move(camera));
    dialog.show();
    auto *grab = dialog.findChild<QPushButton *>("BtnCamera");
    QVERIFY(!grab->isEnabled());
    dialog.findChild<QCheckBox *>("ChkCamera")->click();
    QVERIFY(grab->isEnabled());
    QVERIFY(fake->Sink);
    auto *view = dialog.findChild<QWidget *>("My Own Capture Window");
    QVERIFY(view);
    QCOMPARE(view->geometry(), dialog.findChild<QWidget *>("PnlCamera")->geometry());

    // No frame yet: nothing is saved or loaded.
    grab->click();
    QVERIFY(!QFile::exists(FDir->filePath("Image.bmp")));
    QVERIFY(dialog.WorkPicture().isNull());

    fake->Feed(Picture(64, 48, Qt::red));
    grab->click();
    QVERIFY(QFile::exists(FDir->filePath("Image.bmp")));
    QCOMPARE(dialog.WorkPicture().size(), QSize(64, 48));
    QCOMPARE(QColor(dialog.WorkPicture().pixel(5, 5)), QColor(Qt::red));

    dialog.findChild<QCheckBox *>("ChkCamera")->click();
    QVERIFY(!fake->Sink);
    QVERIFY(!grab->isEnabled());
    QVERIFY(!dialog.findChild<QWidget *>("My Own Capture Window"));
    QCOMPARE(FMessages->Count(), 0);
}

void TestUQVImageSelect::NoCameraSaysSoAndDoesNothing()
{
    TFrmQVImageSelect dialog(Folder());
    dialog.SetCameraDevice(std::make_unique<TFakeCamera>(false));
    dialog.show();
    auto *check = dialog.findChild<QCheckBox *>("ChkCamera");
    check->click();
    QCOMPARE(FMessages->Count(), 1);
    QCOMPARE(FMessages->Last().Text, QStringLiteral("没有连接摄像头！"));
    QVERIFY(!check->isChecked());
    QVERIFY(!dialog.findChild<QPushButton *>("BtnCamera")->isEnabled());
    QVERIFY(!dialog.findChild<QWidget *>("My Own Capture Window"));
}

void TestUQVImageSelect::ViewerShowsSizesAndKeepsCloseButtonCentred()
{
    TFrmQVImageShow viewer(Picture(300, 200));
    viewer.show();
    QCOMPARE(viewer.windowTitle(), QStringLiteral("图片显示"));
    QVERIFY(viewer.windowState() & Qt::WindowMaximized);
    QCOMPARE(viewer.findChild<QLabel *>("LabWidth")->text(), QStringLiteral("图片宽：300"));
    QCOMPARE(viewer.findChild<QLabel *>("LabHeight")->text(), QStringLiteral("图片高：200"));
    QCOMPARE(viewer.findChild<QLabel *>("Image1")->size(), QSize(300, 200));
    auto *panel = viewer.findChild<QWidget *>("Panel1");
    auto *close = viewer.findChild<QPushButton *>("BtnClose");
    QCOMPARE(close->geometry(), CloseButtonRect(panel->size()));
    viewer.setWindowState(Qt::WindowNoState);
    viewer.resize(641, 480);
    QTRY_COMPARE(panel->width(), 641);
    QCOMPARE(close->geometry(), CloseButtonRect(panel->size()));
    close->click();
    QCOMPARE(viewer.result(), int(QDialog::Rejected));
}

void TestUQVImageSelect::FilesOfEveryWritableFormatLoad()
{
    TFrmQVImageSelect dialog(Folder());
    dialog.show();
    const QList<QByteArray> readable = QImageReader::supportedImageFormats();
    QVERIFY(readable.contains("png"));
    for (const QByteArray &format : QImageWriter::supportedImageFormats()) {
        if (!readable.contains(format))
            continue;
        // Named without the format: the content tells it.
        const QString fileName = FDir->filePath(QStringLiteral("picture-") + QString::fromLatin1(format));
        QVERIFY2(Picture(90, 60).save(fileName, format.constData()), format.constData());
        QVERIFY2(dialog.LoadPictureFile(fileName), format.constData());
        QCOMPARE(dialog.WorkPicture().size(), QSize(90, 60));
    }
    const QString text = FDir->filePath("notes.png");
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("no picture here");
    file.close();
    QVERIFY(!dialog.LoadPictureFile(text));
    QVERIFY(!dialog.LoadPictureFile(FDir->filePath("missing.png")));
    QCOMPARE(dialog.WorkPicture().size(), QSize(90, 60));
}

void TestUQVImageSelect::PreviewKeepsTheCutsShape()
{
    TFrmQVImageSelect dialog(Folder());
    dialog.SetPicture(Picture(400, 300, Qt::red));
    dialog.show();
    dialog.findChild<QSpinBox *>("SpinWidth")->setValue(160);
    dialog.findChild<QSpinBox *>("SpinHeight")->setValue(40);
    auto *preview = dialog.findChild<QLabel *>("ImgPreview");
    QCOMPARE(preview->pixmap().size(), QSize(160, 40));
    // A wide cut in the tall preview: a band across the middle, none above it.
    const QImage shown = preview->grab().toImage();
    QCOMPARE(shown.size(), QSize(80, 100));
    QCOMPARE(QColor(shown.pixel(40, 50)), QColor(Qt::red));
    QCOMPARE(QColor(shown.pixel(10, 40)), QColor(Qt::red));
    QVERIFY(QColor(shown.pixel(40, 20)) != QColor(Qt::red));
    QVERIFY(QColor(shown.pixel(40, 80)) != QColor(Qt::red));
}

void TestUQVImageSelect::StartFrameGivesWayToSettings()
{
    {
        TFrmQVImageSelect dialog(Folder());
        dialog.SetStartFrameSize({320, 224});
        dialog.SetPicture(Picture(600, 600));
        dialog.show();
        QCOMPARE(dialog.Model().Frame(), QRect(0, 0, 320, 224));
        QCOMPARE(dialog.findChild<QSpinBox *>("SpinWidth")->value(), 320);
        QCOMPARE(dialog.findChild<QSpinBox *>("SpinHeight")->value(), 224);
    }
    // A width in the file rules; the height it lacks stays as started.
    WriteSettingsFile("[F-Img]\nCutWidth=100\n");
    TFrmQVImageSelect dialog(Folder());
    dialog.SetSettingsSection("F-Img");
    dialog.SetStartFrameSize({320, 224});
    dialog.SetPicture(Picture(600, 600));
    dialog.show();
    QCOMPARE(dialog.Model().Frame().size(), QSize(100, 224));
}

QTEST_MAIN(TestUQVImageSelect)

#include "tst_UQVImageSelect.moc"
