#include "UQVCropGeometry.h"

#include <cmath>

#include <QFileInfo>

#include "UError.h"
#include "UIniFile.h"

int RoundHalfEven(double value)
{
    return int(std::nearbyint(value));
}

int RatioWidthOf(int height)
{
    return RoundHalfEven(height * CutRatio);
}

int RatioHeightOf(int width)
{
    return RoundHalfEven(width / CutRatio);
}

QSize FitBigPictureSize(const QSize &picture, const QSize &workArea)
{
    const int a = workArea.width() - 10;
    const int b = workArea.height() - 10;
    if (picture.isEmpty() || a <= 0 || b <= 0 || (picture.width() <= a && picture.height() <= b))
        return picture;
    const double r = double(picture.width()) / picture.height();
    if (double(a) / b >= r)
        return {RoundHalfEven(r * b), b};
    return {a, RoundHalfEven(a / r)};
}

QSize CompressedCutSize(const QSize &cut)
{
    if (cut.width() <= CompressedWidth || cut.height() <= 0)
        return cut;
    return {CompressedWidth, RoundHalfEven(CompressedWidth / (double(cut.width()) / cut.height()))};
}

QRect CentredFitRect(const QSize &picture, const QSize &area)
{
    const QSize size = picture.scaled(area, Qt::KeepAspectRatio);
    return {QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2), size};
}

QRect CloseButtonRect(const QSize &panel)
{
    const int width = RoundHalfEven(panel.width() / 3.0);
    const int left = RoundHalfEven((panel.width() - width) / 2.0);
    return {left, 2, width, panel.height() - 4};
}

QImage CutPicture(const QImage &picture, const QRect &rect)
{
    if (picture.isNull() || rect.isEmpty())
        return {};
    // QImage::copy fills what lies outside the picture with zero pixels.
    return picture.convertToFormat(QImage::Format_RGB32).copy(rect);
}

