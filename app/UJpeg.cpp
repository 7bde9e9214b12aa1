#include "app/UJpeg.h"

#include <memory>

#include <turbojpeg.h>

namespace {

struct TTurboHandle
{
    explicit TTurboHandle(tjhandle h) : Handle(h) {}
    ~TTurboHandle() { if (Handle) tjDestroy(Handle); }
    tjhandle Handle;
};

// Progressive files with thousands of scans take minutes to decode.
constexpr qint64 KMaxPixels = 50'000'000;

QString CodecError(tjhandle handle)
{
    return QString::fromLocal8Bit(tjGetErrorStr2(handle));
}

} // namespace

bool LooksLikeJpeg(const QByteArray &bytes)
{
    return bytes.size() >= 3 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xD8 && uchar(bytes[2]) == 0xFF;
}

QImage DecodeJpeg(const QByteArray &bytes)
{
    if (!LooksLikeJpeg(bytes))
        throw EJpegError("图片数据不是 JPEG 格式。");
    TTurboHandle handle(tjInitDecompress());
    if (!handle.Handle)
        throw EJpegError("无法初始化 JPEG 解码器。");
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    if (tjDecompressHeader3(handle.Handle, data, bytes.size(), &width, &height, &subsampling, &colorspace) != 0)
        throw EJpegError(("JPEG 图片头错误：" + CodecError(handle.Handle)).toStdString());
    // The header call can succeed on a stub that sets no size. A question
    // picture is never near 50 megapixels: larger claims are damaged files
    // that would only cost memory and time.
    if (width <= 0 || height <= 0 || qint64(width) * height > KMaxPixels)
        throw EJpegError("JPEG 图片尺寸无效。");
    QImage image(width, height, QImage::Format_RGB888);
    if (image.isNull())
        throw EJpegError("JPEG 图片太大，内存不足。");
    const int result = tjDecompress2(handle.Handle, data, bytes.size(), image.bits(), width,
                                     int(image.bytesPerLine()), height, TJPF_RGB,
                                     TJFLAG_ACCURATEDCT | TJFLAG_LIMITSCANS | TJFLAG_STOPONWARNING);
    // A truncated file gives a warning with a partly decoded picture: refuse
    // it, the stored picture is damaged.
    if (result != 0)
        throw EJpegError(("JPEG 图片数据损坏：" + CodecError(handle.Handle)).toStdString());
    return image;
}

QByteArray EncodeJpeg(const QImage &image, int quality)
{
    if (image.isNull())
        throw EJpegError("没有图片可以编码。");
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    TTurboHandle handle(tjInitCompress());
    if (!handle.Handle)
        throw EJpegError("无法初始化 JPEG 编码器。");
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    const int result = tjCompress2(handle.Handle, rgb.constBits(), rgb.width(), int(rgb.bytesPerLine()),
                                   rgb.height(), TJPF_RGB, &buffer, &size, TJSAMP_420, quality,
                                   TJFLAG_ACCURATEDCT);
    std::unique_ptr<unsigned char, decltype(&tjFree)> owned(buffer, &tjFree);
    if (result != 0)
        throw EJpegError(("JPEG 编码失败：" + CodecError(handle.Handle)).toStdString());
    return QByteArray(reinterpret_cast<const char *>(buffer), int(size));
}
