#include "plc/plc_programmer.h"

#include "plc/frame.h"

namespace plc {

namespace {
// Identify request: LE 0x28; data bytes 8..15 zero, 16..31 the pattern 00 11 22 .. FF,
// 32..43 zero.
constexpr std::uint8_t kIdentifyLength = 0x28;
constexpr size_t kIdentifyPattern = 16;
constexpr size_t kIdentifyPatternSize = 16;
// Module header request: LE 8: number, 0x20, two bytes the PLC ignores (sent as zero).
constexpr std::uint8_t kHeaderRequestLength = 8;
constexpr std::uint8_t kHeaderRequestSize = 0x20;
// Header answer: words at 0 and 2, byte 4 skipped, the 32 header bytes from 5.
constexpr size_t kHeaderAnswerHeader = 5;
}  // namespace

CPlcProgrammer::CPlcProgrammer(serial::CSerialLink& link, common::Clock& clock,
                               common::Frontend& frontend)
    : exchange_(link, clock), frontend_(frontend) {
    // The converter settles after the port was opened.
    clock.sleep(common::Millis(500));
}

CPlcProgrammer::~CPlcProgrammer() {
    exchange_.link().Close();
}

std::string CPlcProgrammer::ShortFrame(std::uint8_t code, std::uint8_t d0, std::uint8_t d1) const {
    return MakeFrame(state_.stationAddress, code,
                     std::string{static_cast<char>(d0), static_cast<char>(d1)});
}

bool CPlcProgrammer::Reset() {
    BusyCursor busy(frontend_);
    frontend_.setStatus("Reset");
    // Reset waits for the acknowledgement at once, without the request pause.
    exchange_.Write(ShortFrame(command::kReset, 0, 0));
    exchange_.WaitAck();
    frontend_.setStatus("Reseted");
    exchange_.Pause(kResetSettle);
    return true;
}

bool CPlcProgrammer::InitEeprom() {
    BusyCursor busy(frontend_);
    frontend_.setStatus("Init EEPROM, please wait 60sec");
    SendShortCommand(command::kSetFlags);
    SendShortCommand(command::kEepromStep1);
    SendShortCommand(command::kStart);
    SendShortCommand(command::kSetFlags);
    SendShortCommand(command::kEepromStep2);
    exchange_.Pause(kEepromInitWait);
    SendShortCommand(command::kStart);
    frontend_.setStatus("EEPROM initialized");
    return true;
}

void CPlcProgrammer::SendShortCommand(std::uint8_t code) {
    std::uint8_t d0 = 0, d1 = 0;
    if (code == command::kSetFlags) {
        d0 = static_cast<std::uint8_t>(state_.flagsWord & 0xFF);
        d1 = static_cast<std::uint8_t>(state_.flagsWord >> 8);
    }
    exchange_.SendAcknowledged(ShortFrame(code, d0, d1));
}

void CPlcProgrammer::DeleteModule(std::uint8_t number) {
    exchange_.SendAcknowledged(MakeFrame(state_.stationAddress, command::kDeleteModule,
                                         std::string{static_cast<char>(number), 0, 0}));
}

int CPlcProgrammer::ReserveModule(ReservationRecord& record) {
    std::string data{static_cast<char>(record[0]), static_cast<char>(record[9]),
                     static_cast<char>(record[10])};
    std::string answer =
        exchange_.Request(MakeFrame(state_.stationAddress, command::kReserveModule, data));
    if (answer.empty()) return 1;
    for (size_t i = 0; i < 9 && i < answer.size(); ++i)
        record[i] = static_cast<std::uint8_t>(answer[i]);
    return 0;
}

int CPlcProgrammer::Identify(IdentifyAnswer& answer) {
    TelegramBuffer& buffer = state_.telegram;
    buffer.fill(0);
    ComposeHeader(buffer, kIdentifyLength, state_.stationAddress, command::kIdentify);
    for (size_t i = 0; i < kIdentifyPatternSize; ++i)
        buffer[kIdentifyPattern + i] = static_cast<std::uint8_t>(i * 0x11);
    std::string frame = BuildTelegram(buffer);
    AppendChecksum(frame);
    std::string data = exchange_.Request(frame);
    if (data.empty()) return 1;
    data.resize(std::max<size_t>(data.size(), 8), '\0');
    auto byte = [&](size_t i) { return static_cast<std::uint8_t>(data[i]); };
    answer.byte0 = byte(0);
    answer.byte1 = byte(1);
    answer.firmwareMajor = byte(2);
    answer.firmwareMinor = byte(3);
    answer.word1 = static_cast<std::uint16_t>(byte(4) | (byte(5) << 8));
    answer.word2 = static_cast<std::uint16_t>(byte(6) | (byte(7) << 8));
    state_.firmwareMajor = answer.firmwareMajor;
    state_.firmwareMinor = answer.firmwareMinor;
    return 0;
}

bool CPlcProgrammer::FirmwareAtLeast(std::uint8_t major, std::uint8_t minor) const {
    if (state_.firmwareMajor != major) return state_.firmwareMajor > major;
    return state_.firmwareMinor >= minor;
}

void CPlcProgrammer::ReadInfoBlock() {
    std::string answer =
        exchange_.Request(MakeFrame(state_.stationAddress, command::kReadInfoBlock, std::string()));
    if (!answer.empty()) state_.infoBlock.assign(answer);
}

void CPlcProgrammer::ReadModuleHeaders(size_t count) {
    count = std::min(count, state_.modules.size());
    for (size_t index = 0; index < count; ++index) {
        ModuleEntry& target = state_.modules[index];
        TelegramBuffer& buffer = state_.telegram;
        ComposeHeader(buffer, kHeaderRequestLength, state_.stationAddress,
                      command::kReadModuleHeader);
        buffer[kOffsetData] = target.number();
        buffer[kOffsetData + 1] = kHeaderRequestSize;
        buffer[kOffsetData + 2] = 0;
        buffer[kOffsetData + 3] = 0;
        std::string frame = BuildTelegram(buffer);
        AppendChecksum(frame);
        // A lost answer (noise on the line) is asked for again for the same module, so that
        // every header lands in the entry it belongs to. Only repeats in a row count: a long
        // table on a noisy line still reads as long as the PLC answers.
        std::string answer = exchange_.Request(frame);
        for (int repeat = 0; answer.empty(); ++repeat) {
            if (repeat == kHeaderRetries) throw CQuarnException(kFailedText);
            answer = exchange_.Request(frame);
        }
        answer.resize(std::max<size_t>(answer.size(), kHeaderAnswerHeader + header::kSize), '\0');
        for (size_t i = 0; i < 2; ++i) {
            target.bytes[entry::kAnswerWord1 + i] = static_cast<std::uint8_t>(answer[i]);
            target.bytes[entry::kAnswerWord2 + i] = static_cast<std::uint8_t>(answer[2 + i]);
        }
        for (size_t i = 0; i < header::kSize; ++i)
            target.bytes[i] = static_cast<std::uint8_t>(answer[kHeaderAnswerHeader + i]);
    }
}

}  // namespace plc
