#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace lorvex {

// The text exchange file named by /F.
//
// Load: the file is read line by line. A line is at most 199 bytes; a longer one comes in pieces,
// each handled as a line. The line feed (and a CR before it) is taken off, so fields never carry it.
//
// Dump: lines are written to a temporary file in the same directory, which replaces the file
// only when the run commits it, so an interrupted or failed run never leaves a half-written file
// in place of the old one.
class ExchangeFile {
public:
    static std::unique_ptr<ExchangeFile> openForLoad(const std::filesystem::path& path);
    static std::unique_ptr<ExchangeFile> openForDump(const std::filesystem::path& path);
    ~ExchangeFile();
    ExchangeFile(const ExchangeFile&) = delete;
    ExchangeFile& operator=(const ExchangeFile&) = delete;

    // The next line without its line end; false at the end of the file. `hadLineFeed` tells
    // whether the line ended in a line feed (false for a piece of a long line and a last line
    // without one).
    bool readLine(std::string& line, bool* hadLineFeed = nullptr);

    void write(std::string_view text);
    // Dump: flushes the temporary file to disk and renames it over the file. False (the old file
    // kept, the temporary file removed) when anything could not be written.
    bool commit();
    // Dump: removes the temporary file and keeps the old file.
    void discard();
    bool writeFailed() const { return writeFailed_; }

private:
    ExchangeFile() = default;
    std::FILE* file_ = nullptr;
    std::filesystem::path path_;
    std::filesystem::path tempPath_;
    bool dump_ = false;
    bool writeFailed_ = false;
    bool finished_ = false;
};

}  // namespace lorvex
