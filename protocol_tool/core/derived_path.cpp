#include "protocol_tool/core/derived_path.h"

namespace protocol {

std::filesystem::path DerivedPath(const std::filesystem::path& source,
                                  const std::string& extension) {
    const std::string name = source.filename().string();
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) {
        std::filesystem::path derived = source;
        derived += extension;
        return derived;
    }
    return source.parent_path() / (name.substr(0, dot) + extension);
}

}  // namespace protocol
