#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace lorvex {

// The text exchange file named by /F, written by a dump. The lines go to a temporary file in the
// same directory, which replaces the file only when the run commits it, so an interrupted or
// failed run never leaves a half-written file in place of the old one. Lines end in LF on POSIX
// and in CR LF on Windows.
class ExchangeWriter {
  public:
    // Null when the file could not be written: its directory is missing, or the file is
    // read-only or a directory. A character device (/dev/null) is written directly, there being
    // nothing to replace; a writable file in a directory that takes no new file is rewritten in
    // place on commit.
    static std::unique_ptr<ExchangeWriter> open(const std::filesystem::path& path);
    // A dump that was never committed is discarded: the old file stays.
    ~ExchangeWriter();
    ExchangeWriter(const ExchangeWriter&) = delete;
    ExchangeWriter& operator=(const ExchangeWriter&) = delete;

    // The run's text is code page 852; the file gets it as UTF-8.
    void useUtf8() { utf8_ = true; }

    void write(std::string_view text);
    // Whether any text was written.
    bool written() const { return written_; }

    // Flushes the temporary file to disk and renames it over the file. A failure (the old file
    // kept, the temporary file removed) carries the system's reason. Committing again gives the
    // first outcome.
    FileResult commit();
    // Removes the temporary file and keeps the old file.
    void discard();

    // Where the lines wait until they are committed (empty for a device or in place).
    const std::filesystem::path& temporaryPath() const { return tempPath_; }

  private:
    enum class Mode {
        Replace,  // a temporary file renamed over the file on commit
        Device,   // a device (/dev/null) written as the lines come
        InPlace,  // the directory takes no new file: the lines wait in memory for the commit
    };
    ExchangeWriter(Mode mode, std::filesystem::path path) : mode_(mode), path_(std::move(path)) {}
    FileResult finish();

    Mode mode_;
    std::filesystem::path path_;
    std::filesystem::path tempPath_;
    std::FILE* file_ = nullptr;
    std::string pending_;  // InPlace: everything written so far
    bool utf8_ = false;
    bool written_ = false;
    FileResult failure_;  // the first failure of a write or of the commit
    enum class State { Writing, Committed, Discarded } state_ = State::Writing;
};

}  // namespace lorvex
