#pragma once

// The register played from a script on the virtual clock, for the link's unit tests, the record
// modules' tests and the fuzz targets. Header-only, so a unit test needs no library beyond the one
// it tests.
//
// What the PC writes becomes events: "ENQ", "ACK", "EOT", "ETB", "NAK", "FRAME:<text>" (or
// "BADSUM:<text>" when the checksum characters are wrong), "0xNN" for any other byte; the control
// lines add "DTR0"/"DTR1", "RTS0"/"RTS1" and "read" (a look at the modem lines). Each event of the
// PC takes the next reply of the script if it matches the reply's `on` (a prefix; empty: any
// event); with the script used up, the standing answers reply. A reply's bytes arrive `delayMs`
// after the event, `msPerByte` apart. Nothing to read is silence: a wait runs the clock out.
//
//     VirtualClock clock;
//     ScriptedPort port(clock);
//     port.script({{ack}, {registerFrame("DCfooter")}, {eot}});   // ACK, answer, EOT in turn
//     port.script(dumpTransaction({"DH01Chleb"}));                 // the same for one dump

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "link/frame.h"
#include "link/register_link.h"
#include "link/serial_port.h"
#include "platform/clock.h"
#include "platform/console.h"

namespace lorvex::test {

// The four checksum characters of a frame's text.
inline std::string checksumText(std::string_view text) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", static_cast<unsigned>(frameChecksum(text)));
    return digits;
}

// STX, the text, the closing byte (ETX or ETB) and the checksum, as the register sends a frame.
inline std::string registerFrame(std::string_view text, std::uint8_t end = ETX) {
    return std::string(1, static_cast<char>(STX)) + std::string(text) + static_cast<char>(end) +
           checksumText(text);
}

class ScriptedPort final : public SerialPort {
  public:
    struct Reply {
        Reply(std::string replyBytes, std::uint32_t replyDelayMs = 0, std::string replyOn = {})
            : bytes(std::move(replyBytes)), delayMs(replyDelayMs), on(std::move(replyOn)) {}
        std::string bytes;
        std::uint32_t delayMs;
        std::string on;  // the event it waits for (a prefix); events before it go unanswered
    };
    enum class Reads {
        Normal,
        Fail,           // the device fails every wait and read
        ReadyButEmpty,  // waits say bytes wait, reads give none (a hung-up pty, a line error)
    };

    explicit ScriptedPort(VirtualClock& clock) : clock_(clock) {}

    // Appends replies to the script.
    void script(const std::vector<Reply>& replies) {
        replies_.insert(replies_.end(), replies.begin(), replies.end());
    }
    // Once the script is used up, every event starting with `on` is answered with `bytes`.
    void always(std::string on, std::string bytes) {
        standing_.emplace_back(std::move(bytes), 0, std::move(on));
    }
    // Bytes the register sends unasked, `delayMs` from now; the line keeps their order.
    void sendLater(std::string_view bytes, std::uint32_t delayMs = 0) {
        std::uint64_t at = clock_.nowMs() + delayMs;
        if (!incoming_.empty()) at = std::max(at, incoming_.back().at);
        for (const char c : bytes) {
            incoming_.push_back({at, static_cast<std::uint8_t>(c)});
            at += msPerByte;
        }
    }

    const std::vector<std::string>& events() const { return events_; }
    const std::vector<std::uint64_t>& eventTimes() const { return eventTimes_; }
    int count(std::string_view event) const {
        return static_cast<int>(std::count(events_.begin(), events_.end(), event));
    }

    // Faults: reads per `reads`; with `failWhenDrained` the device fails once every byte sent has
    // been read (an adapter pulled out at the end of the script).
    Reads reads = Reads::Normal;
    bool failWhenDrained = false;
    std::size_t mostPerRead = std::numeric_limits<std::size_t>::max();
    std::uint32_t msPerByte = 0;
    // The modem lines shown, given the RTS pulses (raised, then dropped) so far.
    std::function<int(int rtsPulses)> modemLines = [](int) { return 0; };

    int waitCalls = 0;
    int readCalls = 0;
    // Waits for several bytes: the most asked for, and the most the PC asked for beyond the end of
    // the frame on its way (it would wake that many bytes late).
    std::size_t mostAskedFor = 0;
    std::size_t mostPastFrameEnd = 0;

