#include "plc/files/configuration_file.h"

#include <algorithm>

#include "common/file_helpers.h"
#include "common/format.h"
#include "common/utf8_path.h"

namespace plc {

int ReadConfigurationFile(const std::filesystem::path& path, ConfigurationBlock& block,
                          common::Frontend& frontend) {
    const std::optional<std::filesystem::path> found = common::FindFileIgnoringCase(path);
    std::optional<std::string> bytes = found ? common::ReadWholeFile(*found) : std::nullopt;
    if (!bytes) {
        frontend.message("Can't open kb file");
        return 1;
    }
    if (bytes->empty()) {
        frontend.message(common::Format("can't open file:%s", common::Utf8FromPath(path).c_str()));
        return 1;
    }
    block.fill(0);
    std::copy_n(bytes->begin(), std::min(bytes->size(), block.size()), block.begin());
    return 0;
}

std::uint16_t ConfigurationSum(const ConfigurationBlock& block) {
    unsigned sum = 0;
    for (std::uint8_t byte : block) sum += byte;
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

std::string ConfigurationTitle(const ConfigurationBlock& block) {
    std::string title;
    for (size_t i = 0; i < configuration::kTitleSize && block[configuration::kTitle + i] != 0; ++i)
        title += static_cast<char>(block[configuration::kTitle + i]);
    return title;
}

}  // namespace plc
