#pragma once
#include "plc_tool/quarnctl/context.h"

namespace quarnctl {

// quarnctl watch SYMBOLS.ot [--cycles N] [--top INDEX] [--keys KEYS] [--csv FILE]: the variable
// display against the PLC, each page printed as text.
int WatchCommand(Context& context, const CommandArguments& args);

}  // namespace quarnctl
