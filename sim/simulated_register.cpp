#include "sim/simulated_register.h"

#include <algorithm>

namespace lorvex::sim {

SimulatedRegister::SimulatedRegister(RegisterMemory memory)
    : model_(std::move(memory)), engine_(model_, faults_, *this) {}

void SimulatedRegister::setBaud(int baud) {
    // Start bit, eight data bits, stop bit.
    byteTimeUs_ = baud > 0 ? (10ull * 1000000ull + static_cast<std::uint64_t>(baud) - 1) /
                                 static_cast<std::uint64_t>(baud)
                           : 0;
}

void SimulatedRegister::record(Side side, std::uint64_t us, std::uint8_t byte) {
    if (keepTranscript_) transcript_.add(side, us, byte);
    if (listener_) listener_(side, us, byte);
}

std::uint64_t SimulatedRegister::fromPc(const std::uint8_t* data, std::size_t count,
                                        std::uint64_t nowUs) {
    std::uint64_t at = std::max(nowUs, inboundFreeUs_);
    for (std::size_t i = 0; i < count; ++i) {
        at += byteTimeUs_;
        inbound_.push_back({at, data[i]});
    }
    inboundFreeUs_ = at;
    return at;
}

void SimulatedRegister::advanceTo(std::uint64_t nowUs) {
    for (;;) {
        const std::optional<std::uint64_t> deadline = engine_.deadline();
        const bool byteDue = !inbound_.empty() && inbound_.front().us <= nowUs;
        const bool deadlineDue = deadline && *deadline <= nowUs;
        if (!byteDue && !deadlineDue) return;
        if (byteDue && (!deadlineDue || inbound_.front().us <= *deadline)) {
            const Timed next = inbound_.front();
            inbound_.pop_front();
            record(Side::Pc, next.us, next.byte);
            engine_.onByte(next.byte, next.us);
        } else {
            engine_.advanceTo(*deadline);
        }
    }
}

std::size_t SimulatedRegister::toPc(std::uint64_t nowUs, std::uint8_t* buffer, std::size_t most) {
    std::size_t count = 0;
    while (count < most && !outbound_.empty() && outbound_.front().us <= nowUs) {
        const Timed next = outbound_.front();
        outbound_.pop_front();
        record(Side::Register, next.us, next.byte);
        buffer[count++] = next.byte;
    }
    return count;
}

void SimulatedRegister::lineClosed() {
    inbound_.clear();
    outbound_.clear();
    engine_.abandon();
}

bool SimulatedRegister::outputDue(std::uint64_t nowUs) const {
    return !outbound_.empty() && outbound_.front().us <= nowUs;
}

std::optional<std::uint64_t> SimulatedRegister::nextEventUs() const {
    std::optional<std::uint64_t> next = engine_.deadline();
    auto consider = [&next](std::uint64_t us) {
        if (!next || us < *next) next = us;
    };
    if (!inbound_.empty()) consider(inbound_.front().us);
    if (!outbound_.empty()) consider(outbound_.front().us);
    return next;
}

std::uint64_t SimulatedRegister::send(std::string_view bytes, std::uint64_t atUs) {
    std::uint64_t at = std::max(atUs, outboundFreeUs_);
    for (const char c : bytes) {
        at += byteTimeUs_;
        outbound_.push_back({at, static_cast<std::uint8_t>(c)});
    }
    outboundFreeUs_ = at;
    return at;
}

void SimulatedRegister::dropPending(std::uint64_t atUs) {
    // Bytes already on their way stay; the ones not yet started are forgotten.
    while (!outbound_.empty() && outbound_.back().us > atUs + byteTimeUs_) outbound_.pop_back();
    outboundFreeUs_ = outbound_.empty() ? atUs : std::max(atUs, outbound_.back().us);
}

}  // namespace lorvex::sim
