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
    bool silent = false;              // no ACK to the enquiry
    std::vector<std::string> blocks;  // dump: the answer texts, one frame each
    bool lastBlockEtb = false;        // dump: every block ends in ETB, then a bare EOT
    bool dropAfterBlocks = false;     // dump: the line goes quiet after the blocks
    std::string status;               // load: the status frame after the PC's EOT ("" none)

    static Reply answer(std::string text) { return {false, {std::move(text)}, false, false, {}}; }
    static Reply quiet() { return {true, {}, false, false, {}}; }
    static Reply accepted(std::string status = {}) {
        return {false, {}, false, false, std::move(status)};
    }
};

// A register played from a script: it answers the PC's enquiries and frames with the scripted
// replies in order and keeps every request and record the PC sent. Nothing here waits: silence
// is the absence of bytes, and the link's virtual clock runs out the time-outs.
class ScriptedRegister final : public SerialPort {
  public:
    std::deque<Reply> replies;
    std::vector<std::string> requests;
    std::vector<std::string> records;
    int enquiries = 0;

    bool writeBytes(const std::uint8_t* data, std::size_t count) override {
        for (std::size_t i = 0; i < count; ++i) take(data[i]);
        return true;
    }
    std::size_t readAvailable(std::uint8_t* buffer, std::size_t most) override {
        std::size_t n = 0;
        while (n < most && !out_.empty()) {
            buffer[n++] = out_.front();
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
    void take(std::uint8_t byte) {
        if (checksumLeft_ > 0) {
            if (--checksumLeft_ == 0) frameDone();
            return;
        }
        if (inFrame_) {
            if (byte == ETX) {
                inFrame_ = false;
                checksumLeft_ = 4;
            } else {
                frame_ += static_cast<char>(byte);
            }
            return;
        }
        if (byte == STX) {
            inFrame_ = true;
            frame_.clear();
        } else if (byte == ENQ) {
            ++enquiries;
            reply_ = replies.empty() ? Reply::quiet() : replies.front();
            if (!replies.empty()) replies.pop_front();
            active_ = !reply_.silent;
            expectRequest_ = true;
            if (active_) send(ACK);
        } else if (byte == EOT && active_ && loadRecordSeen_) {
            if (!reply_.status.empty()) sendFrame(reply_.status, ETX);
            send(EOT);
            active_ = false;
            loadRecordSeen_ = false;
        }
    }

    void frameDone() {
        if (!active_) return;
        if (expectRequest_) {
            expectRequest_ = false;
            requests.push_back(frame_);
            if (frame_.size() > 2 && frame_[2] == '0') {
                for (std::size_t i = 0; i < reply_.blocks.size(); ++i) {
                    const bool last = i + 1 == reply_.blocks.size();
                    sendFrame(reply_.blocks[i], last && !reply_.lastBlockEtb ? ETX : ETB);
                }
                if (!reply_.dropAfterBlocks) send(EOT);
                active_ = false;
            } else {
                send(ACK);
            }
            return;
        }
        records.push_back(frame_);
        loadRecordSeen_ = true;
        send(ACK);
    }

    void send(std::uint8_t byte) { out_.push_back(byte); }
    void sendFrame(const std::string& text, std::uint8_t end) {
        send(STX);
        for (const char c : text) send(static_cast<std::uint8_t>(c));
        send(end);
        for (const char c : std::string("0000")) send(static_cast<std::uint8_t>(c));
    }

    std::deque<std::uint8_t> out_;
    Reply reply_;
    bool active_ = false;
    bool inFrame_ = false;
    int checksumLeft_ = 0;
    std::string frame_;
    bool loadRecordSeen_ = false;
    bool expectRequest_ = false;
};

}  // namespace lorvex::testing
