// Decoding a registry value for the system-information launcher: any type,
// any byte count, any bytes. The input is: type (1 byte), then the value.

#include "sysinfo.h"

#include <cstdlib>
#include <cstring>

namespace {
class FuzzRegistry : public sysinfo::Platform
{
public:
    std::uint32_t type = 0;
    const uint8_t *value = nullptr;
    std::uint32_t valueSize = 0;

    std::int32_t openKey(sysinfo::RegKey, const std::string &, std::uint32_t, sysinfo::RegKey &key) override
    {
        key = 1;
        return sysinfo::ErrorSuccess;
    }
    std::int32_t queryValue(sysinfo::RegKey, const std::string &, std::uint32_t &outType, unsigned char *data,
                            std::uint32_t &size) override
    {
        outType = type;
        if (valueSize > size) {
            size = valueSize;
            return sysinfo::ErrorMoreData;
        }
        if (valueSize)
            std::memcpy(data, value, valueSize);
        size = valueSize;
        return sysinfo::ErrorSuccess;
    }
    void closeKey(sysinfo::RegKey) override {}
    bool fileExists(const std::string &) override { return false; }
    void startProgram(const std::string &) override {}
    void showMessage(const std::string &) override {}
};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    FuzzRegistry registry;
    registry.type = data[0] % 12;
    registry.value = data + 1;
    registry.valueSize = std::uint32_t(size - 1);
    std::string out = "unchanged";
    bool found = false;
    try {
        found = sysinfo::GetKeyValue(registry, sysinfo::LocalMachine, "SOFTWARE\\Key", "Value", out);
    } catch (const sysinfo::SysInfoError &) {
        if (registry.valueSize != 0)
            std::abort(); // only an empty value is an error
        return 0;
    }
    if (registry.valueSize > sysinfo::ValueBufferSize) {
        if (found || !out.empty())
            std::abort();
        return 0;
    }
    if (!found)
        std::abort();
    if (registry.type == sysinfo::RegDword && out.compare(0, 2, "&h") != 0)
        std::abort();
    if (registry.type == sysinfo::RegSz && out.size() > registry.valueSize)
        std::abort();
    if (registry.type != sysinfo::RegSz && registry.type != sysinfo::RegDword && out != "unchanged")
        std::abort();
    sysinfo::StartSysInfo(registry);
    return 0;
}
