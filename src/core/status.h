#pragma once

namespace lorvex {

// What one exchange with the register ended with: 0 success, kNoAnswer when the register did not
// answer, otherwise a register code or one of the program's own codes below. Each code other than
// 0 becomes one numbered message of the error log.
using StatusCode = int;

inline constexpr StatusCode kNoAnswer = -1;
inline constexpr StatusCode kLinkLost = 99;
// A file or the port could not be opened, or a file could not be written.
inline constexpr StatusCode kOpenFailed = 61;
inline constexpr StatusCode kBadFileData = 63;
// A data answer that cannot be decoded (too short for its layout, or characters its fields cannot
// hold) is not written to the file; it is reported as a fault of the transmission.
inline constexpr StatusCode kUnreadableAnswer = kLinkLost;

// The exit codes of the program.
inline constexpr int kExitDone = 0;        // the job ran, a screen was shown, or no job
inline constexpr int kExitPortFailed = 1;  // the serial port could not be opened
inline constexpr int kExitFileFailed = 2;  // the /F file could not be opened, used or written

}  // namespace lorvex
