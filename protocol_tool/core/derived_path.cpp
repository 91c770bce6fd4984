#include "protocol_tool/core/derived_path.h"

#include "common/utf8_path.h"

namespace protocol {

std::filesystem::path DerivedPath(const std::filesystem::path& source,
                                  const std::string& extension) {
    const std::string name = common::Utf8FromPath(source.filename());
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) {
        std::filesystem::path derived = source;
        derived += extension;
        return derived;
    }
    return source.parent_path() / common::PathFromUtf8(name.substr(0, dot) + extension);
}

}  // namespace protocol
