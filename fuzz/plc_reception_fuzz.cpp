// The PC's side of the PLC protocol fed with arbitrary answers: the receive state machine
// byte by byte, and the exchanges (acknowledged commands, requests, identify, information
// block, module headers) over a scripted line. A communication failure is an expected end.
#include "plc/quarn_exception.h"
#include "plc/telegram_receiver.h"
#include "plc_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int initialState = input.ConsumeBool() ? plc::TelegramReceiver::kStateIdle
                                                 : plc::TelegramReceiver::kStateAfterStart;
    plc::TelegramReceiver receiver(initialState);
    std::string head = input.ConsumeRandomLengthString(fuzz::kMaxAnswer);
    for (char c : head)
        if (receiver.feed(static_cast<std::uint8_t>(c))) break;

    fuzz::FuzzedPlc plc(input);
    try {
        plc::IdentifyAnswer answer;
        plc.programmer.Identify(answer);
        plc.programmer.ReadInfoBlock();
        plc.programmer.SendShortCommand(0x4A);
        plc::ReservationRecord record{};
        record[0] = 3;
        plc.programmer.ReserveModule(record);
        plc.programmer.ReadModuleHeaders(input.ConsumeIntegralInRange<size_t>(0, 8));
    } catch (const plc::CQuarnException&) {
    }
    return 0;
}
