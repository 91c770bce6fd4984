#include "protocol_tool/core/protocol_commands.h"

#include "common/format.h"

namespace protocol {

std::string ProtocolRequest(int mode, int cnt) {
    if (mode != kModeUpTo) return kNewEntriesRequest;
    return common::Format(kProtocolUpToFormat, cnt);
}

}  // namespace protocol
