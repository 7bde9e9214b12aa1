#include "TXServer.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

bool WaitFor(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (condition())
            return true;
        QTest::qWait(100);
    }
    return condition();
}

TXServer::~TXServer()
{
    if (FXvfb.state() != QProcess::NotRunning) {
        FXvfb.terminate();
        FXvfb.waitForFinished(5000);
    }
}

bool TXServer::ToolsInstalled()
{
    for (const char *tool : {"Xvfb", "xdotool", "xprop"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return false;
    }
    return true;
}

QString TXServer::Start()
{
    // Xvfb picks a free display itself and writes its number once it listens;
    // without -noreset a client that connects just after another left can be
    // refused while the server resets.
    FXvfb.start("Xvfb", {"-displayfd", "1", "-noreset", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
    if (!FXvfb.waitForStarted())
        return QStringLiteral("Xvfb could not be started");
    if (!WaitFor([this] { return FXvfb.canReadLine() || FXvfb.state() == QProcess::NotRunning; }, 20000)
        || !FXvfb.canReadLine())
        return "Xvfb did not start: " + QString::fromLocal8Bit(FXvfb.readAllStandardError());
    FDisplay = ":" + QString::fromLatin1(FXvfb.readLine().trimmed());
    const bool answers = WaitFor(
        [this] {
            QProcess probe;
            probe.setProcessEnvironment(Environment());
            probe.start("xdotool", {"getdisplaygeometry"});
            return probe.waitForFinished(5000) && probe.exitCode() == 0;
        },
        20000);
    return answers ? QString() : QStringLiteral("Xvfb takes no clients");
}

QProcessEnvironment TXServer::Environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", FDisplay);
    return env;
}

bool TXServer::StartProgram(QProcess &program, const QString &executable, const QString &configFolder) const
{
    QProcessEnvironment env = Environment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("XDG_CONFIG_HOME", configFolder);
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(executable, {});
    return program.waitForStarted();
}

QString TXServer::Run(const QString &tool, const QStringList &arguments, int timeoutMs) const
{
    QProcess process;
    process.setProcessEnvironment(Environment());
    process.start(tool, arguments);
    process.waitForFinished(timeoutMs);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList TXServer::Search(const QString &titlePattern, qint64 pid)
{
    QStringList arguments{"search", "--onlyvisible"};
    // Without --all, xdotool takes a window matching the pid or the name.
    if (pid != 0)
        arguments << "--all"
                  << "--pid" << QString::number(pid);
    return arguments << "--name" << titlePattern;
}

QString TXServer::FirstWindow(const QString &titlePattern, qint64 pid) const
{
    return Run("xdotool", Search(titlePattern, pid), 5000).section(QLatin1Char('\n'), 0, 0).trimmed();
}

bool TXServer::WaitForWindow(const QString &titlePattern, int timeoutMs, qint64 pid) const
{
    return WaitFor([&] { return !FirstWindow(titlePattern, pid).isEmpty(); }, timeoutMs);
}

void TXServer::Key(const QString &titlePattern, const QStringList &keys, qint64 pid) const
{
    // No window manager runs: focus the window ourselves, then type through
    // the keyboard extension to whatever holds the focus.
    Run("xdotool",
        Search(titlePattern, pid) << "windowfocus"
                                  << "--sync",
        10000);
    Run("xdotool", QStringList{"key", "--delay", "150"} + keys, 20000);
}

QString TXServer::WindowName(const QString &titlePattern) const
{
    const QString window = FirstWindow(titlePattern);
    if (window.isEmpty())
        return QString();
    // _NET_WM_NAME(UTF8_STRING) = "系统登录"
    const QString line = Run("xprop", {"-id", window, "_NET_WM_NAME"}, 5000);
    const QRegularExpressionMatch quoted = QRegularExpression(QStringLiteral("= \"(.*)\"")).match(line);
    return quoted.hasMatch() ? quoted.captured(1) : QString();
}
