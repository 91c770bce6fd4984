#pragma once
#include "plc_tool/quarnctl/context.h"

namespace quarnctl {

int PortsCommand(Context& context, const CommandArguments& args);
int IdentifyCommand(Context& context, const CommandArguments& args);
int ResetCommand(Context& context, const CommandArguments& args);
int InitEepromCommand(Context& context, const CommandArguments& args);

}  // namespace quarnctl
