#pragma once
// The message shown when a file could not be written to its end. The file the user had
// under that name is kept as it was.
#include <filesystem>
#include <string>

namespace protocol {

inline constexpr char kWriteErrorFormat[] = "Can not write the file %s";

std::string WriteErrorMessage(const std::filesystem::path& path);

}  // namespace protocol
