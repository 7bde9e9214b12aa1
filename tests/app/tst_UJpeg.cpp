#include <QTest>

#include "app/UJpeg.h"

class TestUJpeg : public QObject
{
    Q_OBJECT

private slots:
    void EncodedPictureDecodesToSameSizeAndColour();
    void BadBytesGiveClearError_data();
    void BadBytesGiveClearError();
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

QTEST_GUILESS_MAIN(TestUJpeg)
#include "tst_UJpeg.moc"
