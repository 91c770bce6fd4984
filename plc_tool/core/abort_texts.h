#pragma once
// The texts with which the PLC tool's operations end when the PLC stops answering; shown in
// the status line in red, with the exclamation sound.
namespace quarnwin {

inline constexpr const char* kCommunicationErrorText = "Communication error";
inline constexpr const char* kDownloadAbortedText =
    "PC->Quarn download aborted, please restart download";
inline constexpr const char* kUploadAbortedText = "Quarn->PC upload aborted, please restart upload";
inline constexpr const char* kVerifyAbortedText = "Verify aborted, please restart verify";
// The verdict of a verify, in the status line and the log.
inline constexpr const char* kVerifyOkText = "Verify ok";
inline constexpr const char* kVerifyFailedText = "Verify failed";
inline constexpr const char* kShowVariablesAbortedText = "Show variables aborted, please restart";

}  // namespace quarnwin
