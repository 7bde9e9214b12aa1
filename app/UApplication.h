#pragma once

#include <QApplication>

class QDialog;

// The application object: its event dispatch catches errors thrown out of
// handlers and shows their text under the title "Examora", then carries on
// (the framework's default error handler).
class TExamoraApplication : public QApplication
{
    Q_OBJECT

public:
    TExamoraApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    // Runs the event loop unless a quit was requested before it started.
    static int RunEventLoop();
};

// Shows a dialog modally and returns 1 (OK) or 2 (Cancel). After a quit
// request it returns 2 at once, and a request while it is open closes it.
int ExecModal(QDialog &dialog);

// Message boxes through QMessageBox, with the buttons 确定 and 取消.
void InstallQtMessageBoxes();

// Closes every open message box as if Cancel were chosen: a question that
// events have made moot must not stay on the screen.
void CloseOpenMessageBoxes();

// 宋体 maps to the Noto serif CJK face; without it Qt falls back to a sans face.
void InstallChineseFonts();

// Runs an error guard around one handler call the way the framework does:
// any error is shown in the framework's error box and swallowed.
template <typename F>
void RunGuarded(F &&handler);

#include "UApplication.inl"
