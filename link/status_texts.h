#pragma once
// The status line's texts, every one of them, and the titles of the boxes
// that several operations share. The texts are the program's own, odd
// spelling and trailing blanks included. They are marked for translation:
// the window shows them in the user's language (the English bytes stay as
// written; the link and the tests see those).

#include <QtGlobal>

namespace status {
inline constexpr const char* kIdle = QT_TRANSLATE_NOOP("status", "Wait user command");
// Left standing by the watchdog's report.
inline constexpr const char* kCommError = QT_TRANSLATE_NOOP("status", "Comm error");
inline constexpr const char* kSwitchPort = QT_TRANSLATE_NOOP("status", "Start switch port");
inline constexpr const char* kPerformCommand = QT_TRANSLATE_NOOP("status", "Start perform command--------");
inline constexpr const char* kFinding = QT_TRANSLATE_NOOP("status", "auto finding hardware....");
inline constexpr const char* kSearchResult = QT_TRANSLATE_NOOP("status", "search result");
inline constexpr const char* kReading = QT_TRANSLATE_NOOP("status", "Reading ESC parameter ");
inline constexpr const char* kReadOk = QT_TRANSLATE_NOOP("status", "Reading ESC parameter OK");
inline constexpr const char* kSending = QT_TRANSLATE_NOOP("status", "Send parameter to ESC");
inline constexpr const char* kSendDone = QT_TRANSLATE_NOOP("status", "Send parameter done");
inline constexpr const char* kUpdateStart = QT_TRANSLATE_NOOP("status", "Start update hardware....");
inline constexpr const char* kUpdateWriting = QT_TRANSLATE_NOOP("status", "Update process:Writing ROM.......");
inline constexpr const char* kUpdateVerifying = QT_TRANSLATE_NOOP("status", "Verrify update data...");
inline constexpr const char* kUpdateFinished = QT_TRANSLATE_NOOP("status", "Update hardware finished");
inline constexpr const char* kTesting = QT_TRANSLATE_NOOP("status", "Testing rotate speed..");
// Speed mode, but no speed answer from the ESC for half a second.
inline constexpr const char* kSpeedAnswersStopped = QT_TRANSLATE_NOOP("status", "ESC speed answers stopped");
}  // namespace status

// The watchdog's report, also shown when the port in use goes away.
inline constexpr const char* kHardwareNotConnect = QT_TRANSLATE_NOOP("box_text", "Hardware not connect or Comm port select error");

namespace box_title {
inline constexpr const char* kCommError = QT_TRANSLATE_NOOP("box_title", "Comm error");
inline constexpr const char* kError = QT_TRANSLATE_NOOP("box_title", "Error");
inline constexpr const char* kPrompt = QT_TRANSLATE_NOOP("box_title", "Prompt");
inline constexpr const char* kRequire = QT_TRANSLATE_NOOP("box_title", "Require");
}  // namespace box_title
