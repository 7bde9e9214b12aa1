#pragma once

#include <QObject>

// The quit request: ends the program when control next returns to the
// event loop. After it every modal dialog closes at once with Cancel, and
// an event loop started later ends at once (Qt ignores quit() before exec()).
class TQuitNotifier : public QObject
{
    Q_OBJECT

public:
    static TQuitNotifier *Instance();

signals:
    void QuitRequested();
};

void RequestQuit();
bool QuitRequested();
void ResetQuitRequestForTesting();
