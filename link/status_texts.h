#pragma once
// The status line's texts, every one of them, and the titles of the boxes
// that several operations share. The texts are the program's own, odd
// spelling and trailing blanks included.

namespace status {
inline constexpr const char* kIdle = "Wait user command";
inline constexpr const char* kCommError = "Comm error";  // left standing by the watchdog's report
inline constexpr const char* kSwitchPort = "Start switch port";
inline constexpr const char* kPerformCommand = "Start perform command--------";
inline constexpr const char* kFinding = "auto finding hardware....";
inline constexpr const char* kSearchResult = "search result";
inline constexpr const char* kReading = "Reading ESC parameter ";
inline constexpr const char* kReadOk = "Reading ESC parameter OK";
inline constexpr const char* kSending = "Send parameter to ESC";
inline constexpr const char* kSendDone = "Send parameter done";
inline constexpr const char* kUpdateStart = "Start update hardware....";
inline constexpr const char* kUpdateWriting = "Update process:Writing ROM.......";
inline constexpr const char* kUpdateVerifying = "Verrify update data...";
inline constexpr const char* kUpdateFinished = "Update hardware finished";
inline constexpr const char* kTesting = "Testing rotate speed..";
// Speed mode, but no speed answer from the ESC for half a second.
inline constexpr const char* kSpeedAnswersStopped = "ESC speed answers stopped";
}  // namespace status

// The watchdog's report, also shown when the port in use goes away.
inline constexpr const char* kHardwareNotConnect = "Hardware not connect or Comm port select error";

namespace box_title {
inline constexpr const char* kCommError = "Comm error";
inline constexpr const char* kError = "Error";
inline constexpr const char* kPrompt = "Prompt";
inline constexpr const char* kRequire = "Require";
}  // namespace box_title
