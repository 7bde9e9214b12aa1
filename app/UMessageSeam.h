#pragma once

#include <functional>

#include <QString>

// Every message box of the program goes through this seam, so that a test
// can record caption, icon and text and answer with a chosen button
// without a modal loop. The application installs the real boxes.
enum class TMsgIcon { None, Error, Information, Question, Warning };
enum class TMsgButtons { Ok, OkCancel };

struct TMessageRequest
{
    QString Caption;
    QString Text;
    TMsgIcon Icon = TMsgIcon::None;
    TMsgButtons Buttons = TMsgButtons::Ok;
};

// Returns 1 (OK) or 2 (Cancel; also when the box is closed).
using TMessageHandler = std::function<int(const TMessageRequest &)>;

void SetMessageHandler(TMessageHandler handler);
int ShowMessageBox(const TMessageRequest &request);

// The framework's error box: the text of an error no handler caught, under
// the application title.
void ShowFrameworkError(const QString &text);
