#pragma once

#include <functional>

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Polls the condition, letting events run, until it holds or the time is up.
bool WaitFor(const std::function<bool()> &condition, int timeoutMs);

// A virtual X server for driving the real program the way a person would:
// windows are found by their title, keys go through xdotool. No window
// manager runs, so the titles read are those the program itself sets.
class TXServer
{
public:
    ~TXServer();

    // True when Xvfb, xdotool and xprop are installed.
    static bool ToolsInstalled();
    // Starts Xvfb and waits until it takes clients; the reason on failure.
    QString Start();
    // The system environment with DISPLAY set to this server.
    QProcessEnvironment Environment() const;
    // Starts the program on this server with the xcb platform and a
    // configuration folder of its own.
    bool StartProgram(QProcess &program, const QString &executable, const QString &configFolder) const;

    // Title patterns are extended regular expressions, as xdotool takes them.
    // A process id other than 0 looks only at that program's windows, for
    // when two copies of the program show windows of the same title.
    bool WaitForWindow(const QString &titlePattern, int timeoutMs, qint64 pid = 0) const;
    void Key(const QString &titlePattern, const QStringList &keys, qint64 pid = 0) const;
    // The _NET_WM_NAME of the first visible window matching the pattern;
    // empty when there is none.
    QString WindowName(const QString &titlePattern) const;
    // The id of the first visible window matching; empty when there is none.
    QString FirstWindow(const QString &titlePattern, qint64 pid = 0) const;

private:
    static QStringList Search(const QString &titlePattern, qint64 pid);
    QString Run(const QString &tool, const QStringList &arguments, int timeoutMs) const;

    QProcess FXvfb;
    QString FDisplay;
};
