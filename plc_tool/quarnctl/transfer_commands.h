#pragma once
// quarnctl's project transfer commands: directory, download, verify, upload.
#include <string>
#include <vector>

#include "plc_tool/quarnctl/context.h"

namespace quarnctl {

int DirectoryCommand(Context& context, const CommandArguments& args);
int DownloadCommand(Context& context, const CommandArguments& args);
int VerifyCommand(Context& context, const CommandArguments& args);
int UploadCommand(Context& context, const CommandArguments& args);

}  // namespace quarnctl
