#pragma once

#include <memory>

#include <QString>

class QTemporaryFile;

// A new file, written in full under a temporary name of its own beside the
// final one and moved there only when complete: a failed run leaves nothing
// behind, and whatever already has the name (a file, a folder, a symbolic
// link, even a dangling one) is never replaced nor written through.
class TNewFile
{
public:
    // Throws EDatabaseError when the name is taken or the folder is not writable.
    explicit TNewFile(const QString &fileName);
    // Removes the temporary file unless it was committed.
    ~TNewFile();
    TNewFile(const TNewFile &) = delete;
    TNewFile &operator=(const TNewFile &) = delete;

    // Where to write: an empty file that exists until Commit.
    QString TemporaryName() const;
    // Gives the temporary file the final name; throws EDatabaseError, and
    // leaves that name alone, when something took it in the meantime.
    void Commit();

private:
    QString FFileName;
    std::unique_ptr<QTemporaryFile> FTemporary;
};
