#pragma once

#include <cstdio>

#include <QElapsedTimer>
#include <QString>

// The text of a progress bar of the given width in characters:
// "[########------------]  40 %  4000/10000 rows".
QString ProgressLine(qint64 done, qint64 total, int width);

// Draws the bar on one terminal line, redrawn in place; silent when the
// stream is not a terminal (a log file or pipe gets no control characters).
class TTerminalProgress
{
public:
    explicit TTerminalProgress(std::FILE *stream);
    void Update(qint64 done, qint64 total);
    // Ends the line of the bar, if one was drawn.
    void Finish();

private:
    std::FILE *FStream;
    bool FEnabled;
    bool FDrawn = false;
    int FLastPercent = -1;
    QElapsedTimer FSinceDraw;
};
