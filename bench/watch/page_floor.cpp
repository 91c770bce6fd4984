#include "page_floor.h"

#include <algorithm>

namespace bench {

namespace {
constexpr int kBitsPerCharacter = 11;
constexpr double kRequestPause = 0.100;
constexpr double kPumps = 5 * 0.010;
constexpr std::size_t kRangeCountOffset = 8;
constexpr std::size_t kFirstRangeOffset = 9;
constexpr std::size_t kListRangeSize = 3;
constexpr std::size_t kSegmentRangeSize = 5;
// 68 LE LE 68, station, source, function, command; FCS and end byte.
constexpr std::size_t kFrameOverhead = 10;
constexpr std::size_t kCountByte = 1;
constexpr unsigned char kSegmentListRead = 0x0E;
}  // namespace

std::vector<std::string> RequestsOfPage(const std::deque<std::string>& record, std::size_t from,
                                        std::size_t to) {
    std::vector<std::string> requests;
    for (std::size_t i = from; i < to; ++i)
        if (!record[i].empty() && record[i][0] == '>') requests.push_back(record[i].substr(1));
    return requests;
}

std::size_t ListAnswerLength(const std::string& request) {
    if (request.size() <= kRangeCountOffset) return 0;
    const bool segments = static_cast<unsigned char>(request[7]) == kSegmentListRead;
    const std::size_t rangeSize = segments ? kSegmentRangeSize : kListRangeSize;
    const std::size_t ranges = static_cast<unsigned char>(request[kRangeCountOffset]);
    std::size_t total = 0;
    for (std::size_t r = 0; r < ranges; ++r) {
        std::size_t countAt = kFirstRangeOffset + r * rangeSize + rangeSize - 1;
        if (countAt < request.size()) total += static_cast<unsigned char>(request[countAt]);
    }
    return kFrameOverhead + kCountByte + total;
}

PageFloor FloorOfPage(const std::vector<std::string>& requests, int baud) {
    PageFloor floor;
    const double character = static_cast<double>(kBitsPerCharacter) / baud;
    double serial = kPumps;
    double overlapped = kPumps;
    for (const std::string& request : requests) {
        const std::size_t answer = ListAnswerLength(request);
        ++floor.telegrams;
        floor.requestCharacters += request.size();
        floor.answerCharacters += answer;
        const double line = static_cast<double>(request.size() + answer) * character;
        serial += 2 * kRequestPause + line;
        overlapped += kRequestPause + std::max(kRequestPause, line);
    }
    floor.serial = Seconds(serial);
    floor.overlapped = Seconds(overlapped);
    return floor;
}

}  // namespace bench
