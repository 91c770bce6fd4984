#pragma once
// The protocol as an RTF document with the display's Cyrillic letters: the display shows
// them through codes 0xB0 to 0xDF of its own, which become Windows-1251 letters set in a
// Cyrillic font. Written byte for byte.
#include <array>
#include <cstdint>
#include <string>

namespace protocol {

// Code page 1252, German default language, tab width 708 twips, one Swiss variable-pitch
// font "Arial CYR" with character set 204 (Cyrillic), 18 point.
inline constexpr char kRtfHeader[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031\\deflangfe1031\\deftab708"
    "{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset204{\\*\\fname Arial;}Arial CYR;}}"
    "{\\*\\generator Vantor 1.00;}\\viewkind4\\uc1\\pard\\f0\\fs36\r\n";
inline constexpr char kRtfLineEnd[] = "\\par\r\n";
inline constexpr char kRtfClosing[] = "}";

inline constexpr std::uint8_t kFirstCyrillicCode = 0xB0;
inline constexpr std::uint8_t kLastCyrillicCode = 0xDF;

// Windows-1251 byte for each display code from 0xB0 on. Some letters appear twice (Ь, Э,
// Я), and 0xDE is the no-break space.
inline constexpr std::array<std::uint8_t, 48> CyrillicTable = {
    0xC1, 0xC3, 0xC4, 0xC5, 0xC6, 0xDD, 0xC8, 0xC9,  // 0xB0 Б Г Д Е Ж Э И Й
    0xCB, 0xCF, 0xD4, 0xD6, 0xD7, 0xD8, 0xD9, 0xDC,  // 0xB8 Л П Ф Ц Ч Ш Щ Ь
    0xE1, 0xE3, 0xE4, 0xE2, 0xE6, 0xFD, 0xE8, 0xE9,  // 0xC0 б г д в ж э и й
    0xEB, 0xEF, 0xF4, 0xF6, 0xF7, 0xF8, 0xF9, 0xFB,  // 0xC8 л п ф ц ч ш щ ы
    0xEA, 0xEC, 0xED, 0xF2, 0xC7, 0xE7, 0xDE, 0xFE,  // 0xD0 к м н т З з Ю ю
    0xDF, 0xFF, 0xFC, 0xDC, 0xFA, 0xDD, 0xA0, 0xDF,  // 0xD8 Я я ь Ь ъ Э nbsp Я
};

// The RTF byte for a protocol byte: bytes below 0x80 stay as they are (backslashes and
// braces too); every higher byte goes through CyrillicTable, those below 0xB0 taking its
// first entry and those above 0xDF its last.
char TranslateDisplayByte(char byte);

// The whole RTF document of a protocol file's bytes, read as text: one "\par" line per
// protocol line, however long, and a last line without line feed with all its characters.
std::string CyrillicRtf(const std::string& protocolBytes);

}  // namespace protocol
