#pragma once
// The two kinds of PLC exchange on the serial link: a command answered by the single byte
// 0xE5, and a request answered by a telegram. Failures to get the acknowledgement throw
// CQuarnException; a missing telegram is returned as an empty answer for the caller to
// judge.
#include <cstdint>
#include <string>

#include "common/clock.h"
#include "link/serial_link.h"
#include "plc/frame.h"
#include "plc/quarn_exception.h"
#include "plc/telegram_receiver.h"

namespace plc {

// The fixed pacing waits of the protocol.
inline constexpr common::Millis kRequestPause{100};      // after a request, before reading
inline constexpr common::Millis kBlockWritePause{60};    // after a block write telegram
inline constexpr common::Millis kResetSettle{5000};      // after an acknowledged reset
inline constexpr common::Millis kEepromInitWait{55000};  // inside the EEPROM initialisation
inline constexpr common::Millis kModuleSettle{1500};     // after each downloaded module

class PlcExchange {
  public:
    // A device that keeps sending without completing a telegram (endless noise, a damaged
    // frame that is never followed by silence) must not hold a reception for ever: after this
    // many bytes the reception ends as if the line had fallen silent. The longest telegram
    // is 261 bytes (kLongestFrame).
    static constexpr size_t kMaxReceiveBytes = 4096;
    static constexpr size_t kLongestTelegram = kLongestFrame;
    // Nor one that drips a byte just inside each read time-out: a reception that has not
    // ended within the link's answer time for the longest telegram at the line's speed
    // (serial::CSerialLink::AnswerTimeBound, 4.6 s at 9600 baud) ends the same way.
    common::Millis ReceptionTimeBound() const;

    PlcExchange(serial::CSerialLink& link, common::Clock& clock) : link_(link), clock_(clock) {}

    serial::CSerialLink& link() { return link_; }
    common::Clock& clock() { return clock_; }

    // Writes a frame; the result is not looked at (a failed write shows up as no answer).
    // Every PLC telegram is answered or acknowledged, so the write returns as soon as the
    // port has taken the frame and the pacing wait runs while it is still on the line.
    void Write(const std::string& frame) { link_.Write(frame, serial::WriteEnd::HandedOver); }
    // A pacing wait; none once a stop was requested, since no answer is read after it.
    void Pause(common::Millis duration) {
        if (!link_.Stopped()) clock_.sleep(duration);
    }

    // Reads one byte: 0xE5 (count 1), or a telegram after 0x68 (count = data bytes + 1,
    // data in telegramData). False on silence or 0x00; other bytes return true and leave
    // byte and count as they were.
    bool ReadReply(std::uint8_t& byte, int& count, std::string& telegramData);

    // Receives an answer telegram from the given state; its data bytes, or empty when the
    // line went silent (an answer without data counts as none, and so does one that has not
    // come after kMaxReceiveBytes bytes or within ReceptionTimeBound).
    std::string ReceiveTelegram(int initialState = TelegramReceiver::kStateIdle);

    // Returns on 0xE5; throws "Comunication error: Timeout" on silence and
    // "Comunication error: Wrong quit char" on any other answer.
    void WaitAck();

    // Write, wait 100 ms, WaitAck.
    void SendAcknowledged(const std::string& frame);
    // Write, wait 100 ms, receive; empty when no answer came.
    std::string Request(const std::string& frame);

  private:
    serial::CSerialLink& link_;
    common::Clock& clock_;
};

}  // namespace plc
