#include "UQVImageSelect.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QVideoFrame>
#include <QVideoSink>

#include "UApplication.h"
#include "UError.h"
#include "UJpeg.h"
#include "UQVCamera.h"
#include "UQVControlComm.h"
#include "UQVPictureBox.h"

namespace {

// Every kind of picture Qt reads, the JPEG and bitmap kinds also on their own.
QString ImageFilter()
{
    QStringList patterns;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    return QStringLiteral("所有文件(%1);;JPG(*.jpg);;JPEG(*.jpeg);;Bitmaps (*.bmp)").arg(patterns.join(QLatin1Char(' ')));
}

QImage ReadPictureFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (LooksLikeJpeg(bytes)) {
        try {
            return DecodeJpeg(bytes);
        } catch (const EJpegError &) {
            return {};
        }
    }
    // The other formats are told apart by their content, not the file's name.
    return QImage::fromData(bytes);
}

} // namespace

TFrmQVImageSelect::TFrmQVImageSelect(const QString &folder, QWidget *parent)
    : QDialog(parent),
      FFolder(folder)
{
    setWindowTitle(QStringLiteral("图像裁剪工具"));
    CreateControls();
}

TFrmQVImageSelect::~TFrmQVImageSelect()
{
    StopCamera();
}

void TFrmQVImageSelect::CreateControls()
{
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    WorkSpace = new QWidget;
    ImgWork = new TQVPictureBox(TQVPictureBox::pmActualSize, WorkSpace);
    ImgWork->setObjectName(QStringLiteral("ImgWork"));
    ShpFrame = new TQVCropShape(WorkSpace);
    ShpFrame->setObjectName(QStringLiteral("ShpFrame"));
    ScrollBox1->setWidget(WorkSpace);

    GrpSize = new QGroupBox(QStringLiteral(" 图片原始尺寸 "), this);
    LabPicWidth = new QLabel(QStringLiteral("0"), GrpSize);
    LabPicHeight = new QLabel(QStringLiteral("0"), GrpSize);
    auto *sizeLayout = new QHBoxLayout(GrpSize);
    sizeLayout->addWidget(new QLabel(QStringLiteral("宽："), GrpSize));
    sizeLayout->addWidget(LabPicWidth, 1);
    sizeLayout->addWidget(new QLabel(QStringLiteral("高："), GrpSize));
    sizeLayout->addWidget(LabPicHeight, 1);

    GrpFrame = new QGroupBox(QStringLiteral(" 裁剪框属性 "), this);
    SpinHeight = new QSpinBox(GrpFrame);
    SpinHeight->setObjectName(QStringLiteral("SpinHeight"));
    SpinHeight->setRange(CutSpinMin, CutSpinMax);
    SpinHeight->setValue(FModel.HeightSpin());
    SpinWidth = new QSpinBox(GrpFrame);
    SpinWidth->setObjectName(QStringLiteral("SpinWidth"));
    SpinWidth->setRange(CutSpinMin, CutSpinMax);
    SpinWidth->setValue(FModel.WidthSpin());
    ChkZip = new QCheckBox(QStringLiteral("按比例压缩"), GrpFrame);
    ChkImgPos = new QCheckBox(QStringLiteral("允许超出图像范围"), GrpFrame);
    auto *frameLayout = new QGridLayout(GrpFrame);
    frameLayout->addWidget(new QLabel(QStringLiteral("高："), GrpFrame), 0, 0);
    frameLayout->addWidget(SpinHeight, 0, 1);
    frameLayout->addWidget(new QLabel(QStringLiteral("宽："), GrpFrame), 1, 0);
    frameLayout->addWidget(SpinWidth, 1, 1);
    frameLayout->addWidget(ChkZip, 2, 0, 1, 2);
    frameLayout->addWidget(ChkImgPos, 3, 0, 1, 2);

    ChkSaveSettings = new QCheckBox(QStringLiteral("退出时保存本次设置"), this);
    ChkSaveSettings->setChecked(true);
    ChkCamera = new QCheckBox(QStringLiteral("开启摄像头"), this);
    BtnFile = new QPushButton(QStringLiteral("文件加载"), this);
    BtnClipboard = new QPushButton(QStringLiteral("剪切板粘贴"), this);
    BtnCamera = new QPushButton(QStringLiteral("摄像头获取"), this);
    BtnCamera->setEnabled(false);
    BtnOk = new QPushButton(QStringLiteral("确定"), this);
    BtnCancel = new QPushButton(QStringLiteral("取消"), this);
    BtnOk->setAutoDefault(false);
    BtnCancel->setAutoDefault(false);

    GrpCamera = new QGroupBox(QStringLiteral("摄像头预览"), this);
    GrpCamera->setObjectName(QStringLiteral("GrpCamera"));
    PnlCamera = new QWidget(GrpCamera);
    PnlCamera->setFixedSize(176, 132);
    PnlCamera->setAutoFillBackground(true);
    PnlCamera->setBackgroundRole(QPalette::Mid);
    auto *cameraLayout = new QVBoxLayout(GrpCamera);
    cameraLayout->addWidget(PnlCamera, 0, Qt::AlignCenter);

    GrpPreview = new QGroupBox(QStringLiteral(" 图像预览   "), this);
    ImgPreview = new TQVFitLabel(GrpPreview);
    ImgPreview->setObjectName(QStringLiteral("ImgPreview"));
    ImgPreview->setFixedSize(80, 100);
    ImgPreview->setFrameShape(QFrame::Box);
    auto *previewLayout = new QVBoxLayout(GrpPreview);
    previewLayout->addWidget(ImgPreview, 0, Qt::AlignCenter);

    auto *sourceLayout = new QGridLayout;
    sourceLayout->addWidget(BtnFile, 0, 0);
    sourceLayout->addWidget(BtnClipboard, 0, 1);
    sourceLayout->addWidget(ChkCamera, 1, 0);
    sourceLayout->addWidget(BtnCamera, 1, 1);
    auto *okLayout = new QHBoxLayout;
    okLayout->addWidget(BtnOk);
    okLayout->addWidget(BtnCancel);

    auto *side = new QVBoxLayout;
    side->addWidget(GrpSize);
    side->addWidget(GrpFrame);
    side->addWidget(ChkSaveSettings);
    side->addLayout(sourceLayout);
    side->addWidget(GrpCamera);
    side->addWidget(GrpPreview);
    side->addStretch(1);
    side->addLayout(okLayout);

    auto *main = new QHBoxLayout(this);
    main->addWidget(ScrollBox1, 1);
    main->addLayout(side);
    resize(900, 680);

    const QList<QWidget *> named{GrpSize,   LabPicWidth,     LabPicHeight, GrpFrame,  ChkZip,
                                 ChkImgPos, ChkSaveSettings, ChkCamera,    BtnFile,   BtnClipboard,
                                 BtnCamera, BtnOk,           BtnCancel,    PnlCamera, GrpPreview};
    const QStringList names{"GrpSize",   "LabPicWidth",     "LabPicHeight", "GrpFrame",  "ChkZip",
                            "ChkImgPos", "ChkSaveSettings", "ChkCamera",    "BtnFile",   "BtnClipboard",
                            "BtnCamera", "BtnOk",           "BtnCancel",    "PnlCamera", "GrpPreview"};
    for (int i = 0; i < named.size(); ++i)
        named[i]->setObjectName(names[i]);

    FSink = new QVideoSink(this);

    connect(SpinHeight, &QSpinBox::valueChanged, this, &TFrmQVImageSelect::SpinHeightChange);
    connect(SpinWidth, &QSpinBox::valueChanged, this, &TFrmQVImageSelect::SpinWidthChange);
    connect(ChkImgPos, &QCheckBox::clicked, this, &TFrmQVImageSelect::ChkImgPosClick);
    connect(ChkCamera, &QCheckBox::clicked, this, &TFrmQVImageSelect::ChkCameraClick);
    connect(ScrollBox1->horizontalScrollBar(), &QScrollBar::valueChanged, this, &TFrmQVImageSelect::ScrollChange);
    connect(ScrollBox1->verticalScrollBar(), &QScrollBar::valueChanged, this, &TFrmQVImageSelect::ScrollChange);
    connect(ShpFrame, &TQVCropShape::MouseMoved, this, &TFrmQVImageSelect::ShapeMouseMove);
    connect(ShpFrame, &TQVCropShape::MousePressed, this, &TFrmQVImageSelect::ShapeMousePress);
    connect(ShpFrame, &TQVCropShape::MouseReleased, this, &TFrmQVImageSelect::ShapeMouseRelease);
    connect(ImgWork, &TQVPictureBox::MousePressed, this, &TFrmQVImageSelect::WorkPicturePress);
    connect(BtnFile, &QPushButton::clicked, this, &TFrmQVImageSelect::BtnFileClick);
    connect(BtnClipboard, &QPushButton::clicked, this, &TFrmQVImageSelect::BtnClipboardClick);
    connect(BtnCamera, &QPushButton::clicked, this, &TFrmQVImageSelect::BtnCameraClick);
    connect(BtnOk, &QPushButton::clicked, this, &TFrmQVImageSelect::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    ShowFrame();
}

void TFrmQVImageSelect::SetStartFrameSize(const QSize &size)
{
    FModel.ChangeWidthSpin(size.width());
    FModel.ChangeHeightSpin(size.height());
    ShowFrame();
}

void TFrmQVImageSelect::SetCameraDevice(std::unique_ptr<TQVCameraDevice> device)
{
    StopCamera();
    FCameraDevice = std::move(device);
}

void TFrmQVImageSelect::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!FOpened) {
        FOpened = true;
        FormShow();
    }
}

