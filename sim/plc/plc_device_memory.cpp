// The simulated PLC's memory and module commands, answered from its memory model.
//
//   0x01, 0x0B  addr lo, hi, count              -> addr lo, hi, count, bytes (16-bit space)
//   0x02        off lo, hi, seg lo, hi, count   -> off lo, hi, seg lo, hi, count, bytes
//   0x0D        n, n * (off lo, hi, count)      -> total, the ranges' bytes (16-bit space)
//   0x0E        n, n * (off lo, hi, seg lo, hi, count) -> total, bytes; segment 0 is the
//                                                  16-bit space
//   0x03, 0x0C  (nothing of their own)          -> the last 0x0D/0x0E list read, read again
//   0x07        number, length lo, hi           -> number, code off, seg, header off, seg
//   0x0A        number, 0x20, x, x              -> header off, header seg, 0x20, 32 header bytes
//   0x42        number, 0, 0                    -> 0xE5 (the module's pages and header freed)
//   0x44, 0x45  off lo, hi, seg lo, hi, n, bytes -> 0xE5
//   0x46        addr lo, hi, n, bytes           -> 0xE5 (into the configuration segment)
// A request whose data do not match its command, or whose answer would not fit a telegram,
// gets no answer.
#include "sim/plc/answer_builder.h"
#include "sim/plc/plc_device.h"

namespace sim {

namespace {

constexpr std::uint8_t kReadMemory = 0x01;
constexpr std::uint8_t kReadMemoryAlt = 0x0B;
constexpr std::uint8_t kReadSegment = 0x02;
constexpr std::uint8_t kRepeatList = 0x03;
constexpr std::uint8_t kRepeatListAlt = 0x0C;
constexpr std::uint8_t kReadList = 0x0D;
constexpr std::uint8_t kReadSegmentList = 0x0E;
constexpr std::uint8_t kReserve = 0x07;
constexpr std::uint8_t kReadHeader = 0x0A;
constexpr std::uint8_t kDelete = 0x42;
constexpr std::uint8_t kWriteSegmentProgress = 0x44;
constexpr std::uint8_t kWriteSegment = 0x45;
constexpr std::uint8_t kWriteConfiguration = 0x46;

// An answer telegram carries at most 251 data bytes (LE 255).
constexpr size_t kMaxAnswerData = 251;

std::uint16_t WordAt(const std::string& data, size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(data[at]) |
                                      (static_cast<std::uint8_t>(data[at + 1]) << 8));
}
std::uint8_t ByteAt(const std::string& data, size_t at) {
    return static_cast<std::uint8_t>(data[at]);
}
void AppendWord(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

}  // namespace

void PlcDevice::setMemoryFaults(PlcMemoryFaults faults) {
    memoryFaults_ = faults;
    if (memoryFaults_.badChecksum > 0)
        modules_.spoilChecksum(static_cast<std::uint8_t>(memoryFaults_.badChecksum));
}

std::string PlcDevice::handleMemory(const PlcRequest& request) {
    switch (request.command) {
        case kReadMemory:
        case kReadMemoryAlt:
        case kReadSegment:
            return readAnswer(request);
        case kReadList:
        case kReadSegmentList:
            return listAnswer(request.command, request.data);
        case kRepeatList:
        case kRepeatListAlt:
            if (lastListRequest_.empty()) return {};
            return listAnswer(lastListCommand_, lastListRequest_);
        case kReserve:
            return reserveAnswer(request);
        case kReadHeader:
            return headerAnswer(request);
        case kDelete:
            if (request.data.empty()) return {};
            modules_.remove(ByteAt(request.data, 0));
            return AckAnswer();
        case kWriteSegmentProgress:
        case kWriteSegment:
        case kWriteConfiguration:
            return writeAnswer(request);
        default:
            return {};
    }
}

std::string PlcDevice::readAnswer(const PlcRequest& request) {
    const std::string& data = request.data;
    const bool segmented = request.command == kReadSegment;
    const size_t head = segmented ? 5 : 3;
    if (data.size() != head) return {};
    const size_t count = ByteAt(data, head - 1);
    if (head + count > kMaxAnswerData) return {};
    const std::uint16_t offset = WordAt(data, 0);
    const std::uint16_t segment = segmented ? WordAt(data, 2) : 0;
    return TelegramAnswer(station_, request.command, data + memory_.read(segment, offset, count));
}

std::string PlcDevice::listAnswer(std::uint8_t command, const std::string& data) {
    const size_t rangeSize = command == kReadSegmentList ? 5 : 3;
    if (data.empty()) return {};
    const size_t ranges = ByteAt(data, 0);
    if (data.size() != 1 + ranges * rangeSize) return {};
    std::string bytes;
    for (size_t r = 0; r < ranges; ++r) {
        const size_t at = 1 + r * rangeSize;
        const std::uint16_t segment = rangeSize == 5 ? WordAt(data, at + 2) : 0;
        bytes += memory_.read(segment, WordAt(data, at), ByteAt(data, at + rangeSize - 1));
    }
    if (bytes.size() + 1 > kMaxAnswerData) return {};
    lastListCommand_ = command;
    lastListRequest_ = data;
    return TelegramAnswer(station_, command,
                          std::string(1, static_cast<char>(bytes.size())) + bytes);
}

std::string PlcDevice::writeAnswer(const PlcRequest& request) {
    const std::string& data = request.data;
    const bool segmented = request.command != kWriteConfiguration;
    const size_t head = segmented ? 5 : 3;
    if (data.size() < head || data.size() != head + ByteAt(data, head - 1)) return {};
    const std::uint16_t offset = WordAt(data, 0);
    std::string bytes = data.substr(head);
    // The fault: acknowledged as usual, but the byte in the middle is stored inverted.
    if (++blockWrites_ == memoryFaults_.corruptWrite && !bytes.empty())
        bytes[bytes.size() / 2] = static_cast<char>(~bytes[bytes.size() / 2]);
    if (!segmented) {
        memory_.write(modules_.layout().configurationSegment, offset, bytes);
        modules_.noteConfigurationWrite();
        return AckAnswer();
    }
    const std::uint16_t segment = WordAt(data, 2);
    memory_.write(segment, offset, bytes);
    modules_.noteHeaderWrite(segment, offset, bytes.size());
    if (memoryFaults_.badChecksum > 0)
        modules_.spoilChecksum(static_cast<std::uint8_t>(memoryFaults_.badChecksum));
    return AckAnswer();
}

std::string PlcDevice::reserveAnswer(const PlcRequest& request) {
    const std::string& data = request.data;
    if (data.size() != 3) return {};
    ModulePlace place;
    if (!memoryFaults_.assignZero) place = modules_.reserve(ByteAt(data, 0), WordAt(data, 1));
    std::string answer(1, static_cast<char>(place.number));
    AppendWord(answer, place.codeOffset);
    AppendWord(answer, place.codeSegment);
    AppendWord(answer, place.headerOffset);
    AppendWord(answer, place.headerSegment);
    return TelegramAnswer(station_, request.command, answer);
}

std::string PlcDevice::headerAnswer(const PlcRequest& request) {
    if (request.data.size() != 4) return {};
    const std::uint8_t number = ByteAt(request.data, 0);
    std::string answer;
    AppendWord(answer, modules_.headerAddress(number));
    AppendWord(answer, 0);
    answer += static_cast<char>(ModuleLayout::kHeaderSize);
    answer += modules_.header(number);
    return TelegramAnswer(station_, request.command, answer);
}

}  // namespace sim
