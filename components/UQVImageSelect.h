#pragma once

#include <memory>

#include <QDialog>
#include <QImage>
#include <QLabel>

#include "UQVCropGeometry.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QVideoSink;
class TQVCameraDevice;
class TQVCropShape;
class TQVPictureBox;

// The crop dialog: takes a picture from a file, the clipboard or the camera,
// lets the user place a crop frame on it and hands the cut back on OK. The
// frame and two options are kept per control in ImgConfig.Cfg.
class TFrmQVImageSelect : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrmQVImageSelect)

public:
    // The folder (ending in the separator) holds ImgConfig.Cfg and the
    // camera's Image.bmp.
    explicit TFrmQVImageSelect(const QString &folder, QWidget *parent = nullptr);
    ~TFrmQVImageSelect() override;

    // Inputs, given before the dialog is shown.
    void SetKeepRatio(bool keep) { FModel.SetKeepRatio(keep); }
    void SetFitBigPicture(bool fit) { FFitBigPicture = fit; }
    void SetSettingsSection(const QString &section) { FSettingsSection = section; }
    void SetPicture(const QImage &picture) { FPassedPicture = picture; }
    // The crop frame's size until ImgConfig.Cfg gives one (default 160 x 200).
    void SetStartFrameSize(const QSize &size);
    // Replaces the system camera (tests feed frames of their own).
    void SetCameraDevice(std::unique_ptr<TQVCameraDevice> device);

    // Outputs after OK: the cut and the last file chosen in the dialog.
    QImage PreviewPicture() const { return FPreview; }
    QString ResultFileName() const { return FResultFileName; }

    // Loads a picture file of any format Qt reads as the work picture;
    // false when it cannot be read (the work picture is then unchanged).
    bool LoadPictureFile(const QString &fileName);
    const TQVCropModel &Model() const { return FModel; }
    QImage WorkPicture() const { return FWork; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void CreateControls();
    void FormShow();
    QString SettingsFileName() const;
    void ReadSettings();
    void WriteSettings();
    void TakeIn(const QImage &picture);
    void ShowPictureSize();
    void ShowFrame();
    void UpdatePreview();

    void SpinHeightChange(int value);
    void SpinWidthChange(int value);
    void ChkImgPosClick();
    void ChkCameraClick(bool checked);
    void ScrollChange();
    void ShapeMouseMove(const QPoint &pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void ShapeMousePress(const QPoint &pos);
    void ShapeMouseRelease();
    void WorkPicturePress(const QPoint &pos);
    void BtnFileClick();
    void BtnClipboardClick();
    void BtnCameraClick();
    void BtnOkClick();
    void StopCamera();

    TQVCropModel FModel;
    TCropCursor FDragCursor = TCropCursor::Normal;
    bool FFitBigPicture = false;
    bool FOpened = false;
    QString FFolder;
    QString FSettingsSection;
    QString FResultFileName;
    QString FLastFileName;
    QImage FPassedPicture;
    QImage FWork;
    QImage FPreview;
    std::unique_ptr<TQVCameraDevice> FCameraDevice;
    QVideoSink *FSink = nullptr;
    TQVPictureBox *FCaptureView = nullptr;

    QScrollArea *ScrollBox1 = nullptr;
    QWidget *WorkSpace = nullptr;
    TQVPictureBox *ImgWork = nullptr;
    TQVCropShape *ShpFrame = nullptr;
    QGroupBox *GrpSize = nullptr;
    QLabel *LabPicWidth = nullptr;
    QLabel *LabPicHeight = nullptr;
    QGroupBox *GrpFrame = nullptr;
    QSpinBox *SpinHeight = nullptr;
    QSpinBox *SpinWidth = nullptr;
    QCheckBox *ChkZip = nullptr;
    QCheckBox *ChkImgPos = nullptr;
    QCheckBox *ChkSaveSettings = nullptr;
    QCheckBox *ChkCamera = nullptr;
    QPushButton *BtnFile = nullptr;
    QPushButton *BtnClipboard = nullptr;
    QPushButton *BtnCamera = nullptr;
    QPushButton *BtnOk = nullptr;
    QPushButton *BtnCancel = nullptr;
    QGroupBox *GrpCamera = nullptr;
    QWidget *PnlCamera = nullptr;
    QGroupBox *GrpPreview = nullptr;
    QLabel *ImgPreview = nullptr;
};

// A label that shows its pixmap fitted into it with its shape kept.
class TQVFitLabel : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TQVFitLabel)

public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// The crop frame: an outline without fill whose whole area takes the mouse.
class TQVCropShape : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TQVCropShape)

public:
    explicit TQVCropShape(QWidget *parent = nullptr);

signals:
    void MouseMoved(const QPoint &pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void MousePressed(const QPoint &pos);
    void MouseReleased();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
