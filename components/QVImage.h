#pragma once

#include <QByteArray>
#include <QFrame>
#include <QImage>
#include <QPointer>

#include "UQVBinding.h"

class QAction;
class QMenu;
class TQVPictureBox;

// The picture field control: shows the JPEG picture of a blob field of its
// query. A double-click opens the crop dialog while the query edits and
// the viewer otherwise; the picture goes back to the field as JPEG data
// when the query posts. By keyboard, Enter or Space does what the
// double-click does and the menu key opens the menu.
class TQVImage : public QFrame, public TQVPictureBinding
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TQVImage)

public:
    explicit TQVImage(QWidget *parent = nullptr);

    bool FitBigPicture() const { return FFitBigPicture; }
    void SetFitBigPicture(bool fit) { FFitBigPicture = fit; }
    bool KeepCutRatio() const { return FKeepCutRatio; }
    void SetKeepCutRatio(bool keep) { FKeepCutRatio = keep; }
    // The crop frame the dialog opens with while ImgConfig.Cfg holds none;
    // the dialog's own default when invalid.
    QSize StartCutSize() const { return FStartCutSize; }
    void SetStartCutSize(const QSize &size) { FStartCutSize = size; }
    QString PictureFileName() const { return FPictureFileName; }
    // The component whose name leads the settings section; the control's
    // window when none is set.
    QObject *Holder() const;
    void SetHolder(QObject *holder) { FHolder = holder; }
    // Holder's name + "-" + the control's name: its section of ImgConfig.Cfg.
    QString SettingsSection() const;

    QImage Picture() const { return FPicture; }
    // A picture set here is encoded anew at the next post.
    void SetPicture(const QImage &picture);

    bool CheckValue() override { return true; }
    // The JPEG bytes of the picture; null when the control shows none.
    QVariant GetValue() override;
    void SetValue(const QVariant &value) override;
    void UpdateEditState() override;
    void ClearPicture() override;

    void OpenCropDialog();
    void OpenViewer();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void ImageDblClick();
    void PopupMenuPopup(const QPoint &pos);
    void MnuCopyClick();
    void MnuClearClick();

    TQVPictureBox *Image1;
    QMenu *PopupMenu1;
    QAction *MnuSelectShow;
    QAction *MnuCopy;
    QAction *MnuClear;
    bool FFitBigPicture = true;
    bool FKeepCutRatio = true;
    QSize FStartCutSize;
    bool FSelectOnDblClick = false;
    QString FPictureFileName;
    QPointer<QObject> FHolder;
    QImage FPicture;
    // The field's bytes as loaded, written back unchanged unless the
    // picture was replaced: no second JPEG pass, and bytes this control
    // cannot decode are not lost by saving the record.
    QByteArray FBytes;
    bool FPictureChanged = false;
};
