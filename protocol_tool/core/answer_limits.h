#pragma once
// How much of an answer a retrieval takes before it counts the display as one that never
// stops sending. The display keeps at most 9,999 protocol entries of four short lines
// (about 40 characters each): some 40,000 lines and 1.7 MB, half an hour at 9600 baud. The
// bounds lie well above that, so no real protocol meets them, while a display that sends
// for ever ends by them instead of holding the program.
#include <cstddef>

#include "link/serial_link.h"

namespace protocol {

inline constexpr std::size_t kMaxAnswerLines = 100000;
inline constexpr std::size_t kMaxAnswerBytes = std::size_t{8} * 1024 * 1024;

// Nor must a display that drips a byte just inside each read time-out: a retrieval ends as
// if the display had fallen silent once it has taken the time kMaxAnswerBytes take at the
// line's speed, with the link's margin (about 5 h 20 min at 9600 baud).
inline common::Millis RetrievalTimeBound(const serial::LineSettings& settings) {
    return serial::CSerialLink::AnswerTimeBound(settings, kMaxAnswerBytes);
}

}  // namespace protocol
