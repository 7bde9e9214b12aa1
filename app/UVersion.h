#pragma once

#include <optional>

#include <QtGlobal>

// The executable's four-part file version, compiled in from the build.
struct TFileVersion
{
    quint16 Major = 0;
    quint16 Minor = 0;
    quint16 Release = 0;
    quint16 Build = 0;
};

// None when the executable carries no version information.
std::optional<TFileVersion> ExecutableFileVersion();

// Test seam: pretend the executable carries this version (or none).
void SetFileVersionForTesting(std::optional<TFileVersion> version);
void ClearFileVersionForTesting();
