#include "UTerminalProgress.h"

#include <unistd.h>

QString ProgressLine(qint64 done, qint64 total, int width)
{
    const qint64 safeTotal = qMax<qint64>(total, 1);
    const qint64 clamped = qBound<qint64>(0, done, safeTotal);
    const int filled = int(clamped * width / safeTotal);
    const int percent = int(clamped * 100 / safeTotal);
    return QLatin1Char('[') + QString(filled, QLatin1Char('#')) + QString(width - filled, QLatin1Char('-'))
        + QStringLiteral("] %1 %  %2/%3 rows").arg(percent, 3).arg(done).arg(total);
}

TTerminalProgress::TTerminalProgress(std::FILE *stream)
    : FStream(stream),
      FEnabled(isatty(fileno(stream)) == 1)
{
    FSinceDraw.start();
}

void TTerminalProgress::Update(qint64 done, qint64 total)
{
    if (!FEnabled)
        return;
    const int percent = int(qBound<qint64>(0, done, qMax<qint64>(total, 1)) * 100 / qMax<qint64>(total, 1));
    // Redraw on a new percent, at most ten times a second: a terminal is slow.
    if (percent == FLastPercent || (FDrawn && percent < 100 && FSinceDraw.elapsed() < 100))
        return;
    FLastPercent = percent;
    FSinceDraw.restart();
    std::fprintf(FStream, "\r%s", qPrintable(ProgressLine(done, total, 40)));
    std::fflush(FStream);
    FDrawn = true;
}

void TTerminalProgress::Finish()
{
    if (FDrawn)
        std::fputc('\n', FStream);
    FDrawn = false;
}
