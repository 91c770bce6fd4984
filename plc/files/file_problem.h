#pragma once
// Why a file can't be opened for reading, in words for the technician: missing, a folder,
// no permission, or what the system said.
#include <filesystem>
#include <string>

namespace plc {

// "it does not exist", "it is a folder", "you have no permission to read it", or the
// system's own text; empty when the file can be opened for reading now.
std::string WhyCannotRead(const std::filesystem::path& path);

}  // namespace plc
