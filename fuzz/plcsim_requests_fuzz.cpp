// plcsim's side of the line with arbitrary bytes from a client: the request parser, every
// command's answer from the memory model (reads, list reads, writes, reservations, module
// headers, deletion), and the memory file that sets the live values.
#include "fuzz_support.h"
#include "sim/plc/live_values.h"
#include "sim/plc/plc_device.h"
#include "sim/plc/plc_memory.h"
#include "sim/plc/request_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static fuzz::ScratchFolder scratch;
    FuzzedDataProvider input(data, size);
    const auto memoryFile = scratch.write("memory.txt", input.ConsumeRandomLengthString(2000));
    sim::PlcMemory memory;
    std::string error;
    sim::LoadMemoryFile(memoryFile, memory, error);

    sim::PlcDevice device(0x40, 2, 1);
    sim::RequestParser parser;
    const std::string bytes = input.ConsumeRemainingBytesAsString();
    common::Millis at{0};
    for (char c : bytes) {
        at += common::Millis{1};
        if (auto request = parser.feed(static_cast<std::uint8_t>(c), at)) device.handle(*request);
    }
    return 0;
}