    bool writeBytes(const std::uint8_t* data, std::size_t size) override {
        if (failing()) return false;
        for (std::size_t i = 0; i < size; ++i) take(data[i]);
        return true;
    }
    std::size_t readAvailable(std::uint8_t* buffer, std::size_t most) override {
        ++readCalls;
        if (reads != Reads::Normal) return 0;
        std::size_t got = 0;
        most = std::min(most, mostPerRead);
        while (got < most && !incoming_.empty() && incoming_.front().at <= clock_.nowMs()) {
            buffer[got++] = incoming_.front().byte;
            incoming_.pop_front();
        }
        return got;
    }
    WaitResult waitReadable(std::uint32_t timeoutMs) override {
        ++waitCalls;
        if (reads == Reads::Fail || failing()) return WaitResult::Failed;
        if (reads == Reads::ReadyButEmpty) return WaitResult::Ready;
        const std::uint64_t limit = clock_.nowMs() + timeoutMs;
        if (!incoming_.empty() && incoming_.front().at <= limit) {
            clock_.advanceTo(incoming_.front().at);
            return WaitResult::Ready;
        }
        clock_.advanceTo(limit);
        return WaitResult::TimedOut;
    }
    // Sleeps through the line time of all but the last of `size` bytes, as a real port does.
    WaitResult waitForBytes(std::size_t size, std::uint32_t timeoutMs) override {
        mostAskedFor = std::max(mostAskedFor, size);
        // What is still on its way up to the end of the nearest frame (its ETX or ETB and the
        // checksum), or all of it when no frame end is left to come.
        std::size_t frameEnd = std::max<std::size_t>(incoming_.size(), 1);
        for (std::size_t i = 0; i < incoming_.size(); ++i) {
            if (incoming_[i].byte == ETX || incoming_[i].byte == ETB) {
                frameEnd = i + 5;
                break;
            }
        }
        if (size > frameEnd) mostPastFrameEnd = std::max(mostPastFrameEnd, size - frameEnd);
        const std::uint64_t limit = clock_.nowMs() + timeoutMs;
        if (size > 1 && size - 1 <= incoming_.size()) {
            clock_.advanceTo(std::min(limit, incoming_[size - 2].at));
        }
        return waitReadable(static_cast<std::uint32_t>(limit - clock_.nowMs()));
    }
    void flushOutput() override {}
    void setDtr(int on) override { note((on & 0xFF) != 0 ? "DTR1" : "DTR0"); }
    void setRts(int on) override {
        const bool raised = (on & 0xFF) != 0;
        if (rts_ && !raised) ++rtsPulses_;
        rts_ = raised;
        note(raised ? "RTS1" : "RTS0");
    }
    int readModemLines() override {
        note("read");
        return modemLines(rtsPulses_);
    }

  private:
    struct Due {
        std::uint64_t at;
        std::uint8_t byte;
    };
    // Standing answers stop growing the line beyond this (a PC that keeps asking is served).
    static constexpr std::size_t kMostQueued = 1 << 16;

    bool failing() const { return failWhenDrained && incoming_.empty(); }

    void note(std::string event) {
        events_.push_back(std::move(event));
        eventTimes_.push_back(clock_.nowMs());
    }

    void take(std::uint8_t byte) {
        std::string event;
        if (!parse(byte, event)) return;
        note(event);
        if (!replies_.empty()) {
            if (event.rfind(replies_.front().on, 0) != 0) return;
            const Reply reply = replies_.front();
            replies_.pop_front();
            sendLater(reply.bytes, reply.delayMs);
            return;
        }
        for (const Reply& reply : standing_) {
            if (event.rfind(reply.on, 0) == 0 && incoming_.size() < kMostQueued) {
                sendLater(reply.bytes, reply.delayMs);
                return;
            }
        }
    }

    // One byte of the PC; true when it completed an event. A frame is whole four checksum
    // characters after its ETX.
    bool parse(std::uint8_t byte, std::string& event) {
        if (!frame_.empty() || byte == STX) {
            frame_ += static_cast<char>(byte);
            const std::size_t end = frame_.size() < 6 ? 0 : frame_.size() - 5;
            if (end == 0 || frame_[end] != static_cast<char>(ETX)) return false;
            const std::string text = frame_.substr(1, end - 1);
            event = (frame_.substr(end + 1) == checksumText(text) ? "FRAME:" : "BADSUM:") + text;
            frame_.clear();
            return true;
        }
        static constexpr std::pair<std::uint8_t, const char*> kNames[] = {
            {ENQ, "ENQ"}, {ACK, "ACK"}, {EOT, "EOT"}, {ETB, "ETB"}, {NAK, "NAK"}};
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", byte);
        event = hex;
        for (const auto& [code, name] : kNames) {
            if (code == byte) event = name;
        }
        return true;
    }

    VirtualClock& clock_;
    std::deque<Reply> replies_;
    std::vector<Reply> standing_;
    std::deque<Due> incoming_;
    std::vector<std::string> events_;
    std::vector<std::uint64_t> eventTimes_;
    std::string frame_;  // the PC's frame so far, from its STX
    bool rts_ = false;
    int rtsPulses_ = 0;
};

using Script = std::vector<ScriptedPort::Reply>;

// One dump transaction as the register plays it: ACK to the enquiry, then after the request the
// answer blocks (all but the last ending in ETB, or all of them with `allEtb`) and EOT, unless
// the line goes quiet after the blocks.
inline Script dumpTransaction(const std::vector<std::string>& blocks, bool allEtb = false,
                              bool quietAfter = false) {
    std::string answer;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        answer += registerFrame(blocks[i], allEtb || i + 1 < blocks.size() ? ETB : ETX);
    }
    if (!quietAfter) answer += static_cast<char>(EOT);
    return {{std::string(1, static_cast<char>(ACK)), 0, "ENQ"}, {answer, 0, "FRAME:"}};
}

// The PC's link against a scripted register, on a terminal console (the spinner is counted).
struct LinkRig {
    explicit LinkRig(const Script& replies = {}, int traceLevel = 0)
        : link(port, clock, console, traceLevel) {
        port.script(replies);
    }
    VirtualClock clock;
    ScriptedPort port{clock};
    CapturingConsole console{true};
    RegisterLink link;
};

}  // namespace lorvex::test
