#pragma once
// How much of an answer a retrieval takes before it counts the display as one that never
// stops sending. The display keeps at most 9,999 protocol entries of four short lines
// (about 40 characters each): some 40,000 lines and 1.7 MB, half an hour at 9600 baud. The
// bounds lie well above that, so no real protocol meets them, while a display that sends
// for ever ends by them instead of holding the program.
#include <cstddef>

namespace protocol {

inline constexpr std::size_t kMaxAnswerLines = 100000;
inline constexpr std::size_t kMaxAnswerBytes = std::size_t{8} * 1024 * 1024;

}  // namespace protocol
