#pragma once
// Names of the files made from a protocol file: the spreadsheet text and the RTF document
// stand beside it under its name with the extension exchanged.
#include <filesystem>
#include <string>

namespace protocol {

inline constexpr char kSpreadsheetExtension[] = ".xls";
inline constexpr char kRtfExtension[] = ".rtf";

// The path up to, not including, the last "." of its file name, followed by the extension:
// may.pro gives may.xls, may.2008.pro gives may.2008.xls. A file name without "." gets the
// extension appended, and a "." in a folder name is never taken for the extension's.
std::filesystem::path DerivedPath(const std::filesystem::path& source,
                                  const std::string& extension);

}  // namespace protocol
