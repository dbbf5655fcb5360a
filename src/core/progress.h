#pragma once

#include <cstdint>
#include <utility>

#include "platform/clock.h"
#include "platform/console.h"

namespace lorvex {

// The progress line of a run on stderr: once the run has taken more than a second, how far it is
// (items done of all, or the share of a file read), the time taken and the time still to go,
// redrawn a few times a second at most and erased at the end. Only on a terminal: in a pipe or a
// file nothing is written at all.
class Progress {
  public:
    enum class Unit { Items, Bytes };

    Progress(Console& console, Clock& clock) : console_(console), clock_(clock) {}
    ~Progress() { finish(); }
    // A moved run takes the line along; only one of them erases it.
    Progress(Progress&& other) noexcept
        : console_(other.console_),
          clock_(other.clock_),
          startMs_(other.startMs_),
          drawnMs_(other.drawnMs_),
          shown_(std::exchange(other.shown_, false)) {}
    Progress& operator=(Progress&&) = delete;

    void update(std::uint64_t done, std::uint64_t total, Unit unit = Unit::Items);
    // Erases the line.
    void finish();

  private:
    static constexpr std::uint64_t kQuietMs = 1000;
    static constexpr std::uint64_t kRedrawMs = 250;

    Console& console_;
    Clock& clock_;
    std::uint64_t startMs_ = clock_.nowMs();
    std::uint64_t drawnMs_ = 0;
    bool shown_ = false;
};

}  // namespace lorvex
