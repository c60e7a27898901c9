// The launcher's platform where there is no registry: every key is missing,
// so both lookups fail and the user is told that the tool is unavailable.

#include "sysinfo.h"

#include <filesystem>
#include <system_error>

namespace sysinfo {

std::int32_t SystemPlatform::openKey(RegKey, const std::string &, std::uint32_t, RegKey &)
{
    return ErrorFileNotFound;
}

std::int32_t SystemPlatform::queryValue(RegKey, const std::string &, std::uint32_t &, unsigned char *,
                                        std::uint32_t &)
{
    return ErrorFileNotFound;
}

void SystemPlatform::closeKey(RegKey) {}

bool SystemPlatform::fileExists(const std::string &path)
{
    // Here a hidden file is one whose name starts with a dot.
    std::error_code error;
    const std::filesystem::path file(path);
    return std::filesystem::is_regular_file(file, error) && file.filename().string().rfind('.', 0) != 0;
}

void SystemPlatform::startProgram(const std::string &path)
{
    throw SysInfoError("no system-information tool to start here (\"" + path + "\")");
}

} // namespace sysinfo
