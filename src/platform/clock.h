#pragma once

#include <cstdint>

namespace lorvex {

// Time as the program sees it. The real clock in the program; the virtual one in tests, so that
// the protocol's 5-second time-outs and pauses cost nothing.
class Clock {
  public:
    virtual ~Clock() = default;
    // Milliseconds from an arbitrary start, never going backwards.
    virtual std::uint64_t nowMs() = 0;
    virtual void sleepMs(std::uint32_t ms) = 0;
    // The time of day: milliseconds since 1970-01-01 00:00 UTC.
    virtual std::int64_t wallClockMs() = 0;
};

class SystemClock final : public Clock {
  public:
    std::uint64_t nowMs() override;
    void sleepMs(std::uint32_t ms) override;
    std::int64_t wallClockMs() override;
};

// A clock that only moves when someone sleeps on it or advances it.
class VirtualClock final : public Clock {
  public:
    std::uint64_t nowMs() override { return now_; }
    void sleepMs(std::uint32_t ms) override { now_ += ms; }
    // Always 2026-01-01 00:00 UTC, so whatever a run records of it is the same every time.
    std::int64_t wallClockMs() override { return kWallClockMs; }
    static constexpr std::int64_t kWallClockMs = 1767225600000;
    void advanceTo(std::uint64_t ms) {
        if (ms > now_) now_ = ms;
    }

  private:
    std::uint64_t now_ = 0;
};

}  // namespace lorvex
