#pragma once
// What the fuzz targets share: the outside bytes cut into the answers a device gives, one per
// request, and a private folder for the files a target reads and writes.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "link/scripted_device.h"

namespace fuzz {

// The longest answer one request gets: above the longest telegram (261 bytes) and a
// display line, so the receivers' own bounds are reached.
inline constexpr size_t kMaxAnswer = 600;

// Lets the scripted device answer every write with the next piece of the input; once the
// input is used up the device falls silent.
inline void AnswerFromInput(serial::ScriptedDevice& device, FuzzedDataProvider& input) {
    device.respond([&input](const std::string&) {
        if (input.remaining_bytes() == 0) return std::string();
        return input.ConsumeRandomLengthString(kMaxAnswer);
    });
}

// A folder of this process's own, emptied for every input.
class ScratchFolder {
  public:
    ScratchFolder() {
        path_ =
            std::filesystem::temp_directory_path() / ("suite-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path_);
    }
    const std::filesystem::path& path() const { return path_; }
    void clear() {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(path_, ignored))
            std::filesystem::remove_all(entry.path(), ignored);
    }
    std::filesystem::path write(const std::string& name, const std::string& bytes) const {
        std::filesystem::path file = path_ / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

  private:
    std::filesystem::path path_;
};

}  // namespace fuzz
