#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace lorvex {

// The outcome of a file operation: success, or the system's own words for why it failed
// (strerror on POSIX, FormatMessage on Windows), so a caller can show them.
struct FileResult {
    std::string failure;  // empty on success
    bool ok() const { return failure.empty(); }
};

// fopen for a path of any letters: on Windows through the wide-character call, so names beyond the
// ANSI code page open too.
std::FILE* openFile(const std::filesystem::path& path, const char* mode);

// Writes all of `text`; a failure carries the system's reason.
FileResult writeAll(std::FILE* file, std::string_view text);
// Flushes and closes the file (null is a failure); a failure at any step carries its reason.
FileResult closeFile(std::FILE* file);

// A file created under a name no other entry had, open for writing in binary.
struct NewFile {
    std::FILE* file = nullptr;
    bool nameTaken = false;  // the name exists already: another may be tried
    std::string failure;
};
// Creates `path` exclusively. Where the system has them, the owner and permissions of `model`
// (the file the new one will replace, when it exists) are given to it, as far as the user may.
NewFile createNewFile(const std::filesystem::path& path, const std::filesystem::path& model);

// A new file beside `target` named ".<name>.lorvex-" and six random letters.
struct TemporaryFile {
    std::FILE* file = nullptr;
    std::filesystem::path path;
    std::string failure;
};
TemporaryFile createTemporaryBeside(const std::filesystem::path& target);

// The file a write must reach: symbolic links followed, also when the last one points to a file
// not created yet, since replacing the link itself would cut it off from the user's file.
std::filesystem::path writeTarget(std::filesystem::path path);

// Whether the user may write the file.
bool mayWrite(const std::filesystem::path& path);
// Whether the character device at `path` is one a load may read: one that ends at once.
bool isEmptyDevice(const std::filesystem::path& path);

// Flushes the file's buffers and has the system put its data on the disk.
FileResult syncToDisk(std::FILE* file);
// Puts `from` in the place of `to` in one step, so `to` is either the old or the new file, and
// has the change reach the disk.
FileResult replaceFile(const std::filesystem::path& from, const std::filesystem::path& to);

// Positions with offsets beyond 2 GiB; false for a position the system cannot take.
bool seekFile(std::FILE* file, std::uint64_t position);
bool fileSize(std::FILE* file, std::uint64_t& size);

// Whether text files of this system end their lines in CR LF (Windows) rather than LF.
bool textLinesEndInCrLf();

// Where the file system tells letter case apart (POSIX), each part of `path` that does not exist
// as written becomes the entry of its directory that matches it apart from ASCII letter case (the
// first in byte order when several do); a part that matches nothing is kept as written, and so
// is everything after it. Where it does not (Windows), the path is returned as it is.
std::filesystem::path matchLetterCase(const std::filesystem::path& path);

}  // namespace lorvex