void TFrmQVImageSelect::closeEvent(QCloseEvent *event)
{
    StopCamera();
    QDialog::closeEvent(event);
}

void TFrmQVImageSelect::FormShow()
{
    FModel.SetShown(false);
    if (!FPassedPicture.isNull()) {
        FWork = FPassedPicture.convertToFormat(QImage::Format_RGB32);
        FModel.SetPicture(FWork.size());
        ImgWork->SetPicture(FWork);
        ShowPictureSize();
    }
    ReadSettings();
    FModel.Clamp();
    FModel.SetShown(true);
    ShowFrame();
}

QString TFrmQVImageSelect::SettingsFileName() const
{
    return FFolder + QStringLiteral("ImgConfig.Cfg");
}

void TFrmQVImageSelect::ReadSettings()
{
    const std::optional<TCropSettings> settings = ReadCropSettings(SettingsFileName(), FSettingsSection);
    if (!settings)
        return;
    if (settings->CutWidth)
        FModel.ChangeWidthSpin(*settings->CutWidth);
    if (settings->CutHeight)
        FModel.ChangeHeightSpin(*settings->CutHeight);
    const QPoint at = FModel.FrameInWorkArea();
    FModel.MoveFrameInWorkArea({settings->CutLeft.value_or(at.x()), settings->CutTop.value_or(at.y())});
    ChkZip->setChecked(settings->CheckZip);
    ChkImgPos->setChecked(settings->CheckImgPos);
    FModel.SetAllowOutside(settings->CheckImgPos);
}

