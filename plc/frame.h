#pragma once
// PLC telegram frame:
//
//   offset  size   content
//   0       1      0x68 start
//   1       1      LE: bytes from offset 4 through the last data byte (4..255)
//   2       1      LE again
//   3       1      0x68
//   4       1      destination: the PLC's station address
//   5       1      source, always 0xFF
//   6       1      function, always 0x04
//   7       1      command code
//   8       LE-4   command data, multi-byte values low byte first
//   4+LE    1      FCS: sum of offsets 4 .. 3+LE, modulo 256
//   5+LE    1      0x16 end
//
// A command is answered by the single byte 0xE5 or by a telegram of the same layout.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace plc {

constexpr std::uint8_t kFrameStart = 0x68;
constexpr std::uint8_t kFrameEnd = 0x16;
constexpr std::uint8_t kSourceAddress = 0xFF;
constexpr std::uint8_t kFunctionByte = 0x04;
constexpr std::uint8_t kAcknowledge = 0xE5;

constexpr size_t kOffsetLength = 1;
constexpr size_t kOffsetLengthAgain = 2;
constexpr size_t kOffsetDestination = 4;
constexpr size_t kOffsetSource = 5;
constexpr size_t kOffsetFunction = 6;
constexpr size_t kOffsetCommand = 7;
constexpr size_t kOffsetData = 8;
// LE counts destination, source, function and command besides the data.
constexpr size_t kLengthOverhead = 4;
// LE is one byte, so a frame carries at most this many bytes from the destination on.
constexpr size_t kMaxLength = 255;
// FCS and end byte after the last data byte.
constexpr size_t kTrailerSize = 2;
// The longest frame: start, LE, LE, start, the most LE allows, FCS and end.
constexpr size_t kLongestFrame = kOffsetDestination + kMaxLength + kTrailerSize;

// Command codes.
namespace command {
constexpr std::uint8_t kReadMemory = 0x01;
constexpr std::uint8_t kReadMemoryAlt = 0x0B;
constexpr std::uint8_t kReadSegment = 0x02;
constexpr std::uint8_t kRepeatListRead = 0x03;
constexpr std::uint8_t kRepeatListReadAlt = 0x0C;
constexpr std::uint8_t kReadList = 0x0D;
constexpr std::uint8_t kReadSegmentList = 0x0E;
constexpr std::uint8_t kReserveModule = 0x07;
constexpr std::uint8_t kReadModuleHeader = 0x0A;
constexpr std::uint8_t kStart = 0x20;
constexpr std::uint8_t kReset = 0x24;
constexpr std::uint8_t kSetFlags = 0x27;
constexpr std::uint8_t kIdentify = 0x2E;
constexpr std::uint8_t kReadInfoBlock = 0x2F;
constexpr std::uint8_t kDeleteModule = 0x42;
constexpr std::uint8_t kWriteSegmentProgress = 0x44;
constexpr std::uint8_t kWriteSegment = 0x45;
constexpr std::uint8_t kWriteConfiguration = 0x46;
constexpr std::uint8_t kEepromStep1 = 0x4A;
constexpr std::uint8_t kEepromStep2 = 0x4B;
}  // namespace command

// The 256-byte buffer in which requests are composed; offset 0 is offset 0 of the frame.
// A request overwrites only the bytes it sets.
using TelegramBuffer = std::array<std::uint8_t, 256>;

// Writes start, LE, LE, start, destination, source, function and command into the buffer.
void ComposeHeader(TelegramBuffer& buffer, std::uint8_t length, std::uint8_t station,
                   std::uint8_t commandCode);

// The first LE+4 bytes of the buffer, LE being the byte at offset 1.
std::string BuildTelegram(const TelegramBuffer& buffer);

// Sum of the bytes from offset 4 to the end, modulo 256.
std::uint8_t FrameChecksum(const std::string& frame);

// Appends the FCS and the end byte.
void AppendChecksum(std::string& frame);

// A complete frame with the given command and data (LE = 4 + data size).
std::string MakeFrame(std::uint8_t station, std::uint8_t commandCode, const std::string& data);

}  // namespace plc
