#include "UNewFile.h"

#include <cerrno>
#include <cstdio> // renameat2
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <QTemporaryFile>

#include "UDbError.h"

namespace {

void RefuseTakenName(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (info.isSymLink())
        throw EDatabaseError(QStringLiteral("%1 is a symbolic link; choose a new file name").arg(fileName));
    if (info.exists())
        throw EDatabaseError(QStringLiteral("%1 exists already; choose a new file name").arg(fileName));
}

// rename() would replace the target; these two never do, and neither
// follows a symbolic link found there. After a link the temporary name
// stays, for the temporary file to remove as usual.
bool MoveWithoutReplacing(const QByteArray &from, const QByteArray &to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the flag: a second hard link.
    return ::link(from.constData(), to.constData()) == 0;
}

} // namespace

TNewFile::TNewFile(const QString &fileName)
    : FFileName(fileName)
{
    RefuseTakenName(fileName);
    const QFileInfo info(fileName);
    FTemporary = std::make_unique<QTemporaryFile>(info.absolutePath() + QLatin1Char('/') + info.fileName()
                                                  + QStringLiteral(".XXXXXX.partial"));
    if (!FTemporary->open())
        throw EDatabaseError(QStringLiteral("cannot write %1: %2").arg(fileName, FTemporary->errorString()));
    // QTemporaryFile creates the file for its owner alone; the finished file
    // gets the permissions of any other file the user writes.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(FTemporary->handle(), 0666 & ~mask);
    FTemporary->close();
}

TNewFile::~TNewFile() = default;

QString TNewFile::TemporaryName() const
{
    return FTemporary->fileName();
}

void TNewFile::Commit()
{
    if (MoveWithoutReplacing(QFile::encodeName(FTemporary->fileName()), QFile::encodeName(FFileName)))
        return;
    const int error = errno;
    if (error == EEXIST)
        RefuseTakenName(FFileName);
    throw EDatabaseError(
        QStringLiteral("cannot write %1: %2").arg(FFileName, QString::fromLocal8Bit(std::strerror(error))));
}
