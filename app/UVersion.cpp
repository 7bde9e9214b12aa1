#include "UVersion.h"

namespace {

struct TOverride
{
    bool Active = false;
    std::optional<TFileVersion> Version;
};

TOverride &Override()
{
    static TOverride value;
    return value;
}

} // namespace

std::optional<TFileVersion> ExecutableFileVersion()
{
    if (Override().Active)
        return Override().Version;
#ifdef EXAMORA_FILE_VERSION_MAJOR
    return TFileVersion{EXAMORA_FILE_VERSION_MAJOR, EXAMORA_FILE_VERSION_MINOR, EXAMORA_FILE_VERSION_RELEASE,
                        EXAMORA_FILE_VERSION_BUILD};
#else
    return std::nullopt;
#endif
}

void SetFileVersionForTesting(std::optional<TFileVersion> version)
{
    Override() = {true, version};
}

void ClearFileVersionForTesting()
{
    Override() = {};
}
