// The system-information launcher against a real Windows registry, real
// files and real processes. The suite cross-compiles it and runs it in a
// private Wine prefix; it runs the same on Windows itself, but it rewrites the
// launcher's registry entries under HKEY_LOCAL_MACHINE, so run it there only
// on a machine of its own.
//
// A copy of this program named MSINFO32.EXE stands in for the tool: started
// under that name it writes its command line into "started.txt" beside
// itself and ends.

#include "sysinfo.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <sddl.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

using namespace sysinfo;

namespace {

const char ToolKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char FolderKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
const char ScratchKey[] = "SOFTWARE\\Velmora Test";
const char MarkerName[] = "started.txt";
// DACLs for a key, everything allowed to everyone but: writing (set value and
// create subkey), as ordinary users find the keys under HKEY_LOCAL_MACHINE;
// or reading its values.
const char DenyWriting[] = "D:(D;;0x0006;;;WD)(A;;KA;;;WD)";
const char DenyReading[] = "D:(D;;0x0001;;;WD)(A;;KA;;;WD)";

std::string ownPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// ---- fixture: registry and folders -----------------------------------------

HKEY createKey(const char *path)
{
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
}

// Runs `use` on the key at `path` opened with `access`, if it opens.
template <typename Use>
void withKey(const char *path, REGSAM access, Use use)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, access, &key) == ERROR_SUCCESS) {
        use(key);
        RegCloseKey(key);
    }
}

// Stores `bytes` under `name`; a guard byte after the data keeps the registry
// from taking a terminating zero that the data does not have.
void setValue(const char *keyPath, const char *name, DWORD type, const std::string &bytes)
{
    HKEY key = createKey(keyPath);
    std::string guarded = bytes + '\x7F';
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE *>(guarded.data()), DWORD(bytes.size()));
    RegCloseKey(key);
}

void setString(const char *keyPath, const char *name, const std::string &text)
{
    setValue(keyPath, name, REG_SZ, text + '\0');
}

// The byte count the registry reports for a value, to check the fixture.
DWORD storedSize(const char *keyPath, const char *name)
{
    DWORD size = 0;
    withKey(keyPath, KEY_READ, [&](HKEY key) { RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size); });
    return size;
}

void setKeySecurity(const char *keyPath, PSECURITY_DESCRIPTOR descriptor)
{
    withKey(keyPath, READ_CONTROL | WRITE_DAC,
            [&](HKEY key) { RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor); });
}

// Gives a key the DACL `sddl` for as long as it lives; the key's own DACL
// comes back afterwards.
class DeniedKey
{
public:
    DeniedKey(const char *keyPath, const char *sddl) : m_path(keyPath)
    {
        withKey(keyPath, READ_CONTROL, [&](HKEY key) {
            DWORD size = 0;
            RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
            m_saved.resize(size);
            if (RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, m_saved.data(), &size) != ERROR_SUCCESS)
                m_saved.clear();
        });
        PSECURITY_DESCRIPTOR deny = nullptr;
        if (ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &deny, nullptr)) {
            setKeySecurity(keyPath, deny);
            LocalFree(deny);
        }
    }
    ~DeniedKey()
    {
        if (!m_saved.empty())
            setKeySecurity(m_path, m_saved.data());
    }
    DeniedKey(const DeniedKey &) = delete;
    DeniedKey &operator=(const DeniedKey &) = delete;

private:
    const char *m_path;
    std::vector<char> m_saved;
};

struct Folders
{
    std::string tool;      // a folder with blanks in its name that holds the tool
    std::string otherTool; // a second folder that holds the tool
    std::string empty;     // a folder without it
    std::string hidden;    // the tool there is a hidden file
    std::string system;    // the tool there is a system file
    std::string folder;    // "MSINFO32.EXE" there is a folder
};

