#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "link/frame.h"
#include "link/serial_port.h"

namespace lorvex::testing {

// What the register does in one transaction.
struct Reply {
    std::vector<std::string> blocks;  // dump: the answer texts, one frame each
    bool allEtb = false;              // every block ends in ETB, then a bare EOT
    bool quietAfter = false;          // the line goes quiet after the blocks
    bool acknowledged = true;         // false: no ACK to the enquiry

    static Reply answer(std::string text) { return frames({std::move(text)}); }
    static Reply accepted() { return frames({}); }
    static Reply frames(std::vector<std::string> texts, bool allEtb = false,
                        bool quietAfter = false) {
        return {std::move(texts), allEtb, quietAfter, true};
    }
};

// A register played from a script, for dumps: each enquiry takes the next reply. Nothing here
// waits: silence is the absence of bytes, and the link's virtual clock runs out the time-outs.
class ScriptedRegister final : public SerialPort {
  public:
    std::deque<Reply> replies;
    int enquiries = 0;

    bool writeBytes(const std::uint8_t* data, std::size_t count) override {
        for (std::size_t i = 0; i < count; ++i) take(data[i]);
        return true;
    }
    std::size_t readAvailable(std::uint8_t* buffer, std::size_t most) override {
        std::size_t n = 0;
        for (; n < most && !out_.empty(); ++n) {
            buffer[n] = out_.front();
            out_.pop_front();
        }
        return n;
    }
    WaitResult waitReadable(std::uint32_t) override {
        return out_.empty() ? WaitResult::TimedOut : WaitResult::Ready;
    }
    void flushOutput() override {}
    void setDtr(int) override {}
    void setRts(int) override {}
    int readModemLines() override { return 0; }

  private:
    // The PC's frames are not read, only counted to their end: ETX and the four checksum bytes.
    void take(std::uint8_t byte) {
        if (frameLeft_ > 0) {
            if (--frameLeft_ == 0) answer();
        } else if (inFrame_ && byte == ETX) {
            inFrame_ = false;
            frameLeft_ = 4;
        } else if (byte == STX) {
            inFrame_ = true;
        } else if (byte == ENQ && !inFrame_) {
            ++enquiries;
            reply_ = Reply{};
            reply_.acknowledged = false;
            if (!replies.empty()) {
                reply_ = replies.front();
                replies.pop_front();
            }
            if (reply_.acknowledged) out_.push_back(ACK);
        }
    }
    void answer() {
        if (!reply_.acknowledged) return;
        for (std::size_t i = 0; i < reply_.blocks.size(); ++i) {
            const bool last = i + 1 == reply_.blocks.size();
            out_.push_back(STX);
            out_.insert(out_.end(), reply_.blocks[i].begin(), reply_.blocks[i].end());
            out_.push_back(last && !reply_.allEtb ? ETX : ETB);
            out_.insert(out_.end(), 4, '0');
        }
        if (!reply_.quietAfter) out_.push_back(EOT);
        reply_.acknowledged = false;
    }

    std::deque<std::uint8_t> out_;
    Reply reply_;
    bool inFrame_ = false;
    int frameLeft_ = 0;
};

}  // namespace lorvex::testing
