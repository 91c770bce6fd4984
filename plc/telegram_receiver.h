#pragma once
// The receive state machine for PLC answer telegrams, fed one byte at a time. Pure: the
// caller reads the bytes and ends the reception on silence.
//
//   state  expects             action                                  next
//   0      0x68                -                                       1
//   0      other               ignored                                 0
//   1      LE                  remember LE                             2
//   2      byte equal to LE    -                                       3
//   2      other               ignored                                 2
//   3      0x68                -                                       4
//   3      other               damaged frame                           11
//   4..6   dest, source, func  ignored                                 5..7
//   7      command byte        ignored; remaining := LE-4              8 (or 9 when 0)
//   8      data byte           stored; remaining - 1                   9 at 0, else 8
//   9      FCS                 kept, not checked                       10
//   10     end byte            not checked; done with LE-4 data bytes  -
//   11     any                 drained until the line is silent        11
//
// Neither the FCS nor the end byte nor the addresses are checked: the PLC side relies on
// nothing stricter. An answer with LE of 4 or less carries no data and completes with 0.
#include <cstdint>
#include <string>

namespace plc {

class TelegramReceiver {
  public:
    static constexpr int kStateIdle = 0;
    static constexpr int kStateAfterStart = 1;
    static constexpr int kStateDamaged = 11;

    explicit TelegramReceiver(int initialState = kStateIdle) : state_(initialState) {}

    // Takes one byte; true when the telegram is complete.
    bool feed(std::uint8_t byte);

    bool complete() const { return complete_; }
    int state() const { return state_; }
    // The data bytes after the command byte (LE-4 of them once complete).
    const std::string& data() const { return data_; }
    std::uint8_t lastChecksum() const { return fcs_; }

  private:
    int state_;
    std::uint8_t length_ = 0;
    int remaining_ = 0;
    std::uint8_t fcs_ = 0;
    bool complete_ = false;
    std::string data_;
};

}  // namespace plc
