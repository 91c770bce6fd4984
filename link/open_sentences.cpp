#include "link/open_sentences.h"

#include <algorithm>
#include <cctype>

namespace serial {

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string LastPathPart(const std::string& path) {
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool IsComName(const std::string& name) {
    constexpr size_t kComPrefix = 3;
    if (name.size() <= kComPrefix) return false;
    std::string prefix = name.substr(0, kComPrefix);
    std::transform(prefix.begin(), prefix.end(), prefix.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return prefix == "com" && std::all_of(name.begin() + kComPrefix, name.end(), [](char c) {
               return std::isdigit(static_cast<unsigned char>(c)) != 0;
           });
}

}  // namespace

bool IsConverterPortName(const std::string& path) {
    const std::string name = LastPathPart(path);
    return StartsWith(name, "ttyUSB") || StartsWith(name, "ttyACM") || IsComName(name);
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
    if (reason == OpenError::Stopped) return "Opening " + portName + " was stopped";
    return portName + " could not be opened";
}

OpenResult OpenFailure(OpenError reason, std::string sentence) {
    return OpenResult{reason, std::move(sentence)};
}

}  // namespace serial
