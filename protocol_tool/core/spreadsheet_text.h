#pragma once
// The protocol as tab-separated text for a spreadsheet program: a header row and one row per
// complete record. Written as text, so every line ends with carriage return and line feed.
#include <string>

#include "protocol_tool/core/protocol_record.h"

namespace protocol {

inline constexpr char kSpreadsheetHeader[] = "STATUS\tMELDUNG\tDATUM\tUHRZEIT\tZEILE1\tZEILE2\r\n";
// STATUS, MELDUNG, DATUM, UHRZEIT, ZEILE1, ZEILE2.
inline constexpr char kSpreadsheetRowFormat[] = "%s\t%s\t%s\t%s\t%s\t%s\r\n";
// The display writes this byte in a second text line where it shows a blank.
inline constexpr char kSecondLineBlank = 0x19;

// One row; the text lines lose their trailing white space, and in the second one every
// 0x19 becomes a blank first. Fields are copied byte for byte, with no quoting.
std::string SpreadsheetRow(const ProtocolRecord& record);

// The whole spreadsheet text of a protocol file's bytes.
std::string SpreadsheetText(const std::string& protocolBytes);

}  // namespace protocol
