#include "QVImage.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>

#include "UApplication.h"
#include "UComm.h"
#include "UDM.h"
#include "UJpeg.h"
#include "UQVImageSelect.h"
#include "UQVImageShow.h"
#include "UQVPictureBox.h"

TQVImage::TQVImage(QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    Image1 = new TQVPictureBox(TQVPictureBox::pmFit, this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setContextMenuPolicy(Qt::CustomContextMenu);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(Image1);

    PopupMenu1 = new QMenu(this);
    MnuSelectShow = PopupMenu1->addAction(QString());
    MnuCopy = PopupMenu1->addAction(QStringLiteral("复制图片"));
    MnuClear = PopupMenu1->addAction(QStringLiteral("清除图片"));

    connect(Image1, &TQVPictureBox::DoubleClicked, this, &TQVImage::ImageDblClick);
    connect(Image1, &QWidget::customContextMenuRequested, this, &TQVImage::PopupMenuPopup);
    connect(MnuSelectShow, &QAction::triggered, this, &TQVImage::ImageDblClick);
    connect(MnuCopy, &QAction::triggered, this, &TQVImage::MnuCopyClick);
    connect(MnuClear, &QAction::triggered, this, &TQVImage::MnuClearClick);

    // Not bound yet: the browse presentation.
    Image1->setToolTip(QStringLiteral("双击显示图片"));
    MnuSelectShow->setText(QStringLiteral("显示图片"));
    MnuClear->setEnabled(false);
}

QObject *TQVImage::Holder() const
{
    return FHolder ? FHolder.data() : window();
}

QString TQVImage::SettingsSection() const
{
    const QObject *holder = Holder();
    QString name = holder->objectName();
    if (name.isEmpty())
        name = QString::fromLatin1(holder->metaObject()->className());
    return name + QLatin1Char('-') + objectName();
}

void TQVImage::SetPicture(const QImage &picture)
{
    FPicture = picture;
    FBytes.clear();
    FPictureChanged = true;
    Image1->SetPicture(FPicture);
}

QVariant TQVImage::GetValue()
{
    if (FPictureChanged) {
        FBytes = FPicture.isNull() ? QByteArray() : EncodeJpeg(FPicture);
        FPictureChanged = false;
    }
    if (FBytes.isEmpty())
        return QVariant();
    return FBytes;
}

void TQVImage::SetValue(const QVariant &value)
{
    FBytes = value.isNull() ? QByteArray() : value.toByteArray();
    FPictureChanged = false;
    FPicture = QImage();
    if (!FBytes.isEmpty()) {
        try {
            FPicture = DecodeJpeg(FBytes);
        } catch (const EJpegError &) {
            // Shown as no picture; the bytes stay as they are in the record.
        }
    }
    Image1->SetPicture(FPicture);
}

void TQVImage::ClearPicture()
{
    FBytes.clear();
    FPictureChanged = false;
    FPicture = QImage();
    Image1->SetPicture(FPicture);
}

void TQVImage::UpdateEditState()
{
    if (!DataSet())
        return;
    FSelectOnDblClick = Editing();
    Image1->setToolTip(FSelectOnDblClick ? QStringLiteral("双击选择图片") : QStringLiteral("双击显示图片"));
    MnuSelectShow->setText(FSelectOnDblClick ? QStringLiteral("选择图片") : QStringLiteral("显示图片"));
    MnuClear->setEnabled(FSelectOnDblClick);
}

void TQVImage::ImageDblClick()
{
    if (FSelectOnDblClick)
        OpenCropDialog();
    else
        OpenViewer();
}

namespace {

// The crop dialog keeps its settings beside the program; a run without a
// data module set up uses the executable's folder.
QString CropFolder()
{
    if (!RunContext.AppPath.isEmpty())
        return RunContext.AppPath;
    return AppPathOf(QCoreApplication::applicationDirPath());
}

} // namespace

void TQVImage::OpenCropDialog()
{
    TFrmQVImageSelect dialog(CropFolder(), window());
    dialog.SetKeepRatio(FKeepCutRatio);
    if (FStartCutSize.isValid())
        dialog.SetStartFrameSize(FStartCutSize);
    dialog.SetFitBigPicture(FFitBigPicture);
    dialog.SetSettingsSection(SettingsSection());
    dialog.SetPicture(FPicture);
    if (ExecModal(dialog) != 1)
        return;
    SetPicture(dialog.PreviewPicture().convertToFormat(QImage::Format_RGB32));
    FPictureFileName = dialog.ResultFileName();
}

void TQVImage::OpenViewer()
{
    if (FPicture.isNull())
        return;
    TFrmQVImageShow viewer(FPicture, window());
    ExecModal(viewer);
}

void TQVImage::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: ImageDblClick(); break;
    default: QFrame::keyPressEvent(event);
    }
}

void TQVImage::contextMenuEvent(QContextMenuEvent *event)
{
    // The mouse's menu comes from the picture itself; this is the menu key's.
    PopupMenuPopup(Image1->rect().center());
    event->accept();
}

void TQVImage::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    if (!hasFocus())
        return;
    // Marked as a line edit marks its focus: the frame in the highlight
    // colour, on the margin the picture leaves.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

void TQVImage::PopupMenuPopup(const QPoint &pos)
{
    MnuCopy->setEnabled(!FPicture.isNull());
    PopupMenu1->popup(Image1->mapToGlobal(pos));
}

void TQVImage::MnuCopyClick()
{
    if (!FPicture.isNull())
        QGuiApplication::clipboard()->setImage(FPicture);
}

void TQVImage::MnuClearClick()
{
    SetPicture(QImage());
}
