#pragma once
// quarnctl's project transfer commands: directory, download, verify, upload.
#include <string>
#include <vector>

#include "plc_tool/core/checked_download.h"
#include "plc_tool/quarnctl/context.h"

namespace quarnctl {

int DirectoryCommand(Context& context, const std::vector<std::string>& args);
int DownloadCommand(Context& context, const std::vector<std::string>& args);
int VerifyCommand(Context& context, const std::vector<std::string>& args);
// The download and the verify once their options are known.
int RunDownloadWith(Context& context, const std::string& project,
                    const quarnwin::DownloadChoices& choices);
int RunVerifyWith(Context& context, const std::string& project);
int UploadCommand(Context& context, const std::vector<std::string>& args);

}  // namespace quarnctl
