#include "UMdbChild.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <new>

#include <sys/resource.h>
#include <unistd.h>

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include "UDbError.h"
#include "UNewFile.h"

namespace {

const QString KCannotRead = QStringLiteral("无法读取Access文件：");

// The child's messages, one a line: "progress DONE TOTAL", "table ROWS NAME",
// "note TEXT", "error TEXT", "memory" (an allocation failed) and "done" at
// the end; names and texts percent-encoded, so that a line stays one line.
QByteArray Encoded(const QString &text)
{
    return text.toUtf8().toPercentEncoding();
}

QString Decoded(const QByteArray &text)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text));
}

// The messages go to a copy of stdout, and stdout itself to stderr: what a
// library prints can then never pass for a message.
std::FILE *MessagesToParent()
{
    std::fflush(stdout);
    std::FILE *messages = ::fdopen(::dup(STDOUT_FILENO), "w");
    ::dup2(STDERR_FILENO, STDOUT_FILENO);
    return messages;
}

void Send(std::FILE *parent, const QByteArray &line)
{
    std::fputs(line.constData(), parent);
    std::fputc('\n', parent);
    std::fflush(parent);
}

// Run in the child between fork and exec, so system calls only.
void LimitChild(const TMdbChildLimits &limits, qint64 fileBytes)
{
    const auto set = [](int resource, qint64 value) {
        const rlimit limit{rlim_t(value), rlim_t(value)};
        ::setrlimit(resource, &limit);
    };
    if (KChildMemoryLimited)
        set(RLIMIT_AS, limits.MemoryBytes);
    set(RLIMIT_FSIZE, fileBytes);
    set(RLIMIT_CORE, 0); // a damaged file may crash it: no core files
}

// Room for the SQLite file: text grows at most from two bytes a character
// to three, and the schema and indexes add a little.
qint64 FileBytesFor(const QString &mdbFile)
{
    return 4 * QFileInfo(mdbFile).size() + (qint64(64) << 20);
}

class TImportChild
{
public:
    TImportChild(const TMdbChildLimits &limits, const TMdbImportProgress &progress)
        : FLimits(limits),
          FProgress(progress)
    {
    }

