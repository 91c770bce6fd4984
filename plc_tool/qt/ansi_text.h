#pragma once
// Texts of the variables window as its ANSI font draws them: one byte per character in the
// Windows-1252 code page, so a BYTEA value's bytes 0x80 to 0x9F show as the characters of
// that code page (the euro sign, typographic quotes, ...) and not as control characters.
#include <QString>
#include <string>

namespace quarnwin {

QString FromAnsi(const std::string& bytes);

}  // namespace quarnwin
