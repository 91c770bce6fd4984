#pragma once
// What the user is told when a retrieval brought nothing usable: what happened, what became
// of the file, and what to do. The status line alone would not say it (the statistics end
// with "Ready" either way).
#include <filesystem>
#include <string>

namespace protocol {

enum class RetrievalFailure {
    NothingCame,  // the display stayed silent
    DeviceGone,   // the port went away in the middle of the exchange
    Endless,      // the display did not stop sending
    Stopped,      // the user stopped the tool (Ctrl-C) in the middle of the answer
};

// keptFile: a file the user had under that name is kept as it was; else none was written.
std::string RetrievalMessage(RetrievalFailure failure, const std::filesystem::path& file,
                             bool keptFile);

}  // namespace protocol