void TFrmQVImageSelect::WriteSettings()
{
    TCropSettings settings;
    settings.CutWidth = FModel.Frame().width();
    settings.CutHeight = FModel.Frame().height();
    settings.CutLeft = FModel.FrameInWorkArea().x();
    settings.CutTop = FModel.FrameInWorkArea().y();
    settings.CheckZip = ChkZip->isChecked();
    settings.CheckImgPos = ChkImgPos->isChecked();
    WriteCropSettings(SettingsFileName(), FSettingsSection, settings);
}

void TFrmQVImageSelect::TakeIn(const QImage &picture)
{
    QImage bitmap = picture.convertToFormat(QImage::Format_RGB32);
    if (FFitBigPicture) {
        const QSize fitted = FitBigPictureSize(bitmap.size(), ScrollBox1->size());
        if (fitted != bitmap.size())
            bitmap = StretchPicture(picture, fitted).convertToFormat(QImage::Format_RGB32);
    }
    FWork = bitmap;
    ImgWork->SetPicture(FWork);
    ShowPictureSize();
    FModel.SetPicture(FWork.size());
    FModel.Clamp();
    ShowFrame();
}

void TFrmQVImageSelect::ShowPictureSize()
{
    LabPicWidth->setText(QString::number(FWork.width()));
    LabPicHeight->setText(QString::number(FWork.height()));
}

