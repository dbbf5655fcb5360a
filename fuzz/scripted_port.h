#pragma once

// Serial ports for the fuzz targets: the register's side is the fuzz input itself.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "link/frame.h"
#include "link/serial_port.h"

namespace lorvex::fuzz {

// Hands out the scripted bytes a few at a time, then stays silent (or fails, like a pulled-out
// adapter). Everything the PC writes is taken and dropped.
class ScriptedPort final : public SerialPort {
  public:
    ScriptedPort(const std::uint8_t* data, std::size_t size, std::size_t chunk, bool failAtEnd)
        : bytes_(data, data + size),
          chunk_(std::max<std::size_t>(chunk, 1)),
          failAtEnd_(failAtEnd) {}

    bool writeBytes(const std::uint8_t*, std::size_t) override { return !failing(); }
    std::size_t readAvailable(std::uint8_t* buffer, std::size_t most) override {
        const std::size_t count = std::min({chunk_, most, bytes_.size() - position_});
        if (count > 0) std::memcpy(buffer, bytes_.data() + position_, count);
        position_ += count;
        return count;
    }
    WaitResult waitReadable(std::uint32_t) override {
        if (position_ < bytes_.size()) return WaitResult::Ready;
        return failAtEnd_ ? WaitResult::Failed : WaitResult::TimedOut;
    }
    void flushOutput() override {}
    void setDtr(int) override {}
    void setRts(int) override {}
    int readModemLines() override { return 0; }

  private:
    bool failing() const { return failAtEnd_ && position_ >= bytes_.size(); }

    std::vector<std::uint8_t> bytes_;
    std::size_t position_ = 0;
    std::size_t chunk_;
    bool failAtEnd_;
};

// A stand-in register that keeps to the protocol and answers every request with the same text:
// ACK to an enquiry, the answer frame after each frame of the PC, EOT after the PC's ACK.
class AnsweringPort final : public SerialPort {
  public:
    explicit AnsweringPort(std::string answer) : answer_(std::move(answer)) {}

    bool writeBytes(const std::uint8_t* data, std::size_t count) override {
        for (std::size_t i = 0; i < count; ++i) take(data[i]);
        return true;
    }
    std::size_t readAvailable(std::uint8_t* buffer, std::size_t most) override {
        const std::size_t count = std::min(most, outbound_.size() - position_);
        if (count > 0) std::memcpy(buffer, outbound_.data() + position_, count);
        position_ += count;
        if (position_ == outbound_.size()) {
            outbound_.clear();
            position_ = 0;
        }
        return count;
    }
    WaitResult waitReadable(std::uint32_t) override {
        return position_ < outbound_.size() ? WaitResult::Ready : WaitResult::TimedOut;
    }
    void flushOutput() override {}
    void setDtr(int) override {}
    void setRts(int) override {}
    int readModemLines() override { return 0; }

  private:
    void send(std::uint8_t byte) {
        // A run that keeps asking is served, but the script never grows without bound.
        if (outbound_.size() < kMostQueued) outbound_.push_back(byte);
    }
    void take(std::uint8_t byte) {
        if (checksumLeft_ > 0) {
            if (--checksumLeft_ == 0) {
                send(STX);
                for (const char c : answer_) send(static_cast<std::uint8_t>(c));
                send(ETX);
                for (const char c : std::string("0000")) send(static_cast<std::uint8_t>(c));
            }
            return;
        }
        if (inFrame_) {
            if (byte == ETX || byte == ETB) {
                inFrame_ = false;
                checksumLeft_ = 4;
            }
            return;
        }
        switch (byte) {
            case ENQ:
                send(ACK);
                break;
            case STX:
                inFrame_ = true;
                break;
            case ACK:
                send(EOT);
                break;
            default:
                break;
        }
    }

    static constexpr std::size_t kMostQueued = 1 << 16;
    std::string answer_;
    std::vector<std::uint8_t> outbound_;
    std::size_t position_ = 0;
    bool inFrame_ = false;
    int checksumLeft_ = 0;
};

}  // namespace lorvex::fuzz
