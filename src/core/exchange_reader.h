#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace lorvex {

// The text exchange file named by /F, read by a load line by line. A line is at most 199 bytes; a
// longer one comes in pieces, each handled as a line. The line feed (and a CR before it) is taken
// off, so fields never carry it; CR LF files load exactly like LF files on every platform, and a
// lone CR inside a line stays.
class ExchangeReader {
  public:
    static constexpr std::size_t kMaxLine = 199;

    // An existing file, read only. Null when it cannot be read (or is a pipe, a terminal or a
    // directory, which could never end or hold lines).
    static std::unique_ptr<ExchangeReader> open(const std::filesystem::path& path);
    ~ExchangeReader();
    ExchangeReader(const ExchangeReader&) = delete;
    ExchangeReader& operator=(const ExchangeReader&) = delete;

    // The file is UTF-8 while the run's text is code page 852: lines are converted and widths
    // count characters. A character that code page 852 cannot carry, or bytes that are not UTF-8
    // in its shortest form, read as 0xFF and make the line unsendable. A byte order mark at the
    // start of the file is passed over.
    void useUtf8() { utf8_ = true; }

    // The next line without its line end; false at the end of the file. `hadLineFeed` tells
    // whether the line ended in a line feed (false for a piece of a long line and a last line
    // without one).
    bool readLine(std::string& line, bool* hadLineFeed = nullptr);
    // True when the line last read must never reach the register (see useUtf8): the load that
    // would send it reports it instead.
    bool lineUnsendable() const { return lineUnsendable_; }
    // How far the reading is: the bytes handed out (as lines or passed over) of the file's size.
    std::uint64_t bytesTaken() const { return bytesRead_ - (end_ - start_); }
    std::uint64_t size() const { return size_; }
    // True when reading stopped on an error rather than at the end of the file.
    bool readFailed() const { return readFailed_; }

  private:
    ExchangeReader(std::FILE* file, std::uint64_t size);
    // Makes at least `wanted` bytes wait in the read-ahead; false at the end of the file.
    bool fill(std::size_t wanted);
    bool readRawLine(std::string& line, bool* hadLineFeed);
    // One UTF-8 character from the read-ahead, as its code page 852 byte; -1 when it has none.
    int takeUtf8Character();

    std::FILE* file_;
    bool utf8_ = false;
    bool atFileStart_ = true;
    bool lineUnsendable_ = false;
    bool readFailed_ = false;

    // Bytes [start_, end_) of buffer_ are not yet taken.
    std::vector<char> buffer_;
    std::size_t start_ = 0;
    std::size_t end_ = 0;
    bool endOfFile_ = false;
    std::uint64_t bytesRead_ = 0;
    std::uint64_t size_;
};

}  // namespace lorvex