void TFrmQVImageSelect::ShowFrame()
{
    {
        const QSignalBlocker blockHeight(SpinHeight);
        const QSignalBlocker blockWidth(SpinWidth);
        SpinHeight->setValue(FModel.HeightSpin());
        SpinWidth->setValue(FModel.WidthSpin());
    }
    const QRect frame = FModel.Frame();
    // The work space grows with a frame that runs past the picture so that
    // the scroll bars reach it.
    WorkSpace->resize(qMax(FWork.width(), frame.right() + 1), qMax(FWork.height(), frame.bottom() + 1));
    ShpFrame->setGeometry(frame);
    ShpFrame->raise();
    UpdatePreview();
}

void TFrmQVImageSelect::UpdatePreview()
{
    FPreview = CutPicture(FWork, FModel.Frame());
    ImgPreview->setPixmap(FPreview.isNull() ? QPixmap() : QPixmap::fromImage(FPreview));
}

void TFrmQVImageSelect::SpinHeightChange(int value)
{
    FModel.ChangeHeightSpin(value);
    ShowFrame();
}

void TFrmQVImageSelect::SpinWidthChange(int value)
{
    FModel.ChangeWidthSpin(value);
    ShowFrame();
}

void TFrmQVImageSelect::ChkImgPosClick()
{
    FModel.SetAllowOutside(ChkImgPos->isChecked());
    FModel.Clamp();
    ShowFrame();
}

void TFrmQVImageSelect::ScrollChange()
{
    FModel.SetScroll({ScrollBox1->horizontalScrollBar()->value(), ScrollBox1->verticalScrollBar()->value()});
}

void TFrmQVImageSelect::ShapeMouseMove(const QPoint &pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    if (buttons == Qt::NoButton) {
        switch (FModel.CursorAt(pos)) {
        case TCropCursor::Normal: ShpFrame->unsetCursor(); break;
        case TCropCursor::SizeWE: ShpFrame->setCursor(Qt::SizeHorCursor); break;
        case TCropCursor::SizeNS: ShpFrame->setCursor(Qt::SizeVerCursor); break;
        }
        return;
    }
    if (buttons != Qt::LeftButton || modifiers != Qt::NoModifier)
        return;
    FModel.DragTo(pos, FDragCursor);
    ShowFrame();
}

void TFrmQVImageSelect::ShapeMousePress(const QPoint &pos)
{
    FModel.Press(pos);
    // The cursor of the press decides the whole drag, so a fast pull does
    // not turn a resize into a move.
    FDragCursor = FModel.CursorAt(pos);
}

void TFrmQVImageSelect::ShapeMouseRelease()
{
    UpdatePreview();
}

void TFrmQVImageSelect::WorkPicturePress(const QPoint &pos)
{
    FModel.CentreOn(pos);
    ShowFrame();
}

bool TFrmQVImageSelect::LoadPictureFile(const QString &fileName)
{
    const QImage picture = ReadPictureFile(fileName);
    if (picture.isNull())
        return false;
    TakeIn(picture);
    return true;
}

