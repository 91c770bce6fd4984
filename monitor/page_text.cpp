#include "monitor/page_text.h"

namespace monitor {

namespace {

constexpr size_t kBandWidth = kCellsPerBand * kTextColumnWidth + (kCellsPerBand - 1);

// The text cut or padded to the column's width, counted in characters.
std::string Column(const std::string& text) {
    std::string cut = text.substr(0, kTextColumnWidth);
    return Latin1ToUtf8(cut) + std::string(kTextColumnWidth - cut.size(), ' ');
}

void TrimTrailingBlanks(std::string& line) {
    size_t end = line.find_last_not_of(' ');
    line.erase(end == std::string::npos ? 0 : end + 1);
}

}  // namespace

std::string Latin1ToUtf8(const std::string& text) {
    std::string out;
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

std::string PageAsText(const DisplayPage& page) {
    std::string text;
    for (int band = 0; band < kBandsPerPage; ++band) {
        if (band > 0) text += "\n";
        for (std::string DisplayCell::*row :
             {&DisplayCell::symbol, &DisplayCell::operand, &DisplayCell::value}) {
            std::string line;
            for (int position = 0; position < kCellsPerBand; ++position) {
                const int i = band * kCellsPerBand + position;
                if (position > 0) line += ' ';
                const bool used = i < page.usedCells;
                line += Column(used ? page.cells[static_cast<size_t>(i)].*row : std::string());
            }
            TrimTrailingBlanks(line);
            text += line + "\n";
        }
    }
    return text;
}

std::string PageSeparatorLine() {
    return std::string(kBandWidth, '-') + "\n";
}

}  // namespace monitor
