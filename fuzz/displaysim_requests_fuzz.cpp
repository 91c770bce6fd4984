// displaysim's side of the line with arbitrary bytes from a client: the command parser and
// the answers of the display model (setup acknowledgements, protocol and statistics).
#include <string>

#include "sim/display/display_model.h"
#include "sim/display/display_request.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    sim::DisplayModel model(sim::DisplayFaults{}, "0001 entry\r\n", "statistics\r\n");
    sim::DisplayRequestParser parser;
    for (char c : bytes) {
        if (auto request = parser.feed(static_cast<std::uint8_t>(c))) model.respond(*request);
    }
    return 0;
}
