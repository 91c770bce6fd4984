#pragma once
// TranslateToCyrillic: the RTF document with the display's Cyrillic letters, made beside a
// protocol file after a retrieval or a conversion.
#include <filesystem>

#include "common/frontend.h"

namespace protocol {

inline constexpr char kRtfNotCreatedMessage[] = "Can not open the cyrillix destination file";

enum class TranslateResult {
    Written,
    ProtocolUnreadable,  // nothing written, nothing shown
    RtfNotCreated,       // kRtfNotCreatedMessage shown
    WriteFailed,         // a message names the file; an earlier RTF document stays
};

// Writes the protocol file's RTF document under its name with ".rtf".
TranslateResult TranslateToCyrillic(const std::filesystem::path& protocolPath,
                                    common::Frontend& frontend);

}  // namespace protocol
