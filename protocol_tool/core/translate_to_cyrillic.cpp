#include "protocol_tool/core/translate_to_cyrillic.h"

#include "protocol_tool/core/cyrillic_rtf.h"
#include "protocol_tool/core/derived_path.h"
#include "protocol_tool/core/file_access.h"
#include "protocol_tool/core/write_error.h"

namespace protocol {

TranslateResult TranslateToCyrillic(const std::filesystem::path& protocolPath,
                                    common::Frontend& frontend) {
    const auto protocolBytes = ReadProtocolFile(protocolPath);
    if (!protocolBytes) return TranslateResult::ProtocolUnreadable;
    const std::filesystem::path rtfPath = DerivedPath(protocolPath, kRtfExtension);
    switch (WriteReplacing(rtfPath, CyrillicRtf(*protocolBytes))) {
        case WriteResult::Written:
            return TranslateResult::Written;
        case WriteResult::NotOpened:
            frontend.message(kRtfNotCreatedMessage);
            return TranslateResult::RtfNotCreated;
        case WriteResult::WriteFailed:
            break;
    }
    frontend.message(WriteErrorMessage(rtfPath));
    return TranslateResult::WriteFailed;
}

}  // namespace protocol
