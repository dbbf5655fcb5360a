#include "link/register_link.h"

#include <algorithm>
#include <array>
#include <string>

#include "link/frame.h"
#include "link/link_limits.h"
#include "text/format.h"

namespace lorvex {

using namespace link_limits;

RegisterLink::RegisterLink(SerialPort& port, Clock& clock, Console& console, int traceLevel)
    : port_(port), clock_(clock), console_(console), traceLevel_(traceLevel) {}

void RegisterLink::trace(int level, std::string_view text, TextEncoding encoding) {
    if (traceLevel_ >= level) console_.print(text, encoding);
}

void RegisterLink::traceReceived(int byte, const char* controlFormat) {
    if (traceLevel_ < 4) return;
    const int shown = byte == kTimedOut ? kTimeoutMarker : byte;
    if (shown < 0x20 || shown > 0x80) {
        console_.print(format(controlFormat, shown), TextEncoding::Ascii);
    } else {
        console_.print(std::string(1, static_cast<char>(shown)), TextEncoding::Cp852);
    }
}

int RegisterLink::nextByte(std::size_t ahead) {
    if (ringRead_ != ringWrite_) {
        ringRead_ = (ringRead_ + 1) % kRingSize;
        return ring_[ringRead_];
    }
    port_.flushOutput();
    const std::uint64_t start = clock_.nowMs();
    for (;;) {
        port_.drainMessages();
        const std::uint64_t now = clock_.nowMs();
        const std::uint64_t elapsed = now > start ? now - start : 0;
        const bool lastLook = elapsed >= kByteTimeoutMs;
        const auto slice = static_cast<std::uint32_t>(
            lastLook ? 0 : std::min<std::uint64_t>(kWaitSliceMs, kByteTimeoutMs - elapsed));
        // The wait returns at once when bytes are already waiting, so each arrival costs one
        // wait and one read; inside a frame one wait covers several bytes.
        const WaitResult result =
            ahead > 1 ? port_.waitForBytes(ahead, slice) : port_.waitReadable(slice);
        if (result == WaitResult::Ready) {
            std::array<std::uint8_t, kBytesPerPoll> staging;
            const std::size_t got =
                std::min(port_.readAvailable(staging.data(), staging.size()), staging.size());
            if (got > 0) {
                // The ring is refilled only when empty, so unread bytes are never overwritten.
                for (std::size_t i = 0; i < got; ++i) {
                    ringWrite_ = (ringWrite_ + 1) % kRingSize;
                    ring_[ringWrite_] = staging[i];
                }
                ringRead_ = (ringRead_ + 1) % kRingSize;
                return ring_[ringRead_];
            }
        }
        if (lastLook) return kTimedOut;
        // Silence, a failing device, or one that says bytes wait and gives none: the time must
        // really pass, or such a device would be polled in a tight loop.
        const std::uint64_t after = clock_.nowMs();
        const std::uint64_t waited = after > now ? after - now : 0;
        if (result == WaitResult::Ready || waited < slice) {
            clock_.sleepMs(
                static_cast<std::uint32_t>(slice - std::min<std::uint64_t>(waited, slice)));
        }
    }
}

std::uint8_t RegisterLink::receiveByte() {
    const int byte = nextByte();
    return byte == kTimedOut ? kTimeoutMarker : static_cast<std::uint8_t>(byte);
}

bool RegisterLink::sendByte(std::uint8_t byte) {
    if (traceLevel_ >= 4) {
        if (byte < 0x20 || byte > 0x80) {
            console_.print(format("\n_>%d\n", byte), TextEncoding::Ascii);
        } else {
            console_.print(std::string(1, static_cast<char>(byte)), TextEncoding::Cp852);
        }
    }
    const std::uint64_t start = clock_.nowMs();
    for (;;) {
        port_.flushOutput();
        // A zero byte ends the text it would be sent from: nothing goes out.
        if (byte == 0 || port_.writeBytes(&byte, 1)) return true;
        const std::uint64_t now = clock_.nowMs();
        if (now >= start + kWriteRetryMs) return false;
        clock_.sleepMs(kWriteRetryPauseMs);
    }
}

bool RegisterLink::sendFrame(std::string_view whole) {
    // A zero byte cannot travel in a frame: the text ends there, for its bytes and its checksum.
    const std::string_view text = whole.substr(0, whole.find('\0'));
    showProgress();
    if (!sendByte(STX)) return false;
    for (const char c : text) {
        if (!sendByte(static_cast<std::uint8_t>(c))) return false;
    }
    if (!sendByte(ETX)) return false;
    const std::string checksum = format("%04X", static_cast<unsigned>(frameChecksum(text)));
    for (const char c : checksum) {
        if (!sendByte(static_cast<std::uint8_t>(c))) return false;
    }
    return true;
}

void RegisterLink::skipChecksum() {
    // The register's checksum is read and not verified.
    for (std::size_t left = kFrameTailBytes - 1; left > 0; --left) nextByte(left);
}

void RegisterLink::showProgress() {
    static constexpr char kMarks[] = "/-\\|";
    spinner_ = (spinner_ + 1) % 4;
    // Drawn for every byte received: nothing is built for a console that does not show it.
    if (!console_.isTerminal()) return;
    const char mark = kMarks[spinner_];
    console_.showSpinner(
        40, 11,
        sentRecordCount_ > 0 ? format("%c %d", mark, sentRecordCount_) : std::string(1, mark));
}

StatusCode RegisterLink::openTransaction(std::string_view request, Opening opening) {
    clock_.sleepMs(kPauseBeforeEnquiryMs);
    if (!sendByte(ENQ)) return kNoAnswer;
    const std::uint64_t start = clock_.nowMs();
    int stray = 0;
    for (;;) {
        if (opening == Opening::Answer) clock_.sleepMs(kPauseAwaitingAckMs);
        const int byte = nextByte();
        const int shown = byte == kTimedOut ? kTimeoutMarker : byte;
        switch (opening) {
            case Opening::Answer:
                if (traceLevel_ >= 4) trace(4, format("<<%d\n", shown));
                break;
            case Opening::Record:
                if (traceLevel_ >= 4) trace(4, format("<%c", shown), TextEncoding::Cp852);
                break;
            case Opening::Chained:
                if (traceLevel_ >= 4) trace(4, format("%d,", shown));
                break;
        }
        if (byte == ACK) break;
        if (byte == kTimedOut) return kNoAnswer;
        ++stray;
        if (stray > kMostStrayBytesBeforeAck || clock_.nowMs() > start + kMostAckWaitMs) {
            return kNoAnswer;
        }
    }
    return sendFrame(request) ? 0 : kNoAnswer;
}

}  // namespace lorvex
