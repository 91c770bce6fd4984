#include "protocol_tool/core/write_error.h"

#include "common/format.h"
#include "common/utf8_path.h"

namespace protocol {

std::string WriteErrorMessage(const std::filesystem::path& path) {
    return common::Format(kWriteErrorFormat, common::Utf8FromPath(path).c_str());
}

}  // namespace protocol
