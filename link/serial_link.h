#pragma once
// The one serial link of a program: opens the port with the program's line settings, writes
// byte strings and reads one byte per call, each read ended by the port's time-out. The
// read operations of the text display's two protocols live here; the PLC's telegram
// reception is built on ReadByte in plc/.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "common/frontend.h"
#include "link/line_settings.h"
#include "link/serial_device.h"

namespace serial {

class CSerialLink {
  public:
    // Entries kept in TransmitRecord; older ones are dropped. Nothing reads the record but
    // tests and a debugger, so it need not grow for the life of the program.
    static constexpr size_t kTransmitRecordCap = 4096;
    // A device that never stops sending must not keep a read going for ever: an answer or a
    // line that grows beyond these ends the read as if the line had fallen silent.
    static constexpr size_t kMaxAnswerLength = 1024;
    static constexpr size_t kMaxLineLength = 65536;
    // Nor must a device that drips one byte just inside each read time-out: every answer has
    // a total time, after which it ends as if the line had fallen silent. The first byte may
    // take a whole read time-out and one more such pause is allowed inside the answer; its
    // longest legitimate length may take twice its time on the wire (kBitsPerCharacter bits
    // per character at the line's speed).
    static constexpr int kBitsPerCharacter = 11;
    static common::Millis AnswerTimeBound(const LineSettings& settings, size_t longestBytes);
    // The clock the answers' total time is measured with; the real one unless a test or the
    // program gives its own.
    void UseClock(common::Clock& clock) { clock_ = &clock; }
    common::Clock& Clock() { return *clock_; }

    CSerialLink(SerialDevice& device, common::Frontend& frontend, Program program);
    ~CSerialLink();
    CSerialLink(const CSerialLink&) = delete;
    CSerialLink& operator=(const CSerialLink&) = delete;

    // Opens the port as the user named it (the device picks its path or network address)
    // (fast: 19200 baud, the PLC tool only). False when the port can't be opened (nothing
    // shown; OpenFailureText tells why) or its settings are refused: then "Unable to
    // configure the serial port" is shown and the port stays open, as the programs always
    // behaved, until Close.
    bool Open(const std::string& portName, bool fast = false);
    // New line settings on the open port (the PLC tool's speed choice), without closing it:
    // a device server keeps its connection and is only told the new speed. A refusal shows
    // "Unable to configure the serial port" as Open does.
    bool ChangeSpeed(bool fast);
    void Close();
    bool IsOpen() const;
    OpenError LastOpenError() const { return lastOpen_.reason; }
    // What to tell the technician after a failed Open or ChangeSpeed: the device's sentence
    // for a port that could not be opened, or the reason for refused line settings when the
    // device gave one (the message "Unable to configure the serial port" has been shown
    // already). Empty when there is nothing more to say.
    std::string OpenFailureText() const;
    const LineSettings& Settings() const { return settings_; }

    // Writes the whole string (zero bytes are data) and records it in TransmitRecord:
    // ">" + bytes on success, "!> Error:" + bytes on failure. HandedOver where the answer is
    // read next, so its wait runs while the request is still on the line; Drained where the
    // line must be quiet before the next step.
    bool Write(const std::string& bytes, WriteEnd end = WriteEnd::Drained);

    // One byte, or nullopt after the read time-out of silence, at once on a link that is not
    // open or once a stop was requested.
    std::optional<std::uint8_t> ReadByte();

    // A stop request (Ctrl-C, SIGTERM) ends the operation like a line failure: the write in
    // progress goes out whole, an answer (or protocol line) that has begun is read to its end,
    // and the next answer is not waited for: the reads report no answer (ReadLineEnd: Gone), so
    // each protocol's own abort path runs. A caller that ends on a stop by itself (the
    // variable display closes after its page) turns this off.
    void FollowStopRequests(bool follow) { followStop_ = follow; }
    bool Stopped() const;

    // Text display setup answers. Plain mode: "\r" ends the answer (not stored). Checksum
    // mode: "\r" ends it only after exactly three stored bytes, else it is data. Silence
    // ends the call with false, the bytes so far kept (also once kMaxAnswerLength bytes came,
    // or the answer outlasted AnswerTimeBound for kMaxAnswerLength bytes).
    bool ReadAnswer(std::string& answer, bool checksumMode);

    // How a protocol line read ended.
    enum class LineEnd { LineFeed, Silence, TooLong, Gone };

    // Text display protocol lines: every byte appended, the line feed included, which ends
    // the read with LineFeed; silence (also a line that outlasts AnswerTimeBound for
    // kMaxLineLength bytes), kMaxLineLength bytes without a line feed, or a device that has
    // gone (or a stop request) end it otherwise.
    LineEnd ReadLineEnd(std::string& line);
    // The same, true only for a line ended by its line feed.
    bool ReadLine(std::string& line) { return ReadLineEnd(line) == LineEnd::LineFeed; }

    const std::deque<std::string>& TransmitRecord() const { return transmitRecord_; }

  private:
    bool ApplySettings();
    SerialDevice& device_;
    common::Frontend& frontend_;
    Program program_;
    LineSettings settings_;
    OpenResult lastOpen_;
    std::string settingsRefusal_;
    std::deque<std::string> transmitRecord_;
    bool recordEnabled_ = true;
    bool followStop_ = true;
    bool answerBegun_ = false;  // a byte came since the last write
    common::RealClock ownClock_;
    common::Clock* clock_ = &ownClock_;
};

}  // namespace serial
