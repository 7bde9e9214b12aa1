#include "UQuit.h"

#include <QCoreApplication>
#include <QTimer>

namespace {
bool GQuitRequested = false;
}

TQuitNotifier *TQuitNotifier::Instance()
{
    static TQuitNotifier notifier;
    return &notifier;
}

void RequestQuit()
{
    GQuitRequested = true;
    emit TQuitNotifier::Instance()->QuitRequested();
    // Queued, so that it also ends an event loop that starts later.
    if (QCoreApplication::instance())
        QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
}

bool QuitRequested()
{
    return GQuitRequested;
}

void ResetQuitRequestForTesting()
{
    GQuitRequested = false;
}
