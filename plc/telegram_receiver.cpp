#include "plc/telegram_receiver.h"

#include "plc/frame.h"

namespace plc {

bool TelegramReceiver::feed(std::uint8_t byte) {
    if (complete_) return true;
    switch (state_) {
        case 0:
            if (byte == kFrameStart) state_ = 1;
            break;
        case 1:
            length_ = byte;
            state_ = 2;
            break;
        case 2:
            if (byte == length_) state_ = 3;
            break;
        case 3:
            state_ = (byte == kFrameStart) ? 4 : kStateDamaged;
            break;
        case 4:
        case 5:
        case 6:
            ++state_;
            break;
        case 7:
            remaining_ =
                length_ > kLengthOverhead ? length_ - static_cast<int>(kLengthOverhead) : 0;
            state_ = remaining_ > 0 ? 8 : 9;
            break;
        case 8:
            data_ += static_cast<char>(byte);
            if (--remaining_ == 0) state_ = 9;
            break;
        case 9:
            fcs_ = byte;
            state_ = 10;
            break;
        case 10:
            state_ = 0;
            complete_ = true;
            return true;
        default:  // damaged frame: drained until silence
            break;
    }
    return false;
}

}  // namespace plc
