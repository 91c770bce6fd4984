#pragma once
// Reading protocol files and writing the files made from them. A file the user had is
// replaced only by a complete new one (common::ReplacingFile).
#include <filesystem>
#include <optional>
#include <string>

#include "common/replacing_file.h"

namespace protocol {

// The bytes of a protocol file; nullopt when it is missing, a folder or can't be read.
std::optional<std::string> ReadProtocolFile(const std::filesystem::path& path);

// NotOpened: the file could not be opened for writing (nothing changed); WriteFailed: the
// contents could not be written to their end (the old file stays).
using WriteResult = common::ReplaceResult;

// Writes a whole file, replacing an existing one only when the new one is complete.
inline WriteResult WriteReplacing(const std::filesystem::path& path, const std::string& bytes) {
    return common::ReplaceFileContents(path, bytes);
}

}  // namespace protocol
