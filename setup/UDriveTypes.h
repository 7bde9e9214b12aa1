#pragma once

#include <array>

#include <QChar>
#include <QString>

// One licence class of the first dialog, in screen order.
struct TDriveType
{
    QChar Key;
    QString Caption;
    QString Code;
    QString ChapterFilter;
};

const std::array<TDriveType, 9> &DriveTypes();
// The chapter filter of a class code; empty for a code outside the nine.
QString ChapterFilterOf(const QString &driveTypeCode);
