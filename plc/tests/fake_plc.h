#pragma once
// A small PLC for the transfer unit tests, answering on the scripted device: identification,
// information block, 16-bit and segment reads from a flat memory, module headers by number,
// reservation with a scripted answer, acknowledgements for everything else. Its memory is
// the linear address space (segment * 16 + offset); the 16-bit space is segment 0 and
// command 0x46 writes into the configuration segment.
#include <array>
#include <map>
#include <string>
#include <vector>

#include "plc/frame.h"
#include "plc_fixture.h"

namespace plc::testing {

struct FakePlc {
    std::uint8_t firmwareMajor = 2;
    std::uint8_t firmwareMinor = 1;
    std::array<std::uint8_t, 246> info{};
    std::vector<std::uint8_t> memory = std::vector<std::uint8_t>(0xA0000, 0);
    std::map<int, std::string> headers;  // module number -> the 32 header bytes
    // The reservation answer: number (0: the requested one), code and header places.
    int assignNumber = 0;
    std::uint16_t codeSegment = 0x6080, codeOffset = 0;
    std::uint16_t headerSegment = 0x0000, headerOffset = 0x2000;
    int silentAfter = -1;  // answers only the first N requests
    int requests = 0;
    std::vector<std::string> frames;  // every request, for the tests to look at

    FakePlc() {
        info[2] = 2;
        SetWord(info.data(), 4, 0x1000);
        SetWord(info.data(), 6, 0x6000);
        SetWord(info.data(), 8, 0x0400);
    }
    static void SetWord(std::uint8_t* at, size_t offset, unsigned value) {
        at[offset] = static_cast<std::uint8_t>(value & 0xFF);
        at[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    static unsigned Word(const std::string& s, size_t at) {
        return static_cast<unsigned char>(s[at]) | (static_cast<unsigned char>(s[at + 1]) << 8);
    }
    std::uint8_t* Directory() { return &memory[0x1000]; }
    void Put(unsigned linear, const std::string& bytes) {
        std::copy(bytes.begin(), bytes.end(), memory.begin() + linear);
    }
    std::string Get(unsigned linear, unsigned count) const {
        return std::string(memory.begin() + linear, memory.begin() + linear + count);
    }
    // A module in the PLC: its page map bytes, header and code at the page's place.
    void AddModule(int number, const std::string& name, std::uint8_t kind, int page,
                   const std::string& code, std::uint16_t ownNumber = 0) {
        std::string header(32, '\0');
        header.replace(0, name.size(), name);
        header[27] = static_cast<char>(kind);
        header[25] = static_cast<char>(ownNumber & 0xFF);
        header[26] = static_cast<char>(ownNumber >> 8);
        header[28] = static_cast<char>(0xC0 | number);
        header[29] = static_cast<char>(page);
        header[20] = 1;
        unsigned sum = 0;
        for (unsigned char c : code) sum += c;
        std::string stored =
            code + static_cast<char>(sum & 0xFF) + static_cast<char>((sum >> 8) & 0xFF);
        header[30] = static_cast<char>(stored.size() & 0xFF);
        header[31] = static_cast<char>(stored.size() >> 8);
        headers[number] = header;
        Put(0x60000 + page * 0x400, stored);
        for (size_t p = 0; p * 0x400 < stored.size() || p == 0; ++p)
            Directory()[page + p] = static_cast<std::uint8_t>(0xC0 | number);
    }
    // System pages 0 and 1 in use, so the map does not end at once.
    void MarkSystemPages() { Directory()[0] = Directory()[1] = 0x40; }
    void SetConfiguration(const std::string& block) {
        Put(0x60400, block);
        Directory()[274] = 1;
    }

    std::string Answer(const std::string& request) {
        frames.push_back(request);
        if (silentAfter >= 0 && ++requests > silentAfter) return {};
        const std::uint8_t code = static_cast<std::uint8_t>(request[7]);
        switch (code) {
            case 0x2E:
                return AnswerTelegram(code,
                                      Bytes({0, 0, firmwareMajor, firmwareMinor, 0, 0, 0, 0}));
            case 0x2F:
                return AnswerTelegram(code, std::string(info.begin(), info.end()));
            case 0x01: {
                unsigned address = Word(request, 8),
                         count = static_cast<unsigned char>(request[10]);
                return AnswerTelegram(code, request.substr(8, 3) + Get(address, count));
            }
            case 0x02: {
                unsigned linear = Word(request, 10) * 16 + Word(request, 8);
                unsigned count = static_cast<unsigned char>(request[12]);
                return AnswerTelegram(code, request.substr(8, 5) + Get(linear, count));
            }
            case 0x0A: {
                int number = static_cast<unsigned char>(request[8]);
                return AnswerTelegram(code, Bytes({1, 0, 2, 0, 0x20}) + headers[number]);
            }
            case 0x07: {
                std::array<std::uint8_t, 9> answer{};
                answer[0] = static_cast<std::uint8_t>(assignNumber ? assignNumber : request[8]);
                if (assignNumber < 0) answer[0] = 0;
                SetWord(answer.data(), 1, codeOffset);
                SetWord(answer.data(), 3, codeSegment);
                SetWord(answer.data(), 5, headerOffset);
                SetWord(answer.data(), 7, headerSegment);
                return AnswerTelegram(code, std::string(answer.begin(), answer.end()));
            }
            case 0x44:
            case 0x45: {
                unsigned linear = Word(request, 10) * 16 + Word(request, 8);
                Put(linear, request.substr(13, static_cast<unsigned char>(request[12])));
                return "\xE5";
            }
            case 0x46:
                Put(0x60000 + Word(request, 8),
                    request.substr(11, static_cast<unsigned char>(request[10])));
                return "\xE5";
            default:
                return "\xE5";
        }
    }
    int Count(int code) const {
        int n = 0;
        for (const auto& f : frames) n += static_cast<unsigned char>(f[7]) == code;
        return n;
    }
    // The command codes of the requests, in order.
    std::vector<int> Commands() const {
        std::vector<int> codes;
        for (const auto& f : frames) codes.push_back(static_cast<unsigned char>(f[7]));
        return codes;
    }
};

}  // namespace plc::testing
