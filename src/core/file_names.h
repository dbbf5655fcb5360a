#pragma once

#include <filesystem>
#include <string>

namespace lorvex {

// The file a /F name stands for. A relative name is taken from the run's work directory.
//
// A backslash separates directories on every system, so "/Fdane\\dzialy.txt" and
// "/F\\srv\\kasa\\std.dat" name the same files on Windows and on Linux.
//
// On POSIX the command line arrives upper-cased, so "/Fdane.txt" comes as "DANE.TXT". Each part
// of the name that does not exist as written is matched without regard to ASCII letter case
// against the entries of its directory, so the user's dane.txt is found for a load, a dump and a
// product table alike. A part that matches nothing is used as given (a dump then creates
// DANE.TXT), and so is everything after it. On Windows the file system ignores case itself and
// the name is used as it is.
std::filesystem::path resolveFileName(const std::filesystem::path& workDir,
                                      const std::string& name);

}  // namespace lorvex
