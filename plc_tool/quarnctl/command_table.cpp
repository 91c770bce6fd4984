// The commands of quarnctl. Each lives in its own source file; add a line to the table, and
// a function here that declares the command's options and arguments when it has any.
#include <string>
#include <string_view>

#include "cli/command_line.h"
#include "plc_tool/quarnctl/context.h"
#include "plc_tool/quarnctl/control_commands.h"
#include "plc_tool/quarnctl/transfer_commands.h"
#include "plc_tool/quarnctl/watch_command.h"

namespace quarnctl {

namespace {

constexpr int kMostCount = 1000000;

// "up,pgdn,down": one paging key per page; false on a name that is no key.
bool ParseKeys(const std::string& text, std::vector<monitor::PagingKey>& keys) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        std::optional<monitor::PagingKey> key =
            monitor::ParsePagingKey(std::string_view(text).substr(start, comma - start));
        if (!key) return false;
        keys.push_back(*key);
        start = comma + 1;
    }
    return true;
}

void DeclareWatch(CLI::App& command, CommandArguments& args) {
    command.add_option("SYMBOLS.ot", args.path, "The symbol file naming the variables")->required();
    cli::AddNumber(command, "--cycles", args.cycles, 1, kMostCount,
                   "takes a number of pages from 1",
                   "Stop after N pages (default: until interrupted)");
    cli::AddNumber(command, "--top", args.top, 0, kMostCount, "takes a variable index from 0",
                   "Start the first page at variable INDEX (default: 0)")
        ->type_name("INDEX");
    command
        .add_option_function<std::string>(
            "--keys",
            [&args](const std::string& text) {
                if (!ParseKeys(text, args.keys))
                    throw CLI::ValidationError(
                        "--keys", "takes up, down, pgup and pgdn, separated by commas");
            },
            "Page with these keys, one per page: up, down, pgup, pgdn, separated by commas")
        ->type_name("KEYS");
}

void DeclareDownload(CLI::App& command, CommandArguments& args) {
    command.add_option("PROJECT.pr", args.path, "The project file")->required();
}

void DeclareUpload(CLI::App& command, CommandArguments& args) {
    command.add_option("FOLDER", args.path, "The folder to upload into")->required();
}

}  // namespace

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"ports", "List the serial ports",
         "List the serial ports with their descriptions; * marks the converter "
         "that is used when --port is not given.",
         nullptr, PortsCommand},
        {"identify", "Find the PLC and print its station address and firmware",
         "Search the PLC's station address and print it with the firmware "
         "version.",
         nullptr, IdentifyCommand},
        {"reset", "Reset the PLC", "Reset the PLC.", nullptr, ResetCommand},
        {"init-eeprom", "Initialise the PLC's EEPROM",
         "Initialise the PLC's EEPROM (asks \"Are you sure ?\"; about 60 "
         "seconds).",
         nullptr, InitEepromCommand},
        {"watch", "Show the PLC's variables, page after page",
         "Show the PLC's variables named in the symbol file, page after page: 7 bands of 8 "
         "cells (symbol, operand, value). --cycles N stops after N pages (default: until "
         "interrupted), --top INDEX starts at that variable, --keys pages with up, down, pgup "
         "and pgdn, separated by commas, one key per page.",
         DeclareWatch, WatchCommand},
        {"directory", "Print the PLC's module table",
         "Read the PLC directory and print the module table: number, name, "
         "kind, code length, start page, firmware needed, date.",
         nullptr, DirectoryCommand},
        {"download", "Download a project into the PLC",
         "Download the project into the PLC: its modules are "
         "deleted, the configuration block is written (asks first), "
         "every module is written and the PLC is started. A project "
         "with a missing or unusable file is refused before the PLC "
         "is touched. The transfer is appended to the log (--log).",
         DeclareDownload, DownloadCommand},
        {"upload", "Upload the PLC's modules and project into a folder",
         "Upload the PLC's modules, its configuration block (FOLDER.kb) and "
         "a project file (FOLDER.pr) into FOLDER, created when missing. "
         "Asks before overwriting files. The transfer is appended to the "
         "log (--log).",
         DeclareUpload, UploadCommand},
    };
    return commands;
}

}  // namespace quarnctl
