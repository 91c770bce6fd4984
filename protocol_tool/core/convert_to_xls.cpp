#include "protocol_tool/core/convert_to_xls.h"

#include "common/format.h"
#include "common/utf8_path.h"
#include "protocol_tool/core/derived_path.h"
#include "protocol_tool/core/file_access.h"
#include "protocol_tool/core/spreadsheet_text.h"
#include "protocol_tool/core/write_error.h"

namespace protocol {

ConvertOutcome ConvertToXls(const std::filesystem::path& protocolPath, bool translate,
                            StatusLine& status, common::Frontend& frontend) {
    ConvertOutcome outcome;
    const auto protocolBytes = ReadProtocolFile(protocolPath);
    if (!protocolBytes) return outcome;

    const std::filesystem::path xlsPath = DerivedPath(protocolPath, kSpreadsheetExtension);
    status.Set(common::Format(kConvertToFormat, common::Utf8FromPath(xlsPath).c_str()));
    switch (WriteReplacing(xlsPath, SpreadsheetText(*protocolBytes))) {
        case WriteResult::Written:
            outcome.spreadsheet = ConvertResult::Converted;
            status.Set(kConvertReadyText);
            break;
        case WriteResult::NotOpened:
            // The dialog shows nothing here; the status line keeps "Convert to ...".
            outcome.spreadsheet = ConvertResult::SpreadsheetNotCreated;
            break;
        case WriteResult::WriteFailed:
            outcome.spreadsheet = ConvertResult::WriteFailed;
            frontend.message(WriteErrorMessage(xlsPath));
            return outcome;
    }
    if (translate) outcome.rtf = TranslateToCyrillic(protocolPath, frontend);
    return outcome;
}

}  // namespace protocol
