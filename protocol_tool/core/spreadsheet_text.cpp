#include "protocol_tool/core/spreadsheet_text.h"

#include <algorithm>

#include "common/format.h"

namespace protocol {

std::string SpreadsheetRow(const ProtocolRecord& record) {
    std::string line2 = record.line2;
    std::replace(line2.begin(), line2.end(), kSecondLineBlank, ' ');
    const std::string zeile1 = TrimTrailing(record.line1);
    const std::string zeile2 = TrimTrailing(line2);
    return common::Format(kSpreadsheetRowFormat, record.status.c_str(), record.number.c_str(),
                          record.date.c_str(), record.time.c_str(), zeile1.c_str(), zeile2.c_str());
}

std::string SpreadsheetText(const std::string& protocolBytes) {
    std::string text = kSpreadsheetHeader;
    for (const ProtocolRecord& record : ReadRecords(protocolBytes)) text += SpreadsheetRow(record);
    return text;
}

}  // namespace protocol
