// Protocol and statistics retrieval with an arbitrary display answer: the line reads, the
// end by silence, the file written from it.
#include "common/recording_frontend.h"
#include "fuzz_support.h"
#include "protocol_tool/core/protocol_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static fuzz::ScratchFolder scratch;
    FuzzedDataProvider input(data, size);
    const bool statistics = input.ConsumeBool();
    common::FakeClock clock;
    serial::ScriptedDevice device(clock);
    // The display answers the request with the rest of the input as one stream.
    device.feed(input.ConsumeRemainingBytesAsString());
    common::RecordingFrontend frontend;
    protocol::CProtocolReader reader(device, frontend);
    reader.Link().Open("ttyUSB0");
    if (statistics) {
        reader.GetStatistics(scratch.path() / "s.sta");
    } else {
        reader.GetProtocol(scratch.path() / "p.pro", false,
                           [](const protocol::ProtocolChoice& current) { return current; });
    }
    return 0;
}
