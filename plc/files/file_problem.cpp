#include "plc/files/file_problem.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace plc {

std::string WhyCannotRead(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) return "it does not exist";
    if (status.type() == std::filesystem::file_type::directory) return "it is a folder";
    errno = 0;
    std::FILE* file = std::fopen(path.string().c_str(), "rb");
    if (file) {
        std::fclose(file);
        return {};
    }
    const int error = errno;
    if (error == EACCES || error == EPERM) return "you have no permission to read it";
    if (error == 0) return ec ? ec.message() : "it can't be opened";
    return std::strerror(error);  // NOLINT(concurrency-mt-unsafe): one thread
}

}  // namespace plc
