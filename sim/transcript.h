#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lorvex::sim {

enum class Side { Pc, Register };

struct TranscriptEntry {
    Side side = Side::Pc;
    std::uint64_t us = 0;  // when the byte arrived at the other end
    std::uint8_t byte = 0;
};

// Every byte on the line in both directions, with its time.
class Transcript {
  public:
    void add(Side side, std::uint64_t us, std::uint8_t byte) {
        entries_.push_back({side, us, byte});
    }
    const std::vector<TranscriptEntry>& entries() const { return entries_; }
    void clear() { entries_.clear(); }

    // All bytes one side sent, in order.
    std::string bytesFrom(Side side) const;
    // The texts of the frames one side sent (between STX and the ETX or ETB), in order.
    std::vector<std::string> framesFrom(Side side) const;
    // One line per run of bytes from one side: "   12.345 PC  <ENQ>", CP852 letters as UTF-8.
    std::string readable() const;

  private:
    std::vector<TranscriptEntry> entries_;
};

// A byte as the readable transcript shows it: control bytes by name in angle brackets, printable
// ASCII as it stands, Polish CP852 letters as UTF-8, anything else as <xx>.
std::string readableByte(std::uint8_t byte);
// The time of an entry as seconds with milliseconds, right-aligned: "   12.345".
std::string readableTime(std::uint64_t us);

// One line of a readable transcript for a run of bytes from one side.
std::string readableLine(Side side, std::uint64_t us, const std::string& bytes);

}  // namespace lorvex::sim
