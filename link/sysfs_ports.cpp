#include "link/sysfs_ports.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <utility>

namespace serial {

namespace fs = std::filesystem;

namespace {

std::string ReadFirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    return line;
}

// ttyS2 before ttyS10: compare runs of digits by value.
bool NaturalLess(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (std::isdigit(static_cast<unsigned char>(a[i])) &&
            std::isdigit(static_cast<unsigned char>(b[j]))) {
            size_t ei = i, ej = j;
            while (ei < a.size() && std::isdigit(static_cast<unsigned char>(a[ei]))) ++ei;
            while (ej < b.size() && std::isdigit(static_cast<unsigned char>(b[ej]))) ++ej;
            // By value without converting, so no run of digits is too long to compare.
            size_t si = i, sj = j;
            while (si + 1 < ei && a[si] == '0') ++si;
            while (sj + 1 < ej && b[sj] == '0') ++sj;
            if (ei - si != ej - sj) return ei - si < ej - sj;
            int order = a.compare(si, ei - si, b, sj, ej - sj);
            if (order != 0) return order < 0;
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

bool OnUsbBus(const fs::path& devicePath) {
    for (const auto& part : devicePath) {
        std::string p = part.string();
        if (p.rfind("usb", 0) == 0) return true;
    }
    return false;
}

// The USB product name: the "product" file of the nearest USB device above the interface.
std::string UsbProduct(fs::path devicePath, const fs::path& root) {
    while (!devicePath.empty() && devicePath != root && devicePath.has_relative_path()) {
        std::error_code ec;
        if (fs::exists(devicePath / "product", ec)) return ReadFirstLine(devicePath / "product");
        devicePath = devicePath.parent_path();
    }
    return {};
}

}  // namespace

std::vector<PortInfo> EnumeratePorts(const std::string& sysfsRoot) {
    std::vector<PortInfo> ports;
    const fs::path root(sysfsRoot);
    const fs::path classDir = root / "class" / "tty";
    std::error_code ec;
    for (fs::directory_iterator it(classDir, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path entry = it->path();
        const fs::path deviceLink = entry / "device";
        std::error_code e2;
        if (!fs::exists(deviceLink, e2)) continue;  // virtual terminal, pty, console
        const std::string name = entry.filename().string();
        fs::path device = fs::canonical(deviceLink, e2);
        if (e2) device = deviceLink;
        const std::string driver =
            fs::exists(deviceLink / "driver", e2)
                ? fs::canonical(deviceLink / "driver", e2).filename().string()
                : std::string();
        // The 8250 driver registers placeholder ports without a UART behind them; their
        // type reads 0.
        if (driver == "serial8250" && fs::exists(entry / "type", e2) &&
            ReadFirstLine(entry / "type") == "0")
            continue;
        PortInfo info;
        info.name = name;
        if (OnUsbBus(device)) {
            std::string product = UsbProduct(device, root);
            info.description = "USB Serial Port";
            if (!product.empty()) info.description += " (" + product + ")";
        } else {
            info.description = "Communications Port";
        }
        ports.push_back(info);
    }
    std::sort(ports.begin(), ports.end(),
              [](const PortInfo& a, const PortInfo& b) { return NaturalLess(a.name, b.name); });
    return ports;
}

SysfsPortEnumeration::SysfsPortEnumeration(std::string sysfsRoot) : root_(std::move(sysfsRoot)) {}

std::vector<PortInfo> SysfsPortEnumeration::EnumeratePorts() {
    return serial::EnumeratePorts(root_);
}

}  // namespace serial
