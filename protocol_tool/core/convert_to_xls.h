#pragma once
// ConvertToXls: a protocol file becomes the spreadsheet text beside it, and with translate
// also the Cyrillic RTF document.
#include <filesystem>
#include <optional>

#include "common/frontend.h"
#include "protocol_tool/core/status_line.h"
#include "protocol_tool/core/translate_to_cyrillic.h"

namespace protocol {

inline constexpr char kConvertToFormat[] = "Convert to %s";
inline constexpr char kConvertReadyText[] = "Convert ready";

enum class ConvertResult {
    Converted,
    ProtocolUnreadable,     // nothing happened: no status, no RTF document
    SpreadsheetNotCreated,  // status still "Convert to ..."; the RTF step ran all the same
    WriteFailed,            // a message names the file; the operation ended there
};

struct ConvertOutcome {
    ConvertResult spreadsheet = ConvertResult::ProtocolUnreadable;
    std::optional<TranslateResult> rtf;  // set when the translation ran
};

ConvertOutcome ConvertToXls(const std::filesystem::path& protocolPath, bool translate,
                            StatusLine& status, common::Frontend& frontend);

}  // namespace protocol