    TMdbImportReport Run(const QString &program, const QString &mdbFile, const QString &sqliteFile)
    {
        const qint64 fileBytes = FileBytesFor(mdbFile);
        FProcess.setProgram(program);
        FProcess.setArguments({QLatin1String(KMdbImportChildCommand), mdbFile, sqliteFile});
        FProcess.setChildProcessModifier([limits = FLimits, fileBytes] { LimitChild(limits, fileBytes); });
        QEventLoop loop;
        QObject::connect(&FProcess, &QProcess::readyReadStandardOutput, &loop, [this] { ReadMessages(); });
        QObject::connect(&FProcess, &QProcess::readyReadStandardError, &loop, [this] { ReadErrors(); });
        QObject::connect(&FProcess, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(FLimits.Seconds * 1000, &loop,
                           [this] { Stop(QStringLiteral("超过%1秒仍未读完，已终止").arg(FLimits.Seconds)); });
        FProcess.start();
        if (!FProcess.waitForStarted())
            throw EDatabaseError(QStringLiteral("cannot start %1: %2").arg(program, FProcess.errorString()));
        loop.exec();
        ReadMessages();
        ReadErrors();
        return Outcome(fileBytes);
    }

private:
    const TMdbChildLimits FLimits;
    const TMdbImportProgress &FProgress;
    QProcess FProcess;
    qint64 FReceived = 0;
    QByteArray FLines;     // stdout not yet handled
    QByteArray FErrorTail; // the end of stderr
    TMdbImportReport FReport;
    QString FError;
    bool FOutOfMemory = false;
    bool FDone = false;
    QString FStopped; // why the parent ended the child

    void Stop(const QString &why)
    {
        if (FStopped.isEmpty())
            FStopped = why;
        FProcess.kill();
    }

    bool Count(qint64 bytes)
    {
        FReceived += bytes;
        if (FReceived > FLimits.OutputBytes)
            Stop(QStringLiteral("输出超过%1 MB，已终止").arg(FLimits.OutputBytes >> 20));
        return FStopped.isEmpty();
    }

    void ReadErrors()
    {
        const QByteArray chunk = FProcess.readAllStandardError();
        if (!Count(chunk.size()))
            return;
        FErrorTail = (FErrorTail + chunk).right(1024);
    }

    void ReadMessages()
    {
        const QByteArray chunk = FProcess.readAllStandardOutput();
        if (!Count(chunk.size()))
            return;
        FLines += chunk;
        qsizetype end;
        while ((end = FLines.indexOf('\n')) >= 0) {
            Handle(FLines.left(end));
            FLines.remove(0, end + 1);
        }
    }

    void Handle(const QByteArray &line)
    {
        const qsizetype space = line.indexOf(' ');
        const QByteArray word = space < 0 ? line : line.left(space);
        const QByteArray rest = space < 0 ? QByteArray() : line.mid(space + 1);
        if (word == "progress" && FProgress) {
            const QList<QByteArray> numbers = rest.split(' ');
            if (numbers.size() == 2)
                FProgress(numbers[0].toLongLong(), numbers[1].toLongLong());
        } else if (word == "table") {
            const qsizetype at = rest.indexOf(' ');
            FReport.Tables.append({Decoded(rest.mid(at + 1)), rest.left(at).toLongLong()});
        } else if (word == "note") {
            FReport.Notes << Decoded(rest);
        } else if (word == "error") {
            FError = Decoded(rest);
        } else if (word == "memory") {
            FOutOfMemory = true;
        } else if (word == "done") {
            FDone = true;
        }
    }

    // The last line the child printed on stderr, if any: often libmdb's own
    // word on what it found.
    QString LastWords() const
    {
        const QList<QByteArray> lines = FErrorTail.trimmed().split('\n');
        const QString last = QString::fromUtf8(lines.last()).trimmed();
        return last.isEmpty() ? QString() : QStringLiteral("，最后的输出：") + last.left(200);
    }

    QString CrashText(int signal, qint64 fileBytes) const
    {
        if (signal == SIGXFSZ)
            return QStringLiteral("写出的文件超过%1 MB，已终止").arg(fileBytes >> 20);
        const char *name = ::sigabbrev_np(signal);
        return QStringLiteral("读取进程崩溃（SIG%1）").arg(QString::fromLatin1(name ? name : "?")) + LastWords();
    }

    TMdbImportReport Outcome(qint64 fileBytes) const
    {
        if (!FStopped.isEmpty())
            throw EDatabaseError(KCannotRead + FStopped);
        // On Unix QProcess keeps the signal that ended a crashed process as its exit code.
        if (FProcess.exitStatus() == QProcess::CrashExit)
            throw EDatabaseError(KCannotRead + CrashText(FProcess.exitCode(), fileBytes));
        if (FOutOfMemory)
            throw EDatabaseError(KCannotRead + QStringLiteral("所需内存超过%1 MB，已终止").arg(FLimits.MemoryBytes >> 20));
        if (!FError.isEmpty())
            throw EDatabaseError(FError);
        if (FProcess.exitCode() != 0 || !FDone)
            throw EDatabaseError(KCannotRead + QStringLiteral("读取进程意外退出（状态%1）").arg(FProcess.exitCode())
                                 + LastWords());
        return FReport;
    }
};

} // namespace

TMdbImportReport ImportMdbInChild(const QString &program, const QString &mdbFile, const QString &sqliteFile,
                                  const TMdbImportProgress &progress, const TMdbChildLimits &limits)
{
    TNewFile target(sqliteFile);
    const TMdbImportReport report = TImportChild(limits, progress).Run(program, mdbFile, target.TemporaryName());
    target.Commit();
    return report;
}

int RunMdbImportChild(const QString &mdbFile, const QString &sqliteFile)
{
    std::FILE *parent = MessagesToParent();
    if (!parent)
        return 1;
    int lastPermille = -1;
    try {
        const TMdbImportReport report = WriteMdbImport(mdbFile, sqliteFile, [&](qint64 done, qint64 total) {
            // A line a permille, not a row: the parent caps what it reads.
            const int permille = int(done * 1000 / qMax<qint64>(total, 1));
            if (permille == lastPermille)
                return;
            lastPermille = permille;
            Send(parent, "progress " + QByteArray::number(done) + ' ' + QByteArray::number(total));
        });
        for (const auto &[table, rows] : report.Tables)
            Send(parent, "table " + QByteArray::number(rows) + ' ' + Encoded(table));
        for (const QString &note : report.Notes)
            Send(parent, "note " + Encoded(note));
        Send(parent, "done");
        return 0;
    } catch (const EDatabaseError &error) {
        Send(parent, "error " + Encoded(error.Message()));
    } catch (const std::bad_alloc &) {
        Send(parent, "memory");
    }
    return 1;
}
