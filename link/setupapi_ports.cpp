#include "link/setupapi_ports.h"

#include <windows.h>
// windows.h first: the device-setup header builds on its types.
#include <setupapi.h>

#include <memory>

namespace serial {

namespace {

// Registry strings are at most this many bytes here, the terminating zero included.
constexpr DWORD kValueBytes = 256;

// A REG_SZ value's bytes need not end in a zero; the text ends at the first one or the end.
std::string TextOf(const BYTE* bytes, DWORD size) {
    std::string text(reinterpret_cast<const char*>(bytes), size);
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
    return text;
}

std::optional<std::string> ReadPortName(HDEVINFO set, SP_DEVINFO_DATA& device) {
    HKEY key = SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) return std::nullopt;
    BYTE value[kValueBytes] = {};
    DWORD size = sizeof value;
    DWORD type = 0;
    LONG status = RegQueryValueExA(key, "PortName", nullptr, &type, value, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    return TextOf(value, size);
}

std::optional<std::string> ReadDescription(HDEVINFO set, SP_DEVINFO_DATA& device) {
    BYTE value[kValueBytes] = {};
    DWORD type = 0;
    DWORD size = 0;
    if (!SetupDiGetDeviceRegistryPropertyA(set, &device, SPDRP_DEVICEDESC, &type, value,
                                           sizeof value, &size) ||
        type != REG_SZ)
        return std::nullopt;
    return TextOf(value, size < sizeof value ? size : sizeof value);
}

}  // namespace

std::vector<PortsClassDevice> ListPortsClassDevices() {
    std::vector<PortsClassDevice> devices;
    DWORD count = 0;
    SetupDiClassGuidsFromNameA("Ports", nullptr, 0, &count);
    if (count == 0) return devices;
    auto guids = std::make_unique<GUID[]>(count);
    if (!SetupDiClassGuidsFromNameA("Ports", guids.get(), count, &count)) return devices;
    HDEVINFO set = SetupDiGetClassDevsA(&guids[0], nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return devices;
    for (DWORD index = 0;; ++index) {
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof device;
        if (!SetupDiEnumDeviceInfo(set, index, &device)) break;  // ERROR_NO_MORE_ITEMS
        PortsClassDevice entry;
        entry.portName = ReadPortName(set, device);
        if (entry.portName) entry.description = ReadDescription(set, device);
        devices.push_back(entry);
    }
    SetupDiDestroyDeviceInfoList(set);
    return devices;
}

}  // namespace serial
