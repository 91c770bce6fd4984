#pragma once
// Reading a project back from the PLC and comparing it byte for byte: the directory, every
// module's header and code, and the configuration block.
//
// Header bytes the download or the PLC fill in on their own are compared with the values
// the download sent when it is known (verify after a download); when only the project's
// files are known, the date (bytes 9-13), the PLC's module number in the directory code
// (byte 28, bits 5-0) and the start page (byte 29) are taken as the PLC holds them, and the
// loader mark (22-23), the kind bits of byte 28 and the code length (30-31) are compared
// with what a download would have sent.
//
// Offsets in a module count as in its module file: header bytes 0-31, code from 32 on (the
// 2-byte sum last).
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "plc/files/configuration_file.h"
#include "plc/files/module_file.h"
#include "plc/plc_programmer.h"

namespace plc {

namespace verify {
// Differences listed per module; the rest are counted.
constexpr size_t kListedPerModule = 10;
constexpr const char* kConfigurationName = "configuration block";
}  // namespace verify

struct ExpectedModule {
    ModuleHeader header{};
    std::string code;         // with the 2-byte sum
    bool placeKnown = false;  // date, PLC number and start page as sent (after a download)
};

struct ExpectedProject {
    std::vector<ExpectedModule> modules;
    std::optional<ConfigurationBlock> configuration;  // none: not compared
};

struct ByteDifference {
    size_t offset = 0;
    std::uint8_t expected = 0;
    std::uint8_t found = 0;
};

struct ModuleComparison {
    std::string name;  // module name, or verify::kConfigurationName
    enum class State { kSame, kDifferent, kMissing, kExtra } state = State::kSame;
    std::vector<ByteDifference> listed;  // at most kListedPerModule
    size_t differences = 0;              // all of them
    size_t expectedLength = 0;           // header and code
    size_t foundLength = 0;
};

struct VerifyReport {
    std::vector<ModuleComparison> comparisons;
    bool ok() const;
    // One line per difference, as quarnctl prints them and the dialog shows the first.
    std::vector<std::string> Lines() const;
};

// What the PLC holds, read back: the module table (headers) with each module's code in
// table order, and the configuration block byte for byte as the PLC holds it (none when
// the directory says there is none).
struct PlcReadBack {
    ModuleTable table;
    std::vector<std::string> codes;
    std::optional<ConfigurationBlock> configuration;
};

// Reads the directory, every module's code and the configuration block. Communication
// failures throw CQuarnException.
PlcReadBack ReadBack(CPlcProgrammer& programmer);

// The project as a download of it would send it (download_contents.h), from its files, on
// the PLC as read back: called after ReadBack, whose directory read left the state a
// download starts from. nullopt after a message saying what failed: the project file
// can't be read (and why), "Kein Konfigurationsblock" (after the .kb file's own message),
// or a module file's "%d %s" (*why then says why a file that can't be opened couldn't be).
std::optional<ExpectedProject> ExpectedFromFiles(const std::filesystem::path& projectFile,
                                                 CPlcProgrammer& programmer,
                                                 std::string* why = nullptr);

VerifyReport CompareProject(const ExpectedProject& expected, const PlcReadBack& plc);

}  // namespace plc
