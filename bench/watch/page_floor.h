#pragma once
// The least time one page of the variable display can take: per list-read telegram the
// 100 ms wait before the request and the 100 ms wait after it, the request and the answer
// on the line (11 bits a character), and per page the five 10 ms pumps.
#include <chrono>
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace bench {

using Seconds = std::chrono::duration<double>;

struct PageFloor {
    int telegrams = 0;
    std::size_t requestCharacters = 0;
    std::size_t answerCharacters = 0;
    // Waits, line and pumps one after the other.
    Seconds serial{0};
    // The same when the answer comes while the client still waits its 100 ms after the
    // request (a PLC answers at once, the serial driver keeps the bytes): per telegram
    // 100 ms + the longer of 100 ms and the line time of request and answer.
    Seconds overlapped{0};
};

// The floor of a page read with these request frames at the given speed.
PageFloor FloorOfPage(const std::vector<std::string>& requests, int baud);

// The request frames among the link's record of writes from entry `from` up to `to`: the
// successful writes (">" + bytes), without their mark.
std::vector<std::string> RequestsOfPage(const std::deque<std::string>& record, std::size_t from,
                                        std::size_t to);

// The answer frame's length for a list read request (0x0D or 0x0E): the bytes its ranges
// ask for, the count byte and the frame around them.
std::size_t ListAnswerLength(const std::string& request);

}  // namespace bench
