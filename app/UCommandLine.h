#pragma once

#include <optional>

#include <QByteArray>
#include <QString>
#include <QStringList>

// "examora 1.0.100.1": the program's name and the build's file version.
QString VersionLine(const char *programName);

// The options every Examora program answers the same way:
//   --help, -h     the program's usage text on stdout, status 0
//   --version, -v  its version line on stdout, status 0
class TCommandLine
{
public:
    TCommandLine(const char *programName, QByteArray usage);

    // The status to end the program with when argv asks for the help or the
    // version (printed here). Read before any application object exists,
    // so that it works without a display.
    std::optional<int> InfoStatus(int argc, char **argv) const;

    // A GUI program takes no arguments of its own: what Qt has left of the
    // command line is reported with the usage on stderr, status 2.
    std::optional<int> LeftoverStatus(const QStringList &arguments) const;

    // The usage of a GUI program: its description and the common options.
    static QByteArray GuiUsage(const char *description);

private:
    const char *FProgramName;
    QByteArray FUsage;
};
