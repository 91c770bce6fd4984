#pragma once
// A PLC on the scripted device for the display loop's tests: identification, information
// block, 16-bit reads and the list reads 0x0D and 0x0E from a linear memory
// (segment * 16 + offset; segment 0 is the 16-bit space). Its directory is empty.
#include <string>
#include <vector>

#include "../../plc/tests/plc_fixture.h"

namespace monitor::testing {

struct FakeMonitorPlc {
    std::string info = std::string(246, '\0');
    std::vector<std::uint8_t> memory = std::vector<std::uint8_t>(0x100000, 0);
    int silentAfter = -1;  // answers only the first N requests
    int requests = 0;
    std::vector<std::string> frames;

    FakeMonitorPlc() {
        info[2] = 2;         // memory read generation
        SetWord(4, 0x1000);  // directory address
        SetWord(6, 0x6000);
        SetWord(8, 0x0400);
        SetWord(54, 0x0400);
        SetWord(70, 0x3000);
    }
    void SetWord(size_t offset, unsigned value) {
        info[offset] = static_cast<char>(value & 0xFF);
        info[offset + 1] = static_cast<char>(value >> 8);
    }
    static unsigned Word(const std::string& s, size_t at) {
        return static_cast<unsigned char>(s[at]) | (static_cast<unsigned char>(s[at + 1]) << 8);
    }
    void Put(unsigned linear, const std::string& bytes) {
        for (size_t i = 0; i < bytes.size(); ++i)
            memory[linear + i] = static_cast<std::uint8_t>(bytes[i]);
    }
    std::string Get(unsigned linear, unsigned count) const {
        return std::string(memory.begin() + linear, memory.begin() + linear + count);
    }

    std::string Answer(const std::string& request) {
        frames.push_back(request);
        if (silentAfter >= 0 && ++requests > silentAfter) return {};
        const auto code = static_cast<std::uint8_t>(request[7]);
        switch (code) {
            case 0x2E:
                return plc::testing::AnswerTelegram(code,
                                                    plc::testing::Bytes({0, 0, 2, 1, 0, 0, 0, 0}));
            case 0x2F:
                return plc::testing::AnswerTelegram(code, info);
            case 0x01: {
                unsigned address = Word(request, 8),
                         count = static_cast<unsigned char>(request[10]);
                return plc::testing::AnswerTelegram(code,
                                                    request.substr(8, 3) + Get(address, count));
            }
            case 0x0D:
            case 0x0E: {
                const size_t rangeSize = code == 0x0E ? 5 : 3;
                const int n = static_cast<unsigned char>(request[8]);
                std::string bytes;
                for (int r = 0; r < n; ++r) {
                    size_t at = 9 + rangeSize * static_cast<size_t>(r);
                    unsigned linear = Word(request, at);
                    if (code == 0x0E) linear += Word(request, at + 2) * 16;
                    bytes += Get(linear, static_cast<unsigned char>(request[at + rangeSize - 1]));
                }
                return plc::testing::AnswerTelegram(code, static_cast<char>(bytes.size()) + bytes);
            }
            default:
                return "\xE5";
        }
    }
    std::vector<int> Commands() const {
        std::vector<int> codes;
        for (const auto& f : frames) codes.push_back(static_cast<unsigned char>(f[7]));
        return codes;
    }
};

}  // namespace monitor::testing
