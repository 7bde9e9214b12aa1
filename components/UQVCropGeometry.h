#pragma once

#include <optional>

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// The crop frame keeps width : height = 0.8 when the ratio is kept, the
// shape of a portrait photo.
constexpr double CutRatio = 0.8;
// A confirmed cut wider than this is compressed to this width.
constexpr int CompressedWidth = 240;
constexpr int CutSpinMin = 1;
constexpr int CutSpinMax = 2000;

// Rounds to the nearest integer, halves to the even neighbour (2.5 → 2,
// 201.25 → 201, 202.5 → 202), the rounding the frame rules are built on.
int RoundHalfEven(double value);
int RatioWidthOf(int height);
int RatioHeightOf(int width);

// The size a picture taken in is scaled to so that it fits a work area of
// the given size less a margin of 10; a picture that fits keeps its size.
QSize FitBigPictureSize(const QSize &picture, const QSize &workArea);
// The size of a confirmed cut: 240 wide and as high as its ratio asks when
// it is wider than 240, else unchanged.
QSize CompressedCutSize(const QSize &cut);
// Where a picture is drawn to fill an area with its shape kept, centred.
QRect CentredFitRect(const QSize &picture, const QSize &area);
// The viewer's close button inside its bottom panel.
QRect CloseButtonRect(const QSize &panel);

// Pixels of the picture under the rectangle (picture coordinates) in a new
// image of the rectangle's size; pixels outside the picture stay black.
QImage CutPicture(const QImage &picture, const QRect &rect);
// The picture stretched to the size with smoothing; null stays null.
QImage StretchPicture(const QImage &picture, const QSize &size);

// One section of ImgConfig.Cfg. A number that is missing or not a number
// leaves the control it governs unchanged.
struct TCropSettings
{
    std::optional<int> CutWidth;
    std::optional<int> CutHeight;
    std::optional<int> CutLeft; // work-area coordinates
    std::optional<int> CutTop;
    bool CheckZip = true;
    bool CheckImgPos = false;
};

// Nothing when the file does not exist (the dialog keeps its defaults); a
// missing section or key reads as the defaults above (compression on).
std::optional<TCropSettings> ReadCropSettings(const QString &fileName, const QString &section);
// Writes the six keys in their order and flushes the file at once; throws
// EExamoraError with the file's reason when it cannot be written.
void WriteCropSettings(const QString &fileName, const QString &section, const TCropSettings &settings);

enum class TCropCursor { Normal, SizeWE, SizeNS };

// The crop frame over the work picture, with the two spins that size it and
// their change rules. The frame is held in picture coordinates; work-area
// coordinates are picture coordinates less the scroll offsets. A spin set
// to its current value runs no rule, as a spin control raises no change.
class TQVCropModel
{
public:
    explicit TQVCropModel(bool keepRatio = false);

    bool KeepRatio() const { return FKeepRatio; }
    void SetKeepRatio(bool keep) { FKeepRatio = keep; }
    bool AllowOutside() const { return FAllowOutside; }
    void SetAllowOutside(bool allow) { FAllowOutside = allow; }
    // False while the dialog is being opened: the clamp then fits a
    // ratio-kept frame to a small picture instead of cutting it square.
    bool Shown() const { return FShown; }
    void SetShown(bool shown) { FShown = shown; }

    QSize Picture() const { return FPicture; }
    void SetPicture(const QSize &picture) { FPicture = picture; }
    QPoint Scroll() const { return FScroll; }
    void SetScroll(const QPoint &scroll) { FScroll = scroll; }

    QRect Frame() const { return FFrame; }
    QPoint FrameInWorkArea() const { return FFrame.topLeft() - FScroll; }
    void MoveFrameInWorkArea(const QPoint &topLeft);
    int HeightSpin() const { return FHeightSpin; }
    int WidthSpin() const { return FWidthSpin; }

    // The change rules of the two spins; values are kept within 1…2000.
    void ChangeHeightSpin(int height);
    void ChangeWidthSpin(int width);
    void Clamp();

    TCropCursor CursorAt(const QPoint &inFrame) const;
    void Press(const QPoint &inFrame);
    // A move with only the left button down: moves the frame or resizes it
    // by the distance from the press, as the cursor of the press says.
    void DragTo(const QPoint &inFrame, TCropCursor cursor);
    // A press on the picture outside the frame centres the frame there.
    void CentreOn(const QPoint &inPicture);

private:
    void TakeSpins();
    void MoveInside(int width, int height);

    bool FKeepRatio;
    bool FAllowOutside = false;
    bool FShown = false;
    QSize FPicture;
    QPoint FScroll;
    QRect FFrame{0, 0, 160, 200};
    int FHeightSpin = 200;
    int FWidthSpin = 160;
    QPoint FPress;
    QSize FPressSpins;
};
