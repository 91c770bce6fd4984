#pragma once
#include "plc_tool/quarnctl/context.h"

namespace quarnctl {

int PortsCommand(Context& context, const std::vector<std::string>& args);
int IdentifyCommand(Context& context, const std::vector<std::string>& args);
int ResetCommand(Context& context, const std::vector<std::string>& args);
int InitEepromCommand(Context& context, const std::vector<std::string>& args);

}  // namespace quarnctl
