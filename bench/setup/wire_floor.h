#pragma once
// The least time a setup session can take on the line: every character of every command
// and of every answer at 9600 baud, 11 bits a character (start, 8 data, 2 stop bits).
#include <chrono>
#include <deque>
#include <string>

namespace bench {

struct WireFloor {
    std::size_t commandCharacters = 0;
    std::size_t answerCharacters = 0;
    std::chrono::duration<double> time{0};
};

// From the link's record of writes (">" and the bytes per write): login and logout are
// answered with two characters, acknowledged setup commands with four, the clock commands
// not at all.
WireFloor FloorOf(const std::deque<std::string>& transmitRecord, int baud = 9600);

}  // namespace bench
