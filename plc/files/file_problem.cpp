#include "plc/files/file_problem.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace plc {

std::string WhyCannotRead(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) return "it does not exist";
    if (status.type() == std::filesystem::file_type::directory) return "it is a folder";
    // Opened through the path itself: on Windows that is the wide name, so a folder named
    // beyond the 8-bit code page is opened as it is named. The C library's open sets errno.
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (file.is_open()) return {};
    const int error = errno;
    if (error == EACCES || error == EPERM) return "you have no permission to read it";
    if (error == 0) return ec ? ec.message() : "it can't be opened";
    return std::strerror(error);  // NOLINT(concurrency-mt-unsafe): one thread
}

}  // namespace plc
