#include "plc/files/module_file.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "common/file_helpers.h"
#include "common/utf8_path.h"
#include "plc/files/file_access_time.h"
#include "plc/files/local_time.h"

namespace plc {

std::string ModuleBaseName(const std::filesystem::path& path) {
    std::string name = common::Utf8FromPath(path.filename());
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

int CheckModuleKind(std::uint8_t kind, std::uint8_t variant) {
    enum class Allowed { Everywhere, NotOnVariant2, OnlyOnVariant2 };
    Allowed allowed;
    switch (kind) {
        case 0:
        case 11:
            allowed = Allowed::NotOnVariant2;
            break;
        case 3:
        case 4:
        case 9:
        case 128:
            allowed = Allowed::Everywhere;
            break;
        case 16:
        case 27:
        case 28:
        case 29:
        case 30:
            allowed = Allowed::OnlyOnVariant2;
            break;
        default:
            return module_file::kNotAModuleKind;
    }
    const bool restricted = variant == module_file::kRestrictedVariant;
    if ((allowed == Allowed::NotOnVariant2 && restricted) ||
        (allowed == Allowed::OnlyOnVariant2 && !restricted))
        return module_file::kNotForVariant;
    return module_file::kOk;
}

std::uint16_t CodeSum(std::string_view code) {
    unsigned sum = 0;
    for (char c : code) sum += static_cast<unsigned char>(c);
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

int ReadModuleFile(const std::filesystem::path& named, std::uint8_t plcVariant,
                   ModuleImage& image) {
    const std::optional<std::filesystem::path> path = common::FindFileIgnoringCase(named);
    if (!path) return module_file::kCannotOpen;
    // Opened for reading only: the name and the date go into the header in memory, so a
    // file on read-only media, or one the technician may only read, gives the same header
    // as a writable one, and the file stays as it is.
    std::ifstream file(*path, std::ios::binary);
    if (!file) return module_file::kCannotOpen;

    const std::string name = ModuleBaseName(named);
    if (name.size() > header::kMaxNameLength) return module_file::kNameTooLong;

    image.header.fill(0);
    file.read(reinterpret_cast<char*>(image.header.data()), header::kSize);
    const auto headerBytes = static_cast<size_t>(file.gcount());
    // Asked once the header was read, so the date is that of this very access where the
    // file system keeps access times up to date. A file whose status can't be read gets
    // the time now, which is what that access time would be.
    const std::tm accessTime = LastAccessLocalTime(*path).value_or(CurrentLocalTime());
    file.clear();
    file.seekg(0, std::ios::end);
    const auto size = static_cast<std::int64_t>(file.tellg());

    std::copy(name.begin(), name.end(), image.header.begin() + header::kName);
    image.header[header::kName + name.size()] = 0;
    image.header[header::kYear] = static_cast<std::uint8_t>((accessTime.tm_year + 1900) % 100);
    image.header[header::kMonth] = static_cast<std::uint8_t>(accessTime.tm_mon + 1);
    image.header[header::kDay] = static_cast<std::uint8_t>(accessTime.tm_mday);
    image.header[header::kHour] = static_cast<std::uint8_t>(accessTime.tm_hour);
    image.header[header::kMinute] = static_cast<std::uint8_t>(accessTime.tm_min);

    // Signed: a length of 0x8000 and up is negative, so the size check always passes and
    // the read of a negative count fails.
    const auto signedLength =
        static_cast<std::int16_t>(HeaderWord(image.header.data(), header::kCodeLength));
    if (headerBytes < header::kSize ||
        size < static_cast<std::int64_t>(header::kSize) + signedLength)
        return module_file::kTooShort;
    if (signedLength < 0) return module_file::kReadFailed;
    const auto length = static_cast<size_t>(signedLength);

    image.code.assign(length, '\0');
    file.clear();
    file.seekg(header::kSize);
    file.read(image.code.data(), static_cast<std::streamsize>(length));
    if (!file || static_cast<size_t>(file.gcount()) != length) return module_file::kReadFailed;

    const std::uint16_t sum = CodeSum(image.code);
    image.code += static_cast<char>(sum & 0xFF);
    image.code += static_cast<char>(sum >> 8);
    return CheckModuleKind(image.header[header::kKind], plcVariant);
}

}  // namespace plc
