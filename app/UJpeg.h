#pragma once

#include <QByteArray>
#include <QImage>

#include "UError.h"

class EJpegError : public EExamoraError
{
public:
    using EExamoraError::EExamoraError;
};

// Decodes the complete bytes of a JPEG file through libjpeg-turbo. Bytes
// that are not a whole JPEG image throw EJpegError with the codec's reason.
QImage DecodeJpeg(const QByteArray &bytes);

// Encodes an image as a baseline JPEG (4:2:0) of the given quality.
// Throws EJpegError for a null image.
QByteArray EncodeJpeg(const QImage &image, int quality = 90);

// True when the bytes begin like a JPEG file (SOI marker).
bool LooksLikeJpeg(const QByteArray &bytes);
