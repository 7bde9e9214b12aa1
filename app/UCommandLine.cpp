#include "UCommandLine.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "UVersion.h"

QString VersionLine(const char *programName)
{
    const std::optional<TFileVersion> version = ExecutableFileVersion();
    if (!version)
        return QString::fromLatin1(programName);
    return QStringLiteral("%1 %2.%3.%4.%5")
        .arg(QLatin1String(programName))
        .arg(version->Major)
        .arg(version->Minor)
        .arg(version->Release)
        .arg(version->Build);
}

TCommandLine::TCommandLine(const char *programName, QByteArray usage)
    : FProgramName(programName),
      FUsage(std::move(usage))
{
}

std::optional<int> TCommandLine::InfoStatus(int argc, char **argv) const
{
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            std::fputs(FUsage.constData(), stdout);
            return 0;
        }
        if (std::strcmp(arg, "--version") == 0 || std::strcmp(arg, "-v") == 0) {
            std::printf("%s\n", qPrintable(VersionLine(FProgramName)));
            return 0;
        }
    }
    return std::nullopt;
}

std::optional<int> TCommandLine::LeftoverStatus(const QStringList &arguments) const
{
    if (arguments.size() <= 1)
        return std::nullopt;
    std::fprintf(stderr, "%s: unknown argument %s\n\n", FProgramName, qPrintable(arguments.at(1)));
    std::fputs(FUsage.constData(), stderr);
    return 2;
}

QByteArray TCommandLine::GuiUsage(const char *description)
{
    return QByteArray(description)
        + "\n"
          "Options:\n"
          "  --help, -h       this text\n"
          "  --version, -v    the program's name and version\n"
          "  and Qt's own options, such as -platform NAME, -style NAME, -display DISPLAY\n";
}
