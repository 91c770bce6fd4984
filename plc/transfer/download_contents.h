#pragma once
// What a download sends, made in one place for the download, its dry run and verify: the
// configuration block, each module as read from its file, and the header fields the
// download fills in once the PLC has placed the module.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/frontend.h"
#include "plc/files/configuration_file.h"
#include "plc/files/module_file.h"
#include "plc/files/project_file.h"

namespace plc {

// The configuration block a download sends: the file of the project's first configuration
// entry (number 0) read over the PLC's block as the directory read left it, so a short file
// keeps the PLC's bytes beyond it. nullopt after "Kein Konfigurationsblock" (preceded by
// the file's own message when it can't be read) when there is no such entry or file.
std::optional<ConfigurationBlock> ConfigurationToSend(const std::vector<ModuleRecord>& records,
                                                      const std::filesystem::path& folder,
                                                      const ConfigurationBlock& plcBlock,
                                                      common::Frontend& frontend);

// A module file read as the download sends it (name, date and sum filled in). False after
// "%d %s" with the result and the file name, or the long-name text; when the file can't be
// opened at all, *why says why (missing, no permission, ...), for a front end with room
// for it.
bool ReadModuleToSend(const std::filesystem::path& folder, const ModuleRecord& record,
                      std::uint8_t plcVariant, ModuleImage& image, common::Frontend& frontend,
                      std::string* why = nullptr);

// The header fields the download fills in before it writes the header: the directory code
// (the number the PLC assigned with the kind letter's code), the start page, the loader
// mark and the code length with the 2-byte sum.
void CompleteModuleHeader(ModuleHeader& header, char kindLetter, std::uint8_t assignedNumber,
                          std::uint8_t startPage, std::uint16_t codeLength);

}  // namespace plc
