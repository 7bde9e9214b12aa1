#pragma once

#include "UError.h"

// What went wrong, where the engine's result code tells it: the faults a
// user can do something about (free the disk, make the file writable, …).
enum class TEngineFault {
    efNone,
    efDiskFull,
    efReadOnlyFile,
    efReadOnlyFolder,
    efLocked,
    efNotADatabase,
    efCorrupt,
    efOutOfMemory,
    efCannotOpen,
    efIoError,
};

// The error the data layer throws: carries the driver's text so that the
// application's single handler can show what the engine said, and the
// fault, so that a caller can say what it means for its own task.
class EDatabaseError : public EExamoraError
{
public:
    explicit EDatabaseError(const QString &message, TEngineFault fault = TEngineFault::efNone)
        : EExamoraError(message),
          FFault(fault)
    {
    }
    TEngineFault Fault() const { return FFault; }
    // The bank or its folder takes no writes: nothing can be stored.
    bool CannotWrite() const
    {
        return FFault == TEngineFault::efReadOnlyFile || FFault == TEngineFault::efReadOnlyFolder;
    }

private:
    TEngineFault FFault;
};
