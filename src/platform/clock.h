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
};

class SystemClock final : public Clock {
  public:
    std::uint64_t nowMs() override;
    void sleepMs(std::uint32_t ms) override;
};

// A clock that only moves when someone sleeps on it or advances it.
class VirtualClock final : public Clock {
  public:
    std::uint64_t nowMs() override { return now_; }
    void sleepMs(std::uint32_t ms) override { now_ += ms; }
    void advanceTo(std::uint64_t ms) {
        if (ms > now_) now_ = ms;
    }

  private:
    std::uint64_t now_ = 0;
};

}  // namespace lorvex
