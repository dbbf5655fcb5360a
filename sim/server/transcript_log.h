#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "sim/transcript.h"

namespace lorvex::sim {

// Writes the line's traffic to a file as it happens, one readable line per run of bytes from one
// side (a run ends when the other side speaks, after a frame's checksum, or after a pause).
class TranscriptLog {
  public:
    TranscriptLog() = default;
    ~TranscriptLog();
    TranscriptLog(const TranscriptLog&) = delete;
    TranscriptLog& operator=(const TranscriptLog&) = delete;

    // Opens the file for appending. False when it cannot.
    bool open(const std::string& path);
    bool isOpen() const { return file_ != nullptr; }
    void note(const std::string& text);
    void add(Side side, std::uint64_t us, std::uint8_t byte);
    // Ends the current run when nothing came for a while.
    void flushIfQuiet(std::uint64_t nowUs);
    void flush();

  private:
    std::FILE* file_ = nullptr;
    Side side_ = Side::Pc;
    std::uint64_t startUs_ = 0;
    std::uint64_t lastUs_ = 0;
    std::string run_;
    bool inFrame_ = false;
    int checksumLeft_ = -1;
};

}  // namespace lorvex::sim
