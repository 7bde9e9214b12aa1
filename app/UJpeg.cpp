#include "UJpeg.h"

#include <memory>

#include <turbojpeg.h>

namespace {

struct TTurboHandle
{
    explicit TTurboHandle(tjhandle h)
        : Handle(h)
    {
    }
    ~TTurboHandle()
    {
        if (Handle)
            tjDestroy(Handle);
    }
    tjhandle Handle;
};

// Progressive files with thousands of scans take minutes to decode.
constexpr qint64 KMaxPixels = 50'000'000;

QString CodecError(tjhandle handle)
{
    return QString::fromLocal8Bit(tjGetErrorStr2(handle));
}

// Whether the file carries an Adobe APP14 segment, found the way libjpeg
// finds it: among the segments before the first scan, at least 12 bytes of
// data that begin with "Adobe".
bool HasAdobeMarker(const QByteArray &bytes)
{
    qsizetype pos = 2;
    while (pos + 4 <= bytes.size() && uchar(bytes[pos]) == 0xFF) {
        const uchar marker = uchar(bytes[pos + 1]);
        if (marker == 0xFF) {
            ++pos; // fill byte
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            return false;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += 2; // no length follows
            continue;
        }
        const int length = (uchar(bytes[pos + 2]) << 8) | uchar(bytes[pos + 3]);
        if (marker == 0xEE && length - 2 >= 12 && bytes.mid(pos + 4, 5) == "Adobe")
            return true;
        pos += 2 + length;
    }
    return false;
}

QImage NewRgbImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    if (image.isNull())
        throw EJpegError(QStringLiteral("JPEG 图片太大，内存不足。"));
    return image;
}

// CMYK samples as RGB by the usual naive formula. Photoshop writes the
// channels inverted (255 is no ink) and marks its files with the Adobe
// segment; without it the samples are taken as plain ink amounts.
QImage CmykToRgb(const QByteArray &cmyk, int width, int height, bool inverted)
{
    QImage image = NewRgbImage(width, height);
    const auto *in = reinterpret_cast<const uchar *>(cmyk.constData());
    for (int y = 0; y < height; ++y) {
        uchar *out = image.scanLine(y);
        for (int x = 0; x < width; ++x, in += 4, out += 3) {
            const int k = inverted ? in[3] : 255 - in[3];
            for (int c = 0; c < 3; ++c)
                out[c] = uchar(((inverted ? in[c] : 255 - in[c]) * k + 127) / 255);
        }
    }
    return image;
}

constexpr int KDecodeFlags = TJFLAG_ACCURATEDCT | TJFLAG_LIMITSCANS | TJFLAG_STOPONWARNING;

// A truncated file gives a warning with a partly decoded picture: refuse
// it, the stored picture is damaged.
void CheckDecoded(tjhandle handle, int result)
{
    if (result != 0)
        throw EJpegError(QStringLiteral("JPEG 图片数据损坏：") + CodecError(handle));
}

} // namespace

bool LooksLikeJpeg(const QByteArray &bytes)
{
    return bytes.size() >= 3 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xD8 && uchar(bytes[2]) == 0xFF;
}

QImage DecodeJpeg(const QByteArray &bytes)
{
    if (!LooksLikeJpeg(bytes))
        throw EJpegError(QStringLiteral("图片数据不是 JPEG 格式。"));
    TTurboHandle handle(tjInitDecompress());
    if (!handle.Handle)
        throw EJpegError(QStringLiteral("无法初始化 JPEG 解码器。"));
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    if (tjDecompressHeader3(handle.Handle, data, bytes.size(), &width, &height, &subsampling, &colorspace) != 0)
        throw EJpegError(QStringLiteral("JPEG 图片头错误：") + CodecError(handle.Handle));
    // The header call can succeed on a stub that sets no size. A question
    // picture is never near 50 megapixels: larger claims are damaged files
    // that would only cost memory and time.
    if (width <= 0 || height <= 0 || qint64(width) * height > KMaxPixels)
        throw EJpegError(QStringLiteral("JPEG 图片尺寸无效。"));
    // The codec converts CMYK and YCCK files only to CMYK samples.
    if (colorspace == TJCS_CMYK || colorspace == TJCS_YCCK) {
        QByteArray cmyk;
        cmyk.resize(qsizetype(width) * height * 4);
        CheckDecoded(handle.Handle,
                     tjDecompress2(handle.Handle, data, bytes.size(), reinterpret_cast<uchar *>(cmyk.data()), width,
                                   width * 4, height, TJPF_CMYK, KDecodeFlags));
        return CmykToRgb(cmyk, width, height, HasAdobeMarker(bytes));
    }
    QImage image = NewRgbImage(width, height);
    CheckDecoded(handle.Handle,
                 tjDecompress2(handle.Handle, data, bytes.size(), image.bits(), width, int(image.bytesPerLine()),
                               height, TJPF_RGB, KDecodeFlags));
    return image;
}

QByteArray EncodeJpeg(const QImage &image, int quality)
{
    if (image.isNull())
        throw EJpegError(QStringLiteral("没有图片可以编码。"));
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    TTurboHandle handle(tjInitCompress());
    if (!handle.Handle)
        throw EJpegError(QStringLiteral("无法初始化 JPEG 编码器。"));
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    const int result = tjCompress2(handle.Handle, rgb.constBits(), rgb.width(), int(rgb.bytesPerLine()), rgb.height(),
                                   TJPF_RGB, &buffer, &size, TJSAMP_420, quality, TJFLAG_ACCURATEDCT);
    std::unique_ptr<unsigned char, decltype(&tjFree)> owned(buffer, &tjFree);
    if (result != 0)
        throw EJpegError(QStringLiteral("JPEG 编码失败：") + CodecError(handle.Handle));
    return QByteArray(reinterpret_cast<const char *>(buffer), int(size));
}
