#pragma once

#include <stdexcept>

#include <QByteArray>
#include <QImage>

class EJpegError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Decodes the complete bytes of a JPEG file through libjpeg-turbo. Bytes
// that are not a whole JPEG image throw EJpegError with the codec's reason.
QImage DecodeJpeg(const QByteArray &bytes);

// Encodes an image as a baseline JPEG (4:2:0) of the given quality.
// Throws EJpegError for a null image.
QByteArray EncodeJpeg(const QImage &image, int quality = 90);

// True when the bytes begin like a JPEG file (SOI marker).
bool LooksLikeJpeg(const QByteArray &bytes);
