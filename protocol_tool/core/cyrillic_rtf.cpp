#include "protocol_tool/core/cyrillic_rtf.h"

#include <algorithm>

#include "common/file_helpers.h"

namespace protocol {

char TranslateDisplayByte(char byte) {
    const auto code = static_cast<std::uint8_t>(byte);
    if (code < 0x80) return byte;
    const int index = std::clamp(static_cast<int>(code) - kFirstCyrillicCode, 0,
                                 static_cast<int>(CyrillicTable.size()) - 1);
    return static_cast<char>(CyrillicTable[static_cast<std::size_t>(index)]);
}

std::string CyrillicRtf(const std::string& protocolBytes) {
    std::string rtf = kRtfHeader;
    for (std::string line : common::SplitTextLines(protocolBytes)) {
        std::transform(line.begin(), line.end(), line.begin(), TranslateDisplayByte);
        rtf += line;
        rtf += kRtfLineEnd;
    }
    rtf += kRtfClosing;
    return rtf;
}

}  // namespace protocol