std::string makeFolder(const std::string &path)
{
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

// Folders beside this program; they may be left from an earlier run.
Folders makeFolders()
{
    const std::string self = ownPath();
    const std::string root = makeFolder(self.substr(0, self.rfind('\\')) + "\\sysinfo folders");
    auto folderWithTool = [&](const std::string &folder, DWORD attributes) {
        const std::string tool = makeFolder(folder) + "\\MSINFO32.EXE";
        SetFileAttributesA(tool.c_str(), FILE_ATTRIBUTE_NORMAL);
        CopyFileA(self.c_str(), tool.c_str(), FALSE);
        SetFileAttributesA(tool.c_str(), attributes);
        return folder;
    };
    Folders f;
    makeFolder(root + "\\Program Files");
    f.tool = folderWithTool(root + "\\Program Files\\System Info Tool", FILE_ATTRIBUTE_NORMAL);
    f.otherTool = folderWithTool(root + "\\Other Tool", FILE_ATTRIBUTE_NORMAL);
    f.hidden = folderWithTool(root + "\\Hidden Tool", FILE_ATTRIBUTE_HIDDEN);
    f.system = folderWithTool(root + "\\System Tool", FILE_ATTRIBUTE_SYSTEM);
    f.empty = makeFolder(root + "\\Empty Folder");
    f.folder = makeFolder(root + "\\Folder Tool");
    makeFolder(f.folder + "\\MSINFO32.EXE");
    return f;
}

bool pathExists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Waits up to ten seconds for a started copy to leave its marker.
std::string waitForMarker(const std::string &folder)
{
    const std::string marker = folder + "\\" + MarkerName;
    for (int i = 0; i < 200; ++i, Sleep(50)) {
        std::ifstream in(marker, std::ios::binary);
        std::string line;
        if (std::getline(in, line) && !in.eof()) // a whole line, written to its end
            return line;
    }
    return {};
}

void removeMarkers(const Folders &f)
{
    for (const std::string &folder : {f.tool, f.otherTool})
        DeleteFileA((folder + "\\" + MarkerName).c_str());
}

// The system platform, with the message box recorded instead of shown and
// every start recorded before it is made.
class Recorder : public SystemPlatform
{
public:
    std::vector<std::string> started;
    std::vector<std::string> messages;

    void startProgram(const std::string &path) override
    {
        started.push_back(path);
        SystemPlatform::startProgram(path);
    }
    void showMessage(const std::string &text) override { messages.push_back(text); }
};

// ---- checks -------------------------------------------------------------------

int passed = 0, failed = 0;

void check(bool ok, const std::string &row, const std::string &what)
{
    if (ok) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAIL %s: %s\n", row.c_str(), what.c_str());
    }
}

std::string quoted(const std::string &text)
{
    return "\"" + text + "\"";
}

void resetRegistry()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, ScratchKey);
    for (const char *keyPath : {ToolKey, FolderKey}) {
        HKEY key = createKey(keyPath);
        RegDeleteValueA(key, keyPath == ToolKey ? "PATH" : "MSINFO");
        RegCloseKey(key);
    }
}

// GetKeyValue, one value at a time, from the scratch key.
const int Raises = -1; // a row's result: GetKeyValue raises an error

struct ValueRow
{
    const char *name;
    DWORD type;
    std::string bytes;
    DWORD expectedSize;   // what the registry must report: checks the fixture
    std::string initial;  // KeyVal on entry
    int expectedResult;   // false, true or Raises
    std::string expected; // KeyVal afterwards
    const char *key = ScratchKey;
    const char *valueName = "value";
    const char *dacl = nullptr; // DenyWriting, DenyReading or the key's own
};

void valueRows()
{
    const std::string x1023(1023, 'x'), x1024(1024, 'x'), abc("abc", 4);
    const ValueRow rows[] = {
        {"string with terminating zero", REG_SZ, abc, 4, "", true, "abc"},
        {"string without terminating zero", REG_SZ, "abc", 3, "", true, "abc"},
        {"string of 1024 bytes with zero", REG_SZ, x1023 + '\0', 1024, "", true, x1023},
        {"string of 1024 bytes without zero", REG_SZ, x1024, 1024, "", true, x1024},
        {"string of 1025 bytes", REG_SZ, x1024 + '\0', 1025, "keep", false, ""},
        {"dword 26", REG_DWORD, std::string("\x1A\0\0\0", 4), 4, "", true, "&h001A"},
        {"dword 0x12345678", REG_DWORD, "\x78\x56\x34\x12", 4, "", true, "&h12345678"},
        {"expandable string", REG_EXPAND_SZ, std::string("C:\\x.exe", 9), 9, "keep", true, "keep"},
        {"value of zero bytes", REG_SZ, "", 0, "", Raises, ""},
        {"missing value", REG_SZ, abc, 4, "keep", false, "", ScratchKey, "other"},
        {"missing key", REG_SZ, abc, 4, "keep", false, "", "SOFTWARE\\Velmora Test\\none"},
        {"key not writable", REG_SZ, abc, 4, "", true, "abc", ScratchKey, "value", DenyWriting},
        // Last: the key is left with "abc" and its own DACL back.
        {"access denied", REG_SZ, abc, 4, "keep", false, "", ScratchKey, "value", DenyReading},
    };
    for (const ValueRow &row : rows) {
        resetRegistry();
        setValue(ScratchKey, "value", row.type, row.bytes);
        check(storedSize(ScratchKey, "value") == row.expectedSize, row.name, "stored size");
        Recorder platform;
        std::string value = row.initial;
        int result = Raises;
        try {
            std::optional<DeniedKey> denied;
            if (row.dacl)
                denied.emplace(ScratchKey, row.dacl);
            result = GetKeyValue(platform, LocalMachine, row.key, row.valueName, value);
        } catch (const SysInfoError &) {
        } catch (const std::exception &e) {
            check(false, row.name, std::string("threw: ") + e.what());
            continue;
        }
        check(result == row.expectedResult, row.name, "result");
        check(value == row.expected, row.name, "value " + quoted(value.substr(0, 40)));
    }
    // The DACL is back: the key can be read again.
    std::string value;
    Recorder platform;
    check(GetKeyValue(platform, LocalMachine, ScratchKey, "value", value) && value == "abc", "access restored",
          "value readable");
}

