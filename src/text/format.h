#pragma once

#include <string>

namespace lorvex {

// printf-style formatting into a string of whatever length the values need.
#ifdef __MINGW32__
// MinGW's C++ runtime formats with its ANSI stdio, so check against that, not the MS runtime.
std::string format(const char* fmt, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));
#else
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
#endif

}  // namespace lorvex