void TFrmQVImageSelect::BtnFileClick()
{
    QFileDialog dialog(this, QString(), QFileInfo(FLastFileName).absolutePath(), ImageFilter());
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (ExecModal(dialog) != 1 || dialog.selectedFiles().isEmpty())
        return;
    const QString fileName = dialog.selectedFiles().constFirst();
    FLastFileName = fileName;
    if (!LoadPictureFile(fileName))
        QVShowError(QStringLiteral("无法读取图片文件：") + fileName);
}

void TFrmQVImageSelect::BtnClipboardClick()
{
    const QImage picture = QGuiApplication::clipboard()->image();
    if (!picture.isNull())
        TakeIn(picture);
}

void TFrmQVImageSelect::ChkCameraClick(bool checked)
{
    if (!checked) {
        StopCamera();
        return;
    }
    if (!FCameraDevice)
        FCameraDevice = CreateSystemCamera();
    FCaptureView = new TQVPictureBox(TQVPictureBox::pmFit, GrpCamera);
    FCaptureView->setObjectName(QStringLiteral("My Own Capture Window"));
    FCaptureView->setAutoFillBackground(true);
    FCaptureView->setPalette(QPalette(Qt::black));
    connect(FSink, &QVideoSink::videoFrameChanged, FCaptureView,
            [view = FCaptureView](const QVideoFrame &frame) { view->SetPicture(frame.toImage()); });
    FCaptureView->setGeometry(PnlCamera->geometry());
    FCaptureView->show();
    if (!FCameraDevice->Connect(FSink)) {
        StopCamera();
        QVShowError(QStringLiteral("没有连接摄像头！"));
        return;
    }
    BtnCamera->setEnabled(true);
}

void TFrmQVImageSelect::StopCamera()
{
    if (FCaptureView && FCameraDevice)
        FCameraDevice->Disconnect();
    delete FCaptureView;
    FCaptureView = nullptr;
    if (ChkCamera) {
        const QSignalBlocker block(ChkCamera);
        ChkCamera->setChecked(false);
        BtnCamera->setEnabled(false);
    }
}

void TFrmQVImageSelect::BtnCameraClick()
{
    if (!FCaptureView) {
        QVShowError(QStringLiteral("没有连接摄像头！"));
        return;
    }
    const QImage frame = FCaptureView->Picture();
    const QString fileName = FFolder + QStringLiteral("Image.bmp");
    // Only a frame saved now is loaded: an old Image.bmp is not this frame.
    if (frame.isNull() || !frame.convertToFormat(QImage::Format_RGB32).save(fileName, "BMP"))
        return;
    if (QFileInfo::exists(fileName))
        LoadPictureFile(fileName);
}

void TFrmQVImageSelect::BtnOkClick()
{
    if (FPreview.isNull()) {
        QVShowError(QStringLiteral("没有图片信息！"));
        return;
    }
    if (ChkZip->isChecked() && FPreview.width() > CompressedWidth)
        FPreview = StretchPicture(FPreview, CompressedCutSize(FPreview.size()));
    if (ChkSaveSettings->isChecked()) {
        try {
            WriteSettings();
        } catch (const EExamoraError &error) {
            // The cut is still good; only the remembered frame is lost.
            QVShowError(ErrorText(error));
        }
    }
    FResultFileName = FLastFileName;
    accept();
}

void TQVFitLabel::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    const QPixmap picture = pixmap();
    if (picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect area = contentsRect();
    painter.drawPixmap(CentredFitRect(picture.size(), area.size()).translated(area.topLeft()), picture);
}

TQVCropShape::TQVCropShape(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground);
}

void TQVCropShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QPen pen(QColor(255, 0, 255));
    pen.setWidth(3);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
}

void TQVCropShape::mouseMoveEvent(QMouseEvent *event)
{
    emit MouseMoved(event->position().toPoint(), event->buttons(), event->modifiers());
}

void TQVCropShape::mousePressEvent(QMouseEvent *event)
{
    emit MousePressed(event->position().toPoint());
}

void TQVCropShape::mouseReleaseEvent(QMouseEvent *)
{
    emit MouseReleased();
}
