#pragma once

// The system-information launcher: two registry lookups that find the
// system-information tool, and starting it. Free of Qt, so that the same
// sources build for Windows with any compiler, MinGW included.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace sysinfo {

// A registry key handle as the platform hands it out (HKEY on Windows).
using RegKey = std::uintptr_t;
// HKEY_LOCAL_MACHINE: the 32-bit value 0x80000002, widened with its sign as
// Windows widens it to a handle.
inline const RegKey LocalMachine = static_cast<RegKey>(static_cast<std::intptr_t>(std::int32_t(0x80000002)));

// The keys are only read: KEY_READ, which ordinary users and administrators
// without elevation are granted under HKEY_LOCAL_MACHINE.
constexpr std::uint32_t KeyRead = 0x20019;
constexpr std::uint32_t RegSz = 1;
constexpr std::uint32_t RegExpandSz = 2;
constexpr std::uint32_t RegBinary = 3;
constexpr std::uint32_t RegDword = 4;
constexpr std::int32_t ErrorSuccess = 0;
constexpr std::int32_t ErrorFileNotFound = 2;
constexpr std::int32_t ErrorAccessDenied = 5;
constexpr std::int32_t ErrorMoreData = 234;
// Size of the buffer a value is read into.
constexpr std::uint32_t ValueBufferSize = 1024;

constexpr char UnavailableMessage[] = "System Information Is Unavailable At This Time";

// A failure outside the registry calls themselves, raised to the caller.
class SysInfoError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// What the launcher needs of the system. Registry calls return the
// platform's status code (0 is success); paths and names are narrow text in
// the system's 8-bit code page.
class Platform
{
public:
    virtual ~Platform() = default;

    // Opens `path` under `root` with the access mask `access`.
    virtual std::int32_t openKey(RegKey root, const std::string &path, std::uint32_t access, RegKey &key) = 0;
    // Reads value `name` of `key` into `data`; `size` holds the buffer's size
    // on entry and the value's byte count on return.
    virtual std::int32_t queryValue(RegKey key, const std::string &name, std::uint32_t &type, unsigned char *data,
                                    std::uint32_t &size) = 0;
    virtual void closeKey(RegKey key) = 0;
    // Whether `path` names a file; hidden and system files and folders do not count.
    virtual bool fileExists(const std::string &path) = 0;
    // Starts `path` as a separate program in a normal window with the focus,
    // without waiting for it; throws SysInfoError when it cannot be started.
    virtual void startProgram(const std::string &path) = 0;
    // Tells the user `text` in a message box with an OK button only.
    virtual void showMessage(const std::string &text) = 0;
};

// The system's own registry, files and programs: advapi32 and Win32 on
// Windows; elsewhere a registry without keys. Message boxes are left to
// whoever shows the launcher.
class SystemPlatform : public Platform
{
public:
    std::int32_t openKey(RegKey root, const std::string &path, std::uint32_t access, RegKey &key) override;
    std::int32_t queryValue(RegKey key, const std::string &name, std::uint32_t &type, unsigned char *data,
                            std::uint32_t &size) override;
    void closeKey(RegKey key) override;
    bool fileExists(const std::string &path) override;
    void startProgram(const std::string &path) override;
};

// Reads value `SubKeyRef` of key `KeyName` under `KeyRoot` into `KeyVal`:
// strings as they are, DWORDs as "&h" and hex digits, other types leave
// `KeyVal` alone. False, with `KeyVal` empty, when the registry refuses;
// throws SysInfoError for a value of zero bytes.
bool GetKeyValue(Platform &platform, RegKey KeyRoot, const std::string &KeyName, const std::string &SubKeyRef,
                 std::string &KeyVal);

// Finds the system-information tool and starts it, or tells the user that it
// is unavailable. Every failure to find or start it ends in that message.
void StartSysInfo(Platform &platform);

} // namespace sysinfo
