#pragma once

#include <QString>

#include "UMdbImport.h"

// libmdb trusts the bytes of an Access file: a damaged one can make it
// crash, loop, allocate or print without end. So the bank tool imports in
// a child process of its own under these limits, and only watches it.
struct TMdbChildLimits
{
    int Seconds = 600;                     // wall clock
    qint64 MemoryBytes = qint64(1) << 30;  // address space
    qint64 OutputBytes = qint64(16) << 20; // stdout and stderr together
};

// Whether the child's address space is limited: not under the address
// sanitizer, which reserves terabytes of it up front.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool KChildMemoryLimited = false;
#elif defined(__has_feature)
inline constexpr bool KChildMemoryLimited = !__has_feature(address_sanitizer);
#else
inline constexpr bool KChildMemoryLimited = true;
#endif

// The command line word that makes the bank tool the child.
inline constexpr char KMdbImportChildCommand[] = "--import-mdb-child";

// As ImportMdb, with the Access file read and the SQLite file written by
// `program --import-mdb-child IN TEMPORARY` (see RunMdbImportChild). A child
// that dies or goes over a limit ends in EDatabaseError "无法读取Access文件："
// followed by what happened; the child's own errors come as they are.
TMdbImportReport ImportMdbInChild(const QString &program, const QString &mdbFile, const QString &sqliteFile,
                                  const TMdbImportProgress &progress = {}, const TMdbChildLimits &limits = {});

// The child's side: imports into the empty SQLite file and tells the parent
// on stdout how far it got and what it wrote. Returns the exit status.
int RunMdbImportChild(const QString &mdbFile, const QString &sqliteFile);
