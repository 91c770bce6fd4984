#include "link/open_sentences.h"

#include <algorithm>
#include <cctype>

#include "link/com_port_names.h"

namespace serial {

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string LastPathPart(const std::string& path) {
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

bool IsConverterPortName(const std::string& path) {
    const std::string name = LastPathPart(path);
    return StartsWith(name, "ttyUSB") || StartsWith(name, "ttyACM") ||
           ComPortNumber(name).has_value();
}

std::string MissingPortSentence(const std::string& path) {
    if (IsConverterPortName(path))
        return path + " does not exist: is the USB-serial converter plugged in?";
    return path + " does not exist: check the port name (or start the simulator first)";
}

std::string PlainOpenSentence(OpenError reason, const std::string& path) {
    switch (reason) {
        case OpenError::None:
            return {};
        case OpenError::Absent:
            return MissingPortSentence(path);
        case OpenError::Busy:
            return path + " is in use by another program: close it and retry";
        case OpenError::NotATerminal:
            return path + " is not a serial port";
        case OpenError::Stopped:
            return "Opening " + path + " was stopped";
        default:
            break;
    }
    return path + " could not be opened";
}

std::string NetworkOpenSentence(OpenError reason, const std::string& portName,
                                const std::string& host) {
    switch (reason) {
        case OpenError::NoSuchHost:
            return "The host name \"" + host + "\" of " + portName +
                   " is not known: check the name, or give the device server's address";
        case OpenError::Refused:
            return portName +
                   " refused the connection: is the device server running, and is the port "
                   "number right?";
        case OpenError::Unreachable:
            return "The host of " + portName +
                   " cannot be reached: check the network cable, the address and any firewall";
        case OpenError::TimedOut:
            return portName +
                   " did not answer in time: check the address, the network and any firewall";
        case OpenError::Busy:
            return portName +
                   " is in use by another client of the device server: close it and retry";
        default:
            break;
    }
    // Stopped and Other read as for a local port.
    return PlainOpenSentence(reason, portName);
}

OpenResult ServerEndedOpen(const std::string& portName, const std::string& text) {
    constexpr size_t kMaxQuoted = 80;
    std::string notice;
    for (char c : text) {
        if (notice.size() >= kMaxQuoted) break;
        if (c >= ' ' && c <= '~') notice += c;
    }
    while (!notice.empty() && notice.back() == ' ') notice.pop_back();
    if (notice.empty())
        return OpenFailure(OpenError::Other, portName + " ended the connection at once");
    std::string lower = notice;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower.find("in use") != std::string::npos)
        return OpenFailure(OpenError::Busy, NetworkOpenSentence(OpenError::Busy, portName, {}) +
                                                " (the server said \"" + notice + "\")");
    return OpenFailure(OpenError::Other, portName + " answered \"" + notice +
                                             "\" and ended the connection: is it the port of a "
                                             "serial device server?");
}

OpenResult OpenFailure(OpenError reason, std::string sentence) {
    return OpenResult{reason, std::move(sentence)};
}

}  // namespace serial
