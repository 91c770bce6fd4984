// The commands of quarnctl. Each lives in its own source file; add a line here.
#include "plc_tool/quarnctl/context.h"
#include "plc_tool/quarnctl/control_commands.h"
#include "plc_tool/quarnctl/transfer_commands.h"
#include "plc_tool/quarnctl/watch_command.h"

namespace quarnctl {

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"ports", "",
         "List the serial ports with their descriptions; * marks the converter "
         "that is used when --port is not given.",
         PortsCommand},
        {"identify", "",
         "Search the PLC's station address and print it with the firmware "
         "version.",
         IdentifyCommand},
        {"reset", "", "Reset the PLC.", ResetCommand},
        {"init-eeprom", "",
         "Initialise the PLC's EEPROM (asks \"Are you sure ?\"; about 60 "
         "seconds).",
         InitEepromCommand},
        {"watch", "SYMBOLS.ot [--cycles N] [--top INDEX] [--keys KEYS] [--csv FILE]",
         "Show the PLC's variables named in the symbol file, page after page: 7 bands of 8 "
         "cells (symbol, operand, value). --cycles N stops after N pages (default: until "
         "interrupted), --top INDEX starts at that variable, --keys pages with up, down, pgup "
         "and pgdn, separated by commas, one key per page. --csv FILE appends a row per page to "
         "FILE: the local time with milliseconds and every shown cell's value, after a header "
         "row of the operands; flushed after each row.",
         WatchCommand},
        {"directory", "",
         "Read the PLC directory and print the module table: number, name, "
         "kind, code length, start page, firmware needed, date.",
         DirectoryCommand},
        {"download", "PROJECT.pr [--dry-run] [--backup DIR] [--verify]",
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
         "everything back after the download and compares it with what was written; every "
         "difference is printed and the exit status is 1.",
         DownloadCommand},
        {"verify", "PROJECT.pr",
         "Compare the PLC with the project without downloading: modules missing, extra or "
         "different (module, byte offset, expected, found; at most 10 a module) and the "
         "configuration block. Exit 0 when the PLC holds exactly the project.",
         VerifyCommand},
        {"upload", "FOLDER",
         "Upload the PLC's modules, its configuration block (FOLDER.kb) and "
         "a project file (FOLDER.pr) into FOLDER, created when missing. "
         "Asks before overwriting files. The transfer is appended to the "
         "log (--log).",
         UploadCommand},
    };
    return commands;
}

}  // namespace quarnctl
