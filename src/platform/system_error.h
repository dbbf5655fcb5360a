#pragma once

#include <string>

namespace lorvex {

// The operating system's words for an error code, without a closing full stop or line break:
// an errno value (runtime library calls, POSIX system calls).
std::string errnoText(int error);

#ifdef _WIN32
// The words for a GetLastError or WSAGetLastError code, as FormatMessage gives them.
std::string windowsErrorText(unsigned long error);
#endif

}  // namespace lorvex
