#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

// Runs the code in its lifetime as a user whom permission bits bind, so
// that a folder or file made read-only really refuses writes. Root passes
// every permission check: as root the effective user and group become
// "nobody" meanwhile (the real user stays root, so the process can come
// back), and the folder's tree is handed to that user first, as a user's
// own files would be. Active() is false when root could not be given up.
// What was made read-only is writable again afterwards, for the clean-up.
class TRunAsUser
{
public:
    explicit TRunAsUser(const QString &folder)
    {
        if (geteuid() != 0) {
            FActive = true;
            return;
        }
        HandOver(folder);
        if (setegid(KNobody) != 0)
            return;
        if (seteuid(KNobody) != 0) {
            [[maybe_unused]] const int back = setegid(0);
            return;
        }
        FSwitched = true;
        FActive = true;
    }

    ~TRunAsUser()
    {
        if (FSwitched) {
            [[maybe_unused]] const int user = seteuid(0);
            [[maybe_unused]] const int group = setegid(0);
        }
        for (const QString &path : FReadOnly)
            chmod(QFile::encodeName(path).constData(), QFileInfo(path).isDir() ? 0755 : 0644);
    }

    TRunAsUser(const TRunAsUser &) = delete;
    TRunAsUser &operator=(const TRunAsUser &) = delete;

    bool Active() const { return FActive; }

    // Read-only to its owner and everyone else: no file can be made in a
    // folder, a file cannot be written.
    bool MakeReadOnly(const QString &path)
    {
        FReadOnly << path;
        return chmod(QFile::encodeName(path).constData(), QFileInfo(path).isDir() ? 0555 : 0444) == 0;
    }

private:
    static constexpr uid_t KNobody = 65534;

    static void HandOver(const QString &folder)
    {
        [[maybe_unused]] const int own = chown(QFile::encodeName(folder).constData(), KNobody, KNobody);
        QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            [[maybe_unused]] const int entry = chown(QFile::encodeName(it.next()).constData(), KNobody, KNobody);
        }
    }

    QStringList FReadOnly;
    bool FActive = false;
    bool FSwitched = false;
};
