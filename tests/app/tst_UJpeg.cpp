#include <array>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>
#include <turbojpeg.h>

#include <QTest>

#include "UJpeg.h"

namespace {

using TCmyk = std::array<uchar, 4>;

// The ink of a dark red, C 0 M 200 Y 220 K 30, is (225, 49, 31) on screen.
const TCmyk KInk{0, 200, 220, 30};
const QColor KInkOnScreen(225, 49, 31);

TCmyk Inverted(const TCmyk &ink)
{
    return {uchar(255 - ink[0]), uchar(255 - ink[1]), uchar(255 - ink[2]), uchar(255 - ink[3])};
}

QByteArray FilledCmyk(const TCmyk &sample, int width, int height)
{
    QByteArray pixels;
    for (int i = 0; i < width * height; ++i)
        pixels.append(reinterpret_cast<const char *>(sample.data()), 4);
    return pixels;
}

// TurboJPEG turns CMYK samples into a YCCK file with the Adobe segment.
QByteArray EncodeYcck(const TCmyk &sample)
{
    constexpr int width = 32, height = 24;
    const QByteArray pixels = FilledCmyk(sample, width, height);
    tjhandle handle = tjInitCompress();
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    const int result = tjCompress2(handle, reinterpret_cast<const uchar *>(pixels.constData()), width, width * 4,
                                   height, TJPF_CMYK, &buffer, &size, TJSAMP_444, 95, TJFLAG_ACCURATEDCT);
    const QByteArray bytes = result == 0 ? QByteArray(reinterpret_cast<const char *>(buffer), int(size)) : QByteArray();
    tjFree(buffer);
    tjDestroy(handle);
    return bytes;
}

// The classic encoder of the same library writes untransformed CMYK, with
// or without the Adobe segment.
QByteArray EncodeCmyk(const TCmyk &sample, bool adobeMarker)
{
    constexpr int width = 32, height = 24;
    QByteArray pixels = FilledCmyk(sample, width, height);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, JCS_CMYK);
    info.write_Adobe_marker = adobeMarker ? TRUE : FALSE;
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(pixels.data() + info.next_scanline * width * 4);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const QByteArray bytes(reinterpret_cast<const char *>(buffer), int(size));
    std::free(buffer);
    return bytes;
}

int ColorspaceOf(const QByteArray &bytes)
{
    tjhandle handle = tjInitDecompress();
    int width = 0, height = 0, subsampling = 0, colorspace = -1;
    tjDecompressHeader3(handle, reinterpret_cast<const uchar *>(bytes.constData()), bytes.size(), &width, &height,
                        &subsampling, &colorspace);
    tjDestroy(handle);
    return colorspace;
}

// The test files are small: an APP14 marker followed by "Adobe" is the segment.
bool HasAdobeSegment(const QByteArray &bytes)
{
    const qsizetype app14 = bytes.indexOf(QByteArray("\xFF\xEE", 2));
    return app14 > 0 && bytes.mid(app14 + 4, 5) == "Adobe";
}

} // namespace

class TestUJpeg : public QObject
{
    Q_OBJECT

private slots:
    void EncodedPictureDecodesToSameSizeAndColour();
    void BadBytesGiveClearError_data();
    void BadBytesGiveClearError();
    void ErrorReachesTheHandlerAsThrown();
    void CmykPicturesDecodeToRgb_data();
    void CmykPicturesDecodeToRgb();
};

void TestUJpeg::EncodedPictureDecodesToSameSizeAndColour()
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 40));
    const QByteArray bytes = EncodeJpeg(image, 90);
    QVERIFY(LooksLikeJpeg(bytes));
    const QImage decoded = DecodeJpeg(bytes);
    QCOMPARE(decoded.size(), QSize(64, 48));
    const QColor centre = decoded.pixelColor(32, 24);
    QVERIFY(qAbs(centre.red() - 200) < 8 && qAbs(centre.green() - 30) < 8 && qAbs(centre.blue() - 40) < 8);
}

void TestUJpeg::BadBytesGiveClearError_data()
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QByteArray good = EncodeJpeg(image);
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not a jpeg") << QByteArray("GIF89a this is not it");
    QTest::newRow("only the markers") << QByteArray("\xFF\xD8\xFF\xD9", 4);
    QTest::newRow("cut short") << good.left(good.size() / 2);
    QTest::newRow("header only") << good.left(20);
    // A damaged frame header that claims 65000 × 65000 pixels.
    QByteArray huge = good;
    const int frame = huge.indexOf(QByteArray("\xFF\xC0", 2));
    huge[frame + 5] = char(0xFD);
    huge[frame + 6] = char(0xE8);
    huge[frame + 7] = char(0xFD);
    huge[frame + 8] = char(0xE8);
    QTest::newRow("claims a gigantic size") << huge;
}

void TestUJpeg::BadBytesGiveClearError()
{
    QFETCH(QByteArray, bytes);
    QVERIFY_THROWS_EXCEPTION(EJpegError, DecodeJpeg(bytes));
}

// Handlers catch a std::exception and show ErrorText(): the Chinese text and
// the codec's own reason after it arrive as they were thrown.
void TestUJpeg::ErrorReachesTheHandlerAsThrown()
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QByteArray good = EncodeJpeg(image);
    QByteArray badHeader = good;
    badHeader[3] = char(0x00);
    const QList<std::pair<QByteArray, QString>> cases{{QByteArray("GIF89a"), QStringLiteral("图片数据不是 JPEG 格式。")},
                                                      {badHeader, QStringLiteral("JPEG 图片头错误：")}};
    for (const auto &[bytes, text] : cases) {
        try {
            DecodeJpeg(bytes);
            QFAIL("the bytes were decoded");
        } catch (const std::exception &error) {
            const QString shown = ErrorText(error);
            QVERIFY2(shown.startsWith(text), qPrintable(shown));
            QCOMPARE(QString::fromUtf8(error.what()), shown);
        }
    }
}

void TestUJpeg::CmykPicturesDecodeToRgb_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("colorspace");
    QTest::addColumn<bool>("adobe");
    // Photoshop's way: inverted samples, marked by the Adobe segment.
    QTest::newRow("YCCK, inverted") << EncodeYcck(Inverted(KInk)) << int(TJCS_YCCK) << true;
    QTest::newRow("CMYK with the Adobe segment, inverted") << EncodeCmyk(Inverted(KInk), true) << int(TJCS_CMYK) << true;
    QTest::newRow("CMYK without it, plain ink") << EncodeCmyk(KInk, false) << int(TJCS_CMYK) << false;
}

void TestUJpeg::CmykPicturesDecodeToRgb()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, colorspace);
    QFETCH(bool, adobe);
    QCOMPARE(ColorspaceOf(bytes), colorspace);
    QCOMPARE(HasAdobeSegment(bytes), adobe);
    const QImage decoded = DecodeJpeg(bytes);
    QCOMPARE(decoded.size(), QSize(32, 24));
    const QColor centre = decoded.pixelColor(16, 12);
    QVERIFY2(qAbs(centre.red() - KInkOnScreen.red()) < 6 && qAbs(centre.green() - KInkOnScreen.green()) < 6
                 && qAbs(centre.blue() - KInkOnScreen.blue()) < 6,
             qPrintable(centre.name()));
    // A damaged CMYK file is refused like any other.
    QVERIFY_THROWS_EXCEPTION(EJpegError, DecodeJpeg(bytes.left(bytes.size() / 2)));
}

QTEST_GUILESS_MAIN(TestUJpeg)
#include "tst_UJpeg.moc"
