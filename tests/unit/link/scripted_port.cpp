#include "scripted_port.h"

#include <algorithm>

namespace lorvex::test {

void ScriptedPort::sendLater(std::string_view bytes, std::uint32_t delayMs) {
    std::uint64_t at = clock_.nowMs() + delayMs;
    // The line keeps its order: nothing overtakes bytes sent before.
    if (!incoming_.empty()) at = std::max(at, incoming_.back().at);
    for (const char c : bytes) {
        incoming_.push_back({at, static_cast<std::uint8_t>(c)});
        at += msPerByte;
    }
}

bool ScriptedPort::writeBytes(const std::uint8_t* data, std::size_t count) {
    ++writeCalls;
    if (writesBeforeFailure == 0) return false;
    if (writesBeforeFailure > 0) --writesBeforeFailure;
    for (std::size_t i = 0; i < count; ++i) {
        std::string event;
        if (!parser_.feed(data[i], event)) continue;
        events_.push_back(event);
        eventTimes_.push_back(clock_.nowMs());
        if (replies_.empty()) continue;
        const Reply reply = replies_.front();
        replies_.pop_front();
        sendLater(reply.bytes, reply.delayMs);
    }
    return true;
}

std::size_t ScriptedPort::readAvailable(std::uint8_t* buffer, std::size_t most) {
    ++readCalls;
    if (failReads) return 0;
    std::size_t got = 0;
    while (got < most && !incoming_.empty() && incoming_.front().at <= clock_.nowMs()) {
        buffer[got++] = incoming_.front().byte;
        incoming_.pop_front();
    }
    return got;
}

WaitResult ScriptedPort::waitReadable(std::uint32_t timeoutMs) {
    ++waitCalls;
    if (failReads) return WaitResult::Failed;
    const std::uint64_t limit = clock_.nowMs() + timeoutMs;
    if (!incoming_.empty() && incoming_.front().at <= limit) {
        clock_.advanceTo(incoming_.front().at);
        return WaitResult::Ready;
    }
    clock_.advanceTo(limit);
    return WaitResult::TimedOut;
}

WaitResult ScriptedPort::waitForBytes(std::size_t count, std::uint32_t timeoutMs) {
    mostAskedFor = std::max(mostAskedFor, count);
    // What is still on its way up to the end of the nearest frame (its ETX or ETB and the
    // checksum), or all of it when no frame end is left to come.
    std::size_t frameEnd = std::max<std::size_t>(incoming_.size(), 1);
    for (std::size_t i = 0; i < incoming_.size(); ++i) {
        if (incoming_[i].byte == 0x03 || incoming_[i].byte == 0x17) {
            frameEnd = i + 5;
            break;
        }
    }
    if (count > frameEnd) mostPastFrameEnd = std::max(mostPastFrameEnd, count - frameEnd);
    const std::uint64_t limit = clock_.nowMs() + timeoutMs;
    if (count > 1 && count - 1 <= incoming_.size()) {
        clock_.advanceTo(std::min(limit, incoming_[count - 2].at));
    }
    return waitReadable(static_cast<std::uint32_t>(limit - clock_.nowMs()));
}

}  // namespace lorvex::test
