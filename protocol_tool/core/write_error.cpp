#include "protocol_tool/core/write_error.h"

#include "common/format.h"

namespace protocol {

std::string WriteErrorMessage(const std::filesystem::path& path) {
    return common::Format(kWriteErrorFormat, path.string().c_str());
}

}  // namespace protocol
