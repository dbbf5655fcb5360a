#pragma once

#include <cstdio>
#include <filesystem>

namespace lorvex {

// fopen for a path of any letters: on Windows through the wide-character call, so names beyond the
// ANSI code page open too.
std::FILE* openFile(const std::filesystem::path& path, const char* mode);

}  // namespace lorvex