// StartSysInfo end to end: what is stored, what starts, what the user is told.
// The hidden, system, folder and missing candidates show that none of them
// counts as the tool.
struct LaunchRow
{
    const char *name;
    DWORD pathType;            // 0: no "PATH" value
    std::string path;          // its bytes
    std::string folder;        // the "MSINFO" string; "" for none
    std::string startedFolder; // where the tool must run; "" for the message
    const char *dacl = nullptr; // both keys' DACL while it runs; null: their own
};

void launchRows(const Folders &f)
{
    const std::string tool = f.tool + "\\MSINFO32.EXE" + '\0';
    const LaunchRow rows[] = {
        {"both present: the first is started", REG_SZ, tool, f.otherTool, f.tool},
        {"folder holds the tool", 0, "", f.otherTool, f.otherTool},
        {"path longer than the buffer", REG_SZ, std::string(1024, 'x') + '\0', f.otherTool, f.otherTool},
        {"folder without the tool", 0, "", f.empty, ""},
        {"path names a missing file", REG_SZ, f.empty + "\\MSINFO32.EXE" + '\0', "", ""},
        {"hidden tool", 0, "", f.hidden, ""},
        {"system tool", 0, "", f.system, ""},
        {"tool is a folder", 0, "", f.folder, ""},
        {"zero bytes under PATH", REG_SZ, "", f.otherTool, ""},
        {"expandable string under PATH", REG_EXPAND_SZ, tool, "", ""},
        {"keys not writable: the first is started", REG_SZ, tool, f.otherTool, f.tool, DenyWriting},
        {"access denied", REG_SZ, tool, f.otherTool, "", DenyReading},
        {"nothing registered", 0, "", "", ""},
    };
    for (const LaunchRow &row : rows) {
        resetRegistry();
        removeMarkers(f);
        if (row.pathType != 0)
            setValue(ToolKey, "PATH", row.pathType, row.path);
        if (!row.folder.empty())
            setString(FolderKey, "MSINFO", row.folder);
        Recorder platform;
        {
            std::optional<DeniedKey> deniedTool, deniedFolder;
            if (row.dacl) {
                deniedTool.emplace(ToolKey, row.dacl);
                deniedFolder.emplace(FolderKey, row.dacl);
            }
            StartSysInfo(platform);
        }
        const std::string &folder = row.startedFolder;
        if (folder.empty()) {
            check(platform.messages == std::vector<std::string>{UnavailableMessage}, row.name, "message shown");
            const bool ranNothing = platform.started.empty()
                || (platform.started.size() == 1 && !pathExists(platform.started[0]));
            check(ranNothing, row.name, "nothing started");
        } else {
            const std::string program = folder + "\\MSINFO32.EXE";
            check(platform.messages.empty(), row.name, "no message");
            check(platform.started == std::vector<std::string>{program}, row.name, "started " + program);
            check(waitForMarker(folder) == quoted(program), row.name, "the started copy ran, path quoted");
        }
    }
}

// Started as the stand-in tool: leave the marker and end.
int runAsTool(const std::string &self)
{
    const std::string marker = self.substr(0, self.rfind('\\')) + "\\" + MarkerName;
    FILE *out = std::fopen(marker.c_str(), "wb");
    if (!out)
        return 1;
    std::fprintf(out, "%s\n", GetCommandLineA());
    return std::fclose(out) == 0 ? 0 : 1;
}

} // namespace

int main()
{
    const std::string self = ownPath();
    const std::string toolName = "\\MSINFO32.EXE";
    if (self.size() > toolName.size() && _stricmp(self.c_str() + self.size() - toolName.size(), toolName.c_str()) == 0)
        return runAsTool(self);

    check(LocalMachine == reinterpret_cast<RegKey>(HKEY_LOCAL_MACHINE), "root key", "HKEY_LOCAL_MACHINE");
    const Folders folders = makeFolders();
    valueRows();
    launchRows(folders);

    bool threw = false;
    try {
        Recorder platform;
        platform.startProgram("");
    } catch (const SysInfoError &) {
        threw = true;
    }
    check(threw, "empty program path", "raises an error");

    resetRegistry();
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
