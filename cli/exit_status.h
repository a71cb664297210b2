#pragma once
// The exit status of zelt-cli, for scripts that drive it.

namespace cli {

inline constexpr int kSuccess = 0;
inline constexpr int kDeviceFailed = 1;  // the card or the ESC said no, or did not answer
inline constexpr int kUsageOrFile = 2;   // a wrong command line, or a file that cannot be used
// A signal that ended a command gives 128 plus its number (130 for SIGINT,
// 143 for SIGTERM, 141 for a closed standard output under speed).

}  // namespace cli
