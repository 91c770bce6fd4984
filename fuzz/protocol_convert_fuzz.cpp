// A protocol file with arbitrary bytes through everything that reads one: the record
// parser, the spreadsheet text and the Cyrillic RTF document.
#include <string>

#include "protocol_tool/core/cyrillic_rtf.h"
#include "protocol_tool/core/protocol_record.h"
#include "protocol_tool/core/spreadsheet_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    protocol::ReadRecords(bytes);
    protocol::SpreadsheetText(bytes);
    protocol::CyrillicRtf(bytes);
    return 0;
}
