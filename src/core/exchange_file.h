#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lorvex {

// The text exchange file named by /F.
//
// Load: the file is read line by line. A line is at most 199 bytes; a longer one comes in pieces,
// each handled as a line. The line feed (and a CR before it) is taken off, so fields never carry
// it; CR LF files load exactly like LF files on every platform, and a lone CR inside a line stays.
//
// Dump: lines are written to a temporary file in the same directory, which replaces the file
// only when the run commits it, so an interrupted or failed run never leaves a half-written file
// in place of the old one. Lines end in LF on POSIX and in CR LF on Windows.
class ExchangeFile {
  public:
    static constexpr std::size_t kMaxLine = 199;

    // An existing file, read only. Null when it cannot be read (or is a pipe or a directory,
    // which could never end or hold lines).
    static std::unique_ptr<ExchangeFile> openForLoad(const std::filesystem::path& path);
    // Null when the file could not be written: its directory is missing, or the file is
    // read-only or a directory. A character device (/dev/null) is written directly, there being
    // nothing to replace; a writable file in a directory that takes no new file is rewritten in
    // place on commit.
    static std::unique_ptr<ExchangeFile> openForDump(const std::filesystem::path& path);
    // A dump that was never committed is discarded: the old file stays.
    ~ExchangeFile();
    ExchangeFile(const ExchangeFile&) = delete;
    ExchangeFile& operator=(const ExchangeFile&) = delete;

    // The file is UTF-8 while the run's text is code page 852: lines are converted on the way in
    // and out, and widths count characters. A load line holding a character that code page 852
    // cannot carry (or bytes that are not UTF-8) is never handed out: `onUnsendableLine` is
    // called for it instead. A byte order mark at the start of the file is passed over.
    void useUtf8(std::function<void()> onUnsendableLine);

    // The next line without its line end; false at the end of the file. `hadLineFeed` tells
    // whether the line ended in a line feed (false for a piece of a long line and a last line
    // without one).
    bool readLine(std::string& line, bool* hadLineFeed = nullptr);
    // True when reading stopped on an error rather than at the end of the file.
    bool readFailed() const { return readFailed_; }

    void write(std::string_view text);
    // Dump: flushes the temporary file to disk and renames it over the file. False (the old file
    // kept, the temporary file removed) when anything could not be written. A load file has
    // nothing to commit and gives true.
    bool commit();
    // Dump: removes the temporary file and keeps the old file.
    void discard();
    bool writeFailed() const { return writeFailed_; }
    // Dump: whether any text was written.
    bool written() const { return written_; }

    // Where a dump is being written until it is committed (empty for a load or a device).
    const std::filesystem::path& temporaryPath() const { return tempPath_; }

  private:
    ExchangeFile() = default;
    bool fill(std::size_t wanted);
    void closeFile();

    bool readRawLine(std::string& line, bool* hadLineFeed);
    // One UTF-8 character from the read-ahead, as its code page 852 byte; -1 when it has none.
    int takeUtf8Character();

    std::FILE* file_ = nullptr;
    bool utf8_ = false;
    bool atFileStart_ = true;
    std::function<void()> onUnsendableLine_;
    std::filesystem::path path_;
    std::filesystem::path tempPath_;
    bool dump_ = false;
    enum class DumpMode {
        Replace,  // a temporary file renamed over the file on commit
        Device,   // a device (/dev/null) written as the lines come
        InPlace,  // the directory takes no new file: the lines wait in memory for the commit
    };
    DumpMode mode_ = DumpMode::Replace;
    std::string pending_;
    bool writeFailed_ = false;
    bool written_ = false;
    bool readFailed_ = false;
    bool finished_ = false;
    bool committed_ = false;

    // Read-ahead of a load: bytes [start_, end_) of buffer_ are not yet taken.
    std::vector<char> buffer_;
    std::size_t start_ = 0;
    std::size_t end_ = 0;
    bool endOfFile_ = false;
};

}  // namespace lorvex
