#include "UDriveTypes.h"

namespace {

const QString KChapterOne = QStringLiteral("THEMECHAPTER in (1)");
const QString KSafetyChapters = QStringLiteral("THEMECHAPTER in (20,21,22,23,24,25,26)");

} // namespace

const std::array<TDriveType, 9> &DriveTypes()
{
    static const std::array<TDriveType, 9> types{{
        {QLatin1Char('1'), QStringLiteral("小型汽车（C1、C2、C3、C4）"), QStringLiteral("001"), KChapterOne},
        {QLatin1Char('2'), QStringLiteral("客车（A1、A3、B1）"), QStringLiteral("002"), KChapterOne},
        {QLatin1Char('3'), QStringLiteral("货车（A2、B2）"), QStringLiteral("003"), KChapterOne},
        {QLatin1Char('4'), QStringLiteral("自行机械车（M）"), QStringLiteral("004"), KChapterOne},
        {QLatin1Char('5'), QStringLiteral("摩托车（D、E、F）"), QStringLiteral("005"), KChapterOne},
        {QLatin1Char('6'), QStringLiteral("小型汽车（C1、C2、C3、C4）安全"), QStringLiteral("101"), KSafetyChapters},
        {QLatin1Char('7'), QStringLiteral("客车（A1、A3、B1）安全"), QStringLiteral("102"), KSafetyChapters},
        {QLatin1Char('8'), QStringLiteral("货车（A2、B2）安全"), QStringLiteral("103"), KSafetyChapters},
        {QLatin1Char('9'), QStringLiteral("自行机械车（M）安全"), QStringLiteral("104"), KSafetyChapters},
    }};
    return types;
}

QString ChapterFilterOf(const QString &driveTypeCode)
{
    for (const TDriveType &type : DriveTypes()) {
        if (type.Code == driveTypeCode)
            return type.ChapterFilter;
    }
    return QString();
}
