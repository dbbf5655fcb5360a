#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "link/serial_port.h"
#include "pc_events.h"
#include "platform/clock.h"

namespace lorvex::test {

// A register played from a script on the virtual clock. Each event the PC completes (see
// PcEventParser) takes the next reply of the script; its bytes become readable `delayMs` later,
// one after another like on a line. Without replies left the register stays silent.
class ScriptedPort final : public SerialPort {
  public:
    struct Reply {
        Reply(std::string replyBytes, std::uint32_t replyDelayMs = 0)
            : bytes(std::move(replyBytes)), delayMs(replyDelayMs) {}
        std::string bytes;
        std::uint32_t delayMs;
    };

    explicit ScriptedPort(VirtualClock& clock) : clock_(clock) {}

    void script(std::vector<Reply> replies) { replies_.assign(replies.begin(), replies.end()); }
    // Bytes the register sends unasked, `delayMs` from now.
    void sendLater(std::string_view bytes, std::uint32_t delayMs = 0);

    const std::vector<std::string>& events() const { return events_; }
    const std::vector<std::uint64_t>& eventTimes() const { return eventTimes_; }
    std::size_t bytesNotRead() const { return incoming_.size(); }

    // Writes fail (an adapter pulled out) once this many have gone through.
    int writesBeforeFailure = -1;
    bool failReads = false;
    int writeCalls = 0;
    int waitCalls = 0;
    int readCalls = 0;
    // The register's bytes follow each other this many ms apart (0: all at once).
    std::uint32_t msPerByte = 0;
    // Waits for several bytes: the most asked for, and the most the PC asked for beyond the end
    // of the frame on its way (it would wake that many bytes late).
    std::size_t mostAskedFor = 0;
    std::size_t mostPastFrameEnd = 0;

    bool writeBytes(const std::uint8_t* data, std::size_t count) override;
    std::size_t readAvailable(std::uint8_t* buffer, std::size_t most) override;
    WaitResult waitReadable(std::uint32_t timeoutMs) override;
    // Sleeps through the line time of all but the last of `count` bytes, as a real port does.
    WaitResult waitForBytes(std::size_t count, std::uint32_t timeoutMs) override;
    void flushOutput() override {}
    void setDtr(int) override {}
    void setRts(int) override {}
    int readModemLines() override { return 0; }

  private:
    struct Due {
        std::uint64_t at;
        std::uint8_t byte;
    };

    VirtualClock& clock_;
    std::deque<Reply> replies_;
    std::deque<Due> incoming_;
    PcEventParser parser_;
    std::vector<std::string> events_;
    std::vector<std::uint64_t> eventTimes_;
};

}  // namespace lorvex::test
