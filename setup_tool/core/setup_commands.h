#pragma once
// The acknowledged setup commands formed from a setup record, each as the text that goes
// to SendCommand (without its "\r"). Fields are printf-formatted as the display reads
// them and never clipped: a value too wide for its field makes the command longer.
#include <string>
#include <vector>

#include "setup_tool/core/setup_record.h"

namespace setup {

std::string TbCommand(const SetupRecord& record);
std::string TcCommand(const SetupRecord& record, int index);  // index 0 to 7
std::string TdCommand(const SetupRecord& record);
std::string TeCommand(const SetupRecord& record, int group, int k);  // 0 to 7 each
std::string TlCommand(const SetupRecord& record);
std::string TnCommand(const SetupRecord& record);
// "@TF", "@TG", "@TH" or "@TI" entry n (from 1) of a table entry.
std::string TableCommand(char letter, int n, const TableEntry& entry);
std::string TmCommand(int n);  // n from 1 to 21

// The flags of a table entry as four digits: bit 2, bit 0, bit 1, bit 3.
std::string FlagDigits(std::uint8_t flags);

// "@TB", "@TC" 09 to 16, "@TD", the 64 "@TE", "@TL", "@TN": always sent, in this order.
std::vector<std::string> ParameterCommands(const SetupRecord& record);

// The table switch: the ten "@TN" digits and its number added up. Only when it is not 0
// are the tables and the "@TM" commands sent.
bool TableSwitchOn(const SetupRecord& record);

// The 49 "@TF", 49 "@TG", 27 "@TH", 31 "@TI" entries and "@TM" 01 to 21, in this order.
std::vector<std::string> TableCommands(const SetupRecord& record);

}  // namespace setup
