#pragma once
// quarnctl's project transfer commands: directory, download, upload.
#include <string>
#include <vector>

#include "plc_tool/quarnctl/context.h"

namespace quarnctl {

int DirectoryCommand(Context& context, const std::vector<std::string>& args);
int DownloadCommand(Context& context, const std::vector<std::string>& args);
int UploadCommand(Context& context, const std::vector<std::string>& args);

}  // namespace quarnctl
