#pragma once

#include <string>

namespace lorvex {

// printf-style formatting into a string of whatever length the values need.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace lorvex
