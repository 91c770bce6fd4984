#pragma once
// Reading protocol files and writing the files made from them. A file the user had is
// replaced only by a complete new one: the bytes go into a temporary file beside it first.
#include <filesystem>
#include <optional>
#include <string>

namespace protocol {

// The bytes of a protocol file; nullopt when it is missing, a folder or can't be read.
std::optional<std::string> ReadProtocolFile(const std::filesystem::path& path);

// The file that writing to the path reaches: a symbolic link is followed, so the file it
// points to is replaced rather than the link.
std::filesystem::path WriteTarget(const std::filesystem::path& path);

// True when the target may be replaced: it doesn't exist yet, or it is a file that can be
// opened for writing (which is tried without changing it).
bool CanReplace(const std::filesystem::path& target);

enum class WriteResult {
    Written,
    NotCreated,   // the file (or its temporary file) could not be created
    WriteFailed,  // created, but writing or the final replacement failed; the old file stays
};

// Writes a whole file through a temporary file beside it.
WriteResult WriteReplacing(const std::filesystem::path& path, const std::string& bytes);

}  // namespace protocol