QImage StretchPicture(const QImage &picture, const QSize &size)
{
    if (picture.isNull() || size.isEmpty())
        return {};
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

namespace {

std::optional<int> ReadNumber(const TIniFile &ini, const QString &section, const QString &key)
{
    bool ok = false;
    const int value = ini.ReadString(section, key, QString()).trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace

std::optional<TCropSettings> ReadCropSettings(const QString &fileName, const QString &section)
{
    if (!QFileInfo::exists(fileName))
        return std::nullopt;
    const TIniFile ini(fileName);
    TCropSettings settings;
    settings.CutWidth = ReadNumber(ini, section, QStringLiteral("CutWidth"));
    settings.CutHeight = ReadNumber(ini, section, QStringLiteral("CutHeight"));
    settings.CutLeft = ReadNumber(ini, section, QStringLiteral("CutLeft"));
    settings.CutTop = ReadNumber(ini, section, QStringLiteral("CutTop"));
    settings.CheckZip = ini.ReadString(section, QStringLiteral("CheckZip"), QString()) != QLatin1String("0");
    settings.CheckImgPos = ini.ReadString(section, QStringLiteral("CheckImgPos"), QString()) == QLatin1String("1");
    return settings;
}

void WriteCropSettings(const QString &fileName, const QString &section, const TCropSettings &settings)
{
    const auto number = [](const std::optional<int> &value) { return QString::number(value.value_or(0)); };
    const auto flag = [](bool value) { return value ? QStringLiteral("1") : QStringLiteral("0"); };
    TIniFile ini(fileName);
    ini.WriteString(section, QStringLiteral("CutWidth"), number(settings.CutWidth));
    ini.WriteString(section, QStringLiteral("CutHeight"), number(settings.CutHeight));
    ini.WriteString(section, QStringLiteral("CutLeft"), number(settings.CutLeft));
    ini.WriteString(section, QStringLiteral("CutTop"), number(settings.CutTop));
    ini.WriteString(section, QStringLiteral("CheckZip"), flag(settings.CheckZip));
    ini.WriteString(section, QStringLiteral("CheckImgPos"), flag(settings.CheckImgPos));
    try {
        ini.UpdateFile();
    } catch (const std::exception &error) {
        throw EExamoraError(ErrorText(error));
    }
}

TQVCropModel::TQVCropModel(bool keepRatio)
    : FKeepRatio(keepRatio)
{
}

void TQVCropModel::MoveFrameInWorkArea(const QPoint &topLeft)
{
    FFrame.moveTopLeft(topLeft + FScroll);
}

void TQVCropModel::ChangeHeightSpin(int height)
{
    height = qBound(CutSpinMin, height, CutSpinMax);
    if (height == FHeightSpin)
        return;
    FHeightSpin = height;
    if (FKeepRatio)
        ChangeWidthSpin(RatioWidthOf(height));
    TakeSpins();
    Clamp();
}

void TQVCropModel::ChangeWidthSpin(int width)
{
    width = qBound(CutSpinMin, width, CutSpinMax);
    if (width == FWidthSpin)
        return;
    FWidthSpin = width;
    if (FKeepRatio)
        ChangeHeightSpin(RatioHeightOf(width));
    else
        TakeSpins();
    Clamp();
}

void TQVCropModel::TakeSpins()
{
    FFrame.setSize({FWidthSpin, FHeightSpin});
}

void TQVCropModel::Clamp()
{
    if (FAllowOutside || FPicture.isEmpty())
        return;
    const int w = FPicture.width();
    const int h = FPicture.height();
    if (FFrame.width() < w && FFrame.height() < h) {
        MoveInside(w, h);
    } else if (FShown || !FKeepRatio) {
        // The spins take the picture's size silently: their rules would
        // bend the other side to the ratio again.
        if (FFrame.width() >= w) {
            FWidthSpin = qBound(CutSpinMin, w, CutSpinMax);
            FFrame.setWidth(w);
            FFrame.moveLeft(FScroll.x());
        }
        if (FFrame.height() >= h) {
            FHeightSpin = qBound(CutSpinMin, h, CutSpinMax);
            FFrame.setHeight(h);
            FFrame.moveTop(FScroll.y());
        }
        // The side shorter than the picture is held inside it as well, or a
        // frame as high as the picture could stay off its right edge.
        MoveInside(w, h);
    } else {
        // Opening with the ratio kept: the largest ratio frame the picture holds.
        int height = RatioHeightOf(w);
        int width = w;
        if (h < height) {
            height = h;
            width = RatioWidthOf(h);
        }
        ChangeHeightSpin(height);
        ChangeWidthSpin(width);
        MoveFrameInWorkArea({0, 0});
    }
}

void TQVCropModel::MoveInside(int width, int height)
{
    if (FFrame.width() < width) {
        if (FFrame.left() + FFrame.width() > width)
            FFrame.moveLeft(width - FFrame.width());
        if (FFrame.left() <= 0)
            FFrame.moveLeft(0);
    }
    if (FFrame.height() < height) {
        if (FFrame.top() + FFrame.height() > height)
            FFrame.moveTop(height - FFrame.height());
        if (FFrame.top() <= 0)
            FFrame.moveTop(0);
    }
}

TCropCursor TQVCropModel::CursorAt(const QPoint &inFrame) const
{
    if (inFrame.x() > FFrame.width() - 5)
        return TCropCursor::SizeWE;
    if (inFrame.y() > FFrame.height() - 5)
        return TCropCursor::SizeNS;
    return TCropCursor::Normal;
}

void TQVCropModel::Press(const QPoint &inFrame)
{
    FPress = inFrame;
    FPressSpins = {FWidthSpin, FHeightSpin};
}

void TQVCropModel::DragTo(const QPoint &inFrame, TCropCursor cursor)
{
    switch (cursor) {
    case TCropCursor::Normal: FFrame.translate(inFrame - FPress); break;
    case TCropCursor::SizeWE: ChangeWidthSpin(FPressSpins.width() + inFrame.x() - FPress.x()); break;
    case TCropCursor::SizeNS: ChangeHeightSpin(FPressSpins.height() + inFrame.y() - FPress.y()); break;
    }
    Clamp();
}

void TQVCropModel::CentreOn(const QPoint &inPicture)
{
    // Work-area position truncated toward zero, as the frame is placed there.
    const int left = int(inPicture.x() - FFrame.width() / 2.0 - FScroll.x());
    const int top = int(inPicture.y() - FFrame.height() / 2.0 - FScroll.y());
    MoveFrameInWorkArea({left, top});
    // A click near the edge must not leave the frame off the picture when
    // the frame is held inside it.
    Clamp();
}
