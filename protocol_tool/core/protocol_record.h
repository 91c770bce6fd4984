#pragma once
// The records of a protocol file. The display sends every message it showed as four lines:
// a header line (status word, message number, date, time), the message's two text lines
// and a closing line. Lines that stand where a header is expected but don't begin with a
// status word (whatever precedes the first record, for instance) belong to no record.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace protocol {

// Columns of the header line, counted from 0. The gaps between the fields are not read.
struct HeaderColumns {
    static constexpr std::size_t kStatusStart = 0;
    static constexpr std::size_t kStatusWidth = 7;
    static constexpr std::size_t kNumberStart = 8;
    static constexpr std::size_t kNumberWidth = 4;
    static constexpr std::size_t kDateStart = 16;
    static constexpr std::size_t kDateWidth = 8;
    static constexpr std::size_t kTimeStart = 28;
    static constexpr std::size_t kTimeWidth = 8;
};

// The status words a header line begins with (exact case), in the order they are tested.
inline constexpr std::array<std::string_view, 4> kStatusWords = {"Coming", "Going", "On", "Off"};

// White space as the readers trim it: blank, tab, carriage return, line feed, vertical tab
// and form feed.
inline constexpr char kWhiteSpace[] = " \t\r\n\v\f";

std::string TrimTrailing(std::string text);
std::string TrimBoth(std::string text);

// True when the line begins with one of the status words ("Online" does, since it begins
// with "On").
bool IsHeaderLine(std::string_view line);

// The characters of a column range; what lies beyond the line's end is empty.
std::string Column(std::string_view line, std::size_t start, std::size_t width);

struct ProtocolRecord {
    std::string status;  // status word, white space after it removed
    std::string number;  // message number, white space around it removed
    std::string date;    // 8 characters as they stand
    std::string time;    // 8 characters as they stand
    std::string line1;   // the message's first text line, whole
    std::string line2;   // the message's second text line, whole
};

// The header fields of a header line; the text lines stay empty.
ProtocolRecord ParseHeaderLine(std::string_view line);

// Takes a protocol file line by line (each line without its line end) and hands out each
// record when its closing line has come.
class RecordReader {
  public:
    std::optional<ProtocolRecord> Feed(const std::string& line);

  private:
    enum class Expect { Header, FirstTextLine, SecondTextLine, ClosingLine };
    Expect expect_ = Expect::Header;
    ProtocolRecord current_;
};

// The complete records of a protocol file's bytes, read as text (CR LF or LF end a line).
// A record unfinished at the end of the file is left out.
std::vector<ProtocolRecord> ReadRecords(const std::string& protocolBytes);

}  // namespace protocol
