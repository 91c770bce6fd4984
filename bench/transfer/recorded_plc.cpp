#include "recorded_plc.h"

#include <cstdint>
#include <string>

#include "sim/plc/request_parser.h"

namespace bench {

namespace {
// 68 LE LE 68, station, source, function: the command byte follows.
constexpr std::size_t kCommandOffset = 7;
}  // namespace

std::tm FixedTime() {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mday = 1;
    return t;
}

void AnswerAsPlc(serial::ScriptedDevice& device, sim::PlcDevice& simulated,
                 std::vector<plc::timing::Exchange>& exchanges) {
    device.respond([&simulated, &exchanges](const std::string& frame) {
        sim::RequestParser parser;
        std::string reply;
        for (unsigned char byte : frame)
            if (auto request = parser.feed(byte)) reply = simulated.handle(*request);
        exchanges.push_back(
            {static_cast<std::uint8_t>(frame.size() > kCommandOffset ? frame[kCommandOffset] : 0),
             frame.size(), reply.size()});
        return reply;
    });
}

}  // namespace bench
