#include "plc_tool/qt/ansi_text.h"

#include <array>

namespace quarnwin {

namespace {

// Bytes 0x80 to 0x9F; the five the code page leaves unassigned keep their own value, like the
// system's conversion does. Every other byte is its Latin-1 character.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};
constexpr unsigned char kFirstHighControl = 0x80;
constexpr unsigned char kLastHighControl = 0x9F;

}  // namespace

QString FromAnsi(const std::string& bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= kFirstHighControl && byte <= kLastHighControl)
            text += QChar(kHighControls[byte - kFirstHighControl]);
        else
            text += QChar(static_cast<char16_t>(byte));
    }
    return text;
}

}  // namespace quarnwin
