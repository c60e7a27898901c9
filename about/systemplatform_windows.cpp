// The launcher's platform on Windows: advapi32 for the registry, Win32 for
// files and processes, all in the ANSI code page.

#include "sysinfo.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace sysinfo {

namespace {
HKEY toHkey(RegKey key)
{
    return reinterpret_cast<HKEY>(key);
}
}

std::int32_t SystemPlatform::openKey(RegKey root, const std::string &path, std::uint32_t access, RegKey &key)
{
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(toHkey(root), path.c_str(), 0, access, &opened);
    if (status == ERROR_SUCCESS)
        key = reinterpret_cast<RegKey>(opened);
    return status;
}

std::int32_t SystemPlatform::queryValue(RegKey key, const std::string &name, std::uint32_t &type,
                                        unsigned char *data, std::uint32_t &size)
{
    DWORD valueType = 0;
    DWORD byteCount = size;
    const LONG status = RegQueryValueExA(toHkey(key), name.c_str(), nullptr, &valueType, data, &byteCount);
    type = valueType;
    size = byteCount;
    return status;
}

void SystemPlatform::closeKey(RegKey key)
{
    RegCloseKey(toHkey(key));
}

bool SystemPlatform::fileExists(const std::string &path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES
        && !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

void SystemPlatform::startProgram(const std::string &path)
{
    // A file name holds neither quotes nor zero bytes; such a path would
    // start something else than it names.
    if (path.empty() || path.find_first_of(std::string("\"\0", 2)) != std::string::npos)
        throw SysInfoError("\"" + path + "\" is not a program path");

    // Quoted, so that a folder with blanks in its name is not cut at the
    // first blank; the application name keeps the system from searching.
    std::string commandLine = "\"" + path + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        throw SysInfoError("cannot start \"" + path + "\" (error " + std::to_string(GetLastError()) + ")");
    // The program lives on by itself: keep no handle to it.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

} // namespace sysinfo
