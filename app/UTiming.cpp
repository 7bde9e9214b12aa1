#include "UTiming.h"

#include <cstdio>
#include <ctime>

#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QList>

namespace {

// Milliseconds since boot at which this process started (Linux /proc).
double ProcessStartMilliseconds()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // Fields after the command name, which is in parentheses and may hold blanks.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 20)
        return -1;
    return fields[19].toDouble() * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

} // namespace

bool TimingEnabled()
{
    static const bool enabled = qEnvironmentVariableIsSet("EXAMORA_TIMING");
    return enabled;
}

void LogTiming(const char *event)
{
    if (!TimingEnabled())
        return;
    static const double start = ProcessStartMilliseconds();
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double sinceBoot = double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
    std::fprintf(stderr, "examora-timing %s %.1f\n", event, start < 0 ? -1.0 : sinceBoot - start);
    std::fflush(stderr);
}
