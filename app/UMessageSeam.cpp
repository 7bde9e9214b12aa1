#include "UMessageSeam.h"

#include <cstdio>

namespace {

TMessageHandler &Handler()
{
    static TMessageHandler handler;
    return handler;
}

} // namespace

void SetMessageHandler(TMessageHandler handler)
{
    Handler() = std::move(handler);
}

int ShowMessageBox(const TMessageRequest &request)
{
    if (Handler())
        return Handler()(request);
    // No window system installed (a tool or a test that did not script the
    // box): say it on the console and answer Cancel, the safe choice.
    std::fprintf(stderr, "[%s] %s\n", qPrintable(request.Caption), qPrintable(request.Text));
    return 2;
}

void ShowFrameworkError(const QString &text)
{
    ShowMessageBox({QStringLiteral("Examora"), text, TMsgIcon::Error, TMsgButtons::Ok});
}
