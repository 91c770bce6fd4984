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
    command
        .add_option("--csv", args.csvFile,
                    "Append a row per page to FILE: local time with milliseconds, every shown "
                    "cell's value (a header row of the operands first)")
        ->type_name("FILE");
}

void DeclareDownload(CLI::App& command, CommandArguments& args) {
    command.add_option("PROJECT.pr", args.path, "The project file")->required();
    command.add_flag("--dry-run", args.dryRun,
                     "Read the directory, make every check and print the plan and its time; "
                     "nothing that changes the PLC is sent");
    command
        .add_option("--backup", args.backupFolder,
                    "First upload the whole PLC into a new folder DIR/TITLE-YYYYMMDD-HHMMSS; "
                    "when that fails the PLC is not touched")
        ->type_name("DIR");
    command.add_flag("--verify", args.verify,
                     "Read everything back after the download and compare it with what was "
                     "written");
}

void DeclareVerify(CLI::App& command, CommandArguments& args) {
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
         "and pgdn, separated by commas, one key per page. --csv FILE appends a row per page "
         "to FILE (the local time with milliseconds and every shown cell's value, after a "
         "header row of the operands), flushed after each row.",
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
         "is touched. The transfer is appended to the log (--log). "
         "--dry-run reads the directory, makes every check and prints the plan (modules "
         "deleted, configuration block, modules written, the time the protocol needs) without "
         "changing the PLC; exit 0 when the download would go ahead. --backup DIR first "
         "uploads the whole PLC into a new folder DIR/TITLE-YYYYMMDD-HHMMSS (a project that "
         "download accepts); when that fails the PLC is not touched. --verify reads "
         "everything back after the PLC was started and compares it with what was written; "
         "every difference is printed (module, byte offset, expected, found) and the exit "
         "status is 1.",
         DeclareDownload, DownloadCommand},
        {"verify", "Compare the PLC with a project",
         "Compare the PLC with the project without downloading: modules missing, extra or "
         "different (module, byte offset, expected, found; at most 10 a module and a count "
         "of the rest) and the configuration block. Exit 0 when the PLC holds exactly the "
         "project.",
         DeclareVerify, VerifyCommand},
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
