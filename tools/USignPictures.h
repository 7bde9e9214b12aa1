#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// Question pictures drawn in code for the sample bank: prohibition, warning,
// mandatory and guide signs, road markings and signal lights, each 320 × 224
// and keyed by the picture column of the sample questions.

constexpr int KSignPictureWidth = 320;
constexpr int KSignPictureHeight = 224;

// Every key that DrawSignPicture knows, in drawing-table order.
QStringList SignPictureKeys();

// The picture for a key; a null image for a key that is not known.
QImage DrawSignPicture(const QString &key);
