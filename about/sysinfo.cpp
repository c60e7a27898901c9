#include "sysinfo.h"

namespace sysinfo {

namespace {
// Where the system-information tool is registered, in the order tried: the
// tool's full path, then the folder that holds it.
constexpr char ToolKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char ToolValue[] = "PATH";
constexpr char FolderKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr char FolderValue[] = "MSINFO";
constexpr char ToolFile[] = "\\MSINFO32.EXE";

// Closes an opened key however the lookup ends, the zero-length error included.
class KeyCloser
{
public:
    KeyCloser(Platform &platform, RegKey key) : m_platform(platform), m_key(key) {}
    ~KeyCloser() { m_platform.closeKey(m_key); }
    KeyCloser(const KeyCloser &) = delete;
    KeyCloser &operator=(const KeyCloser &) = delete;

private:
    Platform &m_platform;
    RegKey m_key;
};

// Appends `byte` in upper-case hexadecimal without leading zeros.
void appendHex(std::string &text, unsigned char byte)
{
    static const char digits[] = "0123456789ABCDEF";
    if (byte >= 0x10)
        text += digits[byte >> 4];
    text += digits[byte & 0x0F];
}

// Looks the tool up and starts it; false when it is not found.
bool findAndStart(Platform &platform)
{
    std::string ToolPath;
    // The first entry is used as it stands, without looking for the file.
    if (!GetKeyValue(platform, LocalMachine, ToolKey, ToolValue, ToolPath)) {
        if (!GetKeyValue(platform, LocalMachine, FolderKey, FolderValue, ToolPath))
            return false;
        const std::string candidate = ToolPath + ToolFile;
        if (!platform.fileExists(candidate))
            return false;
        ToolPath = candidate;
    }
    platform.startProgram(ToolPath);
    return true;
}
} // namespace

bool GetKeyValue(Platform &platform, RegKey KeyRoot, const std::string &KeyName, const std::string &SubKeyRef,
                 std::string &KeyVal)
{
    RegKey key = 0;
    if (platform.openKey(KeyRoot, KeyName, KeyRead, key) != ErrorSuccess) {
        KeyVal.clear();
        return false;
    }
    const KeyCloser closer(platform, key);

    unsigned char buffer[ValueBufferSize] = {};
    std::uint32_t type = 0;
    std::uint32_t size = ValueBufferSize;
    if (platform.queryValue(key, SubKeyRef, type, buffer, size) != ErrorSuccess) {
        KeyVal.clear();
        return false;
    }
    if (size == 0)
        throw SysInfoError("the registry value \"" + SubKeyRef + "\" has no bytes");
    if (size > ValueBufferSize)
        throw SysInfoError("the registry reported more bytes than the buffer holds");

    // A terminating zero byte is dropped, whatever the value's type.
    const std::uint32_t kept = buffer[size - 1] == 0 ? size - 1 : size;
    switch (type) {
    case RegSz:
        KeyVal.assign(reinterpret_cast<const char *>(buffer), kept);
        break;
    case RegDword:
        // Most significant byte first, after whatever KeyVal already held.
        for (std::uint32_t i = kept; i-- > 0;)
            appendHex(KeyVal, buffer[i]);
        KeyVal.insert(0, "&h");
        break;
    default:
        break;
    }
    return true;
}

void StartSysInfo(Platform &platform)
{
    bool started = false;
    try {
        started = findAndStart(platform);
    } catch (...) {
        // A value the lookup cannot read and a program that does not start
        // are reported like a missing tool.
    }
    if (!started)
        platform.showMessage(UnavailableMessage);
}

} // namespace sysinfo
