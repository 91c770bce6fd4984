#pragma once
// The PLC's module table, filled by the directory read: up to 65 entries of 38 bytes.
//
//   entry bytes  meaning
//   0-31         the module's header as the PLC holds it (see module_header.h)
//   32           module number, from the page map
//   33-34        first word of the header answer (kept, not used)
//   35-36        second word of the header answer (kept, not used)
//   37           not used
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "plc/module_header.h"

namespace plc {

namespace entry {
constexpr size_t kSize = 38;
constexpr size_t kNumber = 32;
constexpr size_t kAnswerWord1 = 33;
constexpr size_t kAnswerWord2 = 35;
}  // namespace entry

constexpr size_t kMaxModules = 65;

struct ModuleEntry {
    std::array<std::uint8_t, entry::kSize> bytes{};

    std::uint8_t number() const { return bytes[entry::kNumber]; }
    std::string name() const { return HeaderName(bytes.data()); }
    std::uint8_t kind() const { return bytes[header::kKind]; }
    std::uint8_t startPage() const { return bytes[header::kStartPage]; }
    // Code length as the PLC holds it, the 2-byte sum included.
    std::uint16_t codeLength() const { return HeaderWord(bytes.data(), header::kCodeLength); }
};

using ModuleTable = std::vector<ModuleEntry>;

}  // namespace plc
