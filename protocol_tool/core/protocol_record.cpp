#include "protocol_tool/core/protocol_record.h"

#include "common/file_helpers.h"

namespace protocol {

std::string TrimTrailing(std::string text) {
    const auto last = text.find_last_not_of(kWhiteSpace);
    text.erase(last == std::string::npos ? 0 : last + 1);
    return text;
}

std::string TrimBoth(std::string text) {
    text = TrimTrailing(std::move(text));
    text.erase(0, text.find_first_not_of(kWhiteSpace));
    return text;
}

bool IsHeaderLine(std::string_view line) {
    for (std::string_view word : kStatusWords)
        if (line.substr(0, word.size()) == word) return true;
    return false;
}

std::string Column(std::string_view line, std::size_t start, std::size_t width) {
    if (start >= line.size()) return {};
    return std::string(line.substr(start, width));
}

ProtocolRecord ParseHeaderLine(std::string_view line) {
    using C = HeaderColumns;
    ProtocolRecord record;
    record.status = TrimTrailing(Column(line, C::kStatusStart, C::kStatusWidth));
    record.number = TrimBoth(Column(line, C::kNumberStart, C::kNumberWidth));
    record.date = Column(line, C::kDateStart, C::kDateWidth);
    record.time = Column(line, C::kTimeStart, C::kTimeWidth);
    return record;
}

std::optional<ProtocolRecord> RecordReader::Feed(const std::string& line) {
    switch (expect_) {
        case Expect::Header:
            if (IsHeaderLine(line)) {
                current_ = ParseHeaderLine(line);
                expect_ = Expect::FirstTextLine;
            }
            return std::nullopt;
        case Expect::FirstTextLine:
            current_.line1 = line;
            expect_ = Expect::SecondTextLine;
            return std::nullopt;
        case Expect::SecondTextLine:
            current_.line2 = line;
            expect_ = Expect::ClosingLine;
            return std::nullopt;
        case Expect::ClosingLine:
            expect_ = Expect::Header;
            return std::move(current_);
    }
    return std::nullopt;
}

std::vector<ProtocolRecord> ReadRecords(const std::string& protocolBytes) {
    std::vector<ProtocolRecord> records;
    RecordReader reader;
    for (const std::string& line : common::SplitTextLines(protocolBytes)) {
        if (auto record = reader.Feed(line)) records.push_back(std::move(*record));
    }
    return records;
}

}  // namespace protocol
